// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// Creates a fresh address database at filePath: both tables, the name index, the caller-number
// index and the one phone_setting row with the seed values. Never replaces an existing file; the file appears
// complete or not at all. On failure returns false and, when error is given, a readable text.
bool createAddressDatabase(const QString &filePath, QString *error = nullptr);

} // namespace dpx
