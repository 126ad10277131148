// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/AudioLog.h"

namespace dpx {
Q_LOGGING_CATEGORY(lcAudio, "dpx.audio", QtFatalMsg)
} // namespace dpx
