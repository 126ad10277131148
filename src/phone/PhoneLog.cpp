// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/PhoneLog.h"

namespace dpx {
Q_LOGGING_CATEGORY(lcPhone, "dpx.phone", QtCriticalMsg)
} // namespace dpx
