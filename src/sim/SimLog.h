// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace dpx {
// The simulated box's diagnostics; off unless enabled with QT_LOGGING_RULES="dpx.sim=true".
Q_DECLARE_LOGGING_CATEGORY(lcSim)
} // namespace dpx
