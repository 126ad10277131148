// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <span>

namespace dpx {

// Report lengths in bytes of one HID interface, counting the report ID byte, as the system's
// capabilities give them: the longest report of each kind plus one.
struct ReportLengths {
    int input = 0;
    int output = 0;
};

// Reads the longest input and output reports from a HID report descriptor. Malformed or
// truncated descriptors give what was understood before the damage; never reads past the end.
ReportLengths reportLengthsFromDescriptor(std::span<const quint8> descriptor);

} // namespace dpx
