// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace dpx {
// Off unless enabled with QT_LOGGING_RULES="dpx.phone.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPhone)
} // namespace dpx
