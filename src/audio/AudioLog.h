// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace dpx {
// The audio module's diagnostics; off unless enabled with QT_LOGGING_RULES="dpx.audio=true".
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
} // namespace dpx
