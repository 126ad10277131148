// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a HID report descriptor: the length reader must stay inside them.
#include "device/ReportDescriptor.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<quint8> descriptor(data, data + size); // exact size, so ASan sees any overrun
    const dpx::ReportLengths lengths = dpx::reportLengthsFromDescriptor(descriptor);
    if (lengths.input < 0 || lengths.output < 0 || lengths.input > 65537 || lengths.output > 65537)
        __builtin_trap();
    return 0;
}
