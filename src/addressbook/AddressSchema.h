// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSqlDatabase;

namespace dpx {

// Creates a fresh address database at filePath: both tables, the name index, the duplicate index,
// the caller-number index and the one phone_setting row with the seed values. Never replaces an existing file; the file appears
// complete or not at all. On failure returns false and, when error is given, a readable text.
bool createAddressDatabase(const QString &filePath, QString *error = nullptr);

// The index the import's duplicate test seeks: the kDuplicateColumns in clause order (SQLite
// seeks it for "=" and "IS NULL" alike). Created with the schema; added when a file from before
// it is opened (nothing changes on a read-only file).
QString duplicateIndexStatement();
bool installDuplicateIndex(QSqlDatabase &db);

} // namespace dpx
