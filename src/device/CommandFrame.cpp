// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/CommandFrame.h"

#include <algorithm>

namespace dpx {

bool CommandFrame::fits(std::span<const quint8> buffer) const
{
    return length >= MinLength && length <= MaxLength && length <= buffer.size();
}

bool CommandFrame::Prepare(std::span<quint8> buffer, quint8 type) const
{
    if (!fits(buffer))
        return false;
    std::fill_n(buffer.begin(), length, quint8(0xFF));
    buffer[0] = 0x01;
    buffer[1] = quint8(((type & 0x07) << 5) | ((length - 1) & 0x1F));
    return true;
}

bool CommandFrame::Seal(std::span<quint8> buffer) const
{
    if (!fits(buffer))
        return false;
    buffer[length - 1] = checksum(buffer.subspan(1, length - 2));
    return true;
}

quint8 CommandFrame::checksum(std::span<const quint8> bytes)
{
    quint8 sum = 0;
    for (quint8 b : bytes)
        sum = quint8(sum + b);
    return quint8(~sum);
}

CommandFrame::Buffer CommandFrame::build(quint8 type, std::span<const quint8> payload)
{
    Buffer buffer;
    buffer.fill(0xFF);
    CommandFrame frame;
    frame.length = quint32(payload.size() + MinLength);
    if (!frame.Prepare(buffer, type))
        return buffer; // payload too long for one report: an all-0xFF report, never a partial frame
    std::copy(payload.begin(), payload.end(), buffer.begin() + 2);
    frame.Seal(buffer);
    return buffer;
}

CommandFrame::Buffer CommandFrame::build(quint8 type, std::initializer_list<quint8> payload)
{
    return build(type, std::span<const quint8>(payload.begin(), payload.size()));
}

} // namespace dpx
