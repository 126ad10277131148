// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

namespace dpx::VolumeSteps {

// One press of a volume button moves a tenth of the range. The sound server allows more than
// its normal maximum: Up from there sets the maximum and never lowers the volume, and Down
// never asks for a value above the maximum, which the mixer would refuse.
inline int step(int maximum)
{
    return maximum * 10 / 100;
}

inline int down(int current, int minimum, int maximum)
{
    if (current <= minimum)
        return minimum;
    return std::clamp(current - step(maximum), minimum, std::max(minimum, maximum));
}

inline int up(int current, int minimum, int maximum)
{
    if (current >= maximum)
        return std::max(current, maximum); // above the maximum: left where it is
    return std::clamp(current + step(maximum), minimum, maximum);
}

} // namespace dpx::VolumeSteps
