// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceLog.h"

namespace dpx {
Q_LOGGING_CATEGORY(lcDevice, "dpx.device", QtFatalMsg)
} // namespace dpx
