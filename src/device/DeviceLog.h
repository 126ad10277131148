// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace dpx {
// The device link's diagnostics; off unless enabled with QT_LOGGING_RULES="dpx.device=true".
Q_DECLARE_LOGGING_CATEGORY(lcDevice)
} // namespace dpx
