// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/PcmConverter.h"

#include <QAudioFormat>

class QAudioDevice;

namespace dpx {

// Our PCM layout as Qt Multimedia names it (invalid for mu-law, which no device takes).
QAudioFormat toAudioFormat(const PcmFormat &format);

// The file's own rate and channels when the device takes them (the sound server then does
// any mixing and resampling); otherwise the device's preferred format, converted to here.
// Invalid when the device offers nothing usable.
PcmFormat chooseFormat(const QAudioDevice &device, int rate, int channels);

} // namespace dpx
