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

// Called by an owner of a QAudioSink after stopping it in its destructor. The players go when
// the program ends: Qt 6.4's PulseAudio back end closes its server connection at exit without
// holding its loop's lock, and aborts now and then when the stream just closed is still being
// wound up on that loop; a moment lets that finish.
void waitForOutputTeardown();

} // namespace dpx
