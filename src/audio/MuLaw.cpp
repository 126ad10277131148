// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MuLaw.h"

#include <algorithm>
#include <cmath>

namespace dpx::mulaw {

namespace {

constexpr int kClip = 8159;
constexpr int kBias = 33;

} // namespace

quint8 encode14(int linear14)
{
    const int sign = linear14 < 0 ? 0x80 : 0x00;
    const int magnitude = std::min(linear14 < 0 ? -linear14 : linear14, kClip) + kBias;
    // The biased magnitude lies in 33..8192; the segment is the place of its highest bit
    // above bit 5, the mantissa the 4 bits below that bit. Only the clipped 8192 overflows.
    if (magnitude > 0x1FFF)
        return quint8(~(sign | 0x7F));
    int segment = 0;
    while (magnitude >= (0x40 << segment))
        ++segment;
    const int code = (segment << 4) | ((magnitude >> (segment + 1)) & 0x0F);
    return quint8(~(sign | code));
}

int linear14FromFloat(float sample)
{
    if (std::isnan(sample))
        return 0;
    const double scaled = std::floor(double(sample) * 8192.0 + 0.5);
    return int(std::clamp(scaled, -8192.0, 8191.0));
}

qint16 decode(quint8 code)
{
    const int inverted = ~code & 0xFF;
    const int segment = (inverted >> 4) & 0x07;
    const int mantissa = inverted & 0x0F;
    const int magnitude = (((mantissa << 1) + kBias) << segment) - kBias;
    return qint16((inverted & 0x80 ? -magnitude : magnitude) * 4);
}

} // namespace dpx::mulaw
