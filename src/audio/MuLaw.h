// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace dpx::mulaw {

// The classic G.711 mu-law encoder on 14-bit input (-8192..8191): sign and magnitude, the
// magnitude clipped to 8159 and biased by 33, then 3 segment bits and 4 mantissa bits, all
// bits inverted. Negative inputs use their plain magnitude (-1 encodes as 0x7E), unlike
// encoders that take -v-1.
quint8 encode14(int linear14);

// A float sample to the encoder's 14-bit input: x * 8192 rounded half up, clipped to
// -8192..8191, as the common command-line converter rounds its samples (taking 16 bits first
// and dropping the low two would pull about 1 % of the codes one step down). NaN is silence.
int linear14FromFloat(float sample);

inline quint8 encodeFloat(float sample) { return encode14(linear14FromFloat(sample)); }

// The inverse of the encoder as a 16-bit sample (for previews and tests).
qint16 decode(quint8 code);

} // namespace dpx::mulaw
