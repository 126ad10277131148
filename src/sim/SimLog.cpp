// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimLog.h"

namespace dpx {
Q_LOGGING_CATEGORY(lcSim, "dpx.sim", QtFatalMsg)
} // namespace dpx
