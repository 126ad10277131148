// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/EventReport.h"

namespace dpx {

int EventReport::pairCountFor(quint8 typeByte)
{
    switch (typeByte) {
    case 0x43: return 1; // 'C'
    case 0x45: return 2; // 'E'
    case 0x47: return 3; // 'G'
    default: return 0;
    }
}

EventReport EventReport::parse(std::span<const quint8> report)
{
    EventReport event;
    if (report.size() < 2 || report[0] != ReportId)
        return event;
    const int count = pairCountFor(report[1]);
    // A truncated report is dropped whole rather than delivering part of it.
    if (count == 0 || report.size() < size_t(2 + 2 * count))
        return event;
    for (int i = 0; i < count; ++i)
        event.m_pairs[size_t(i)] = {report[size_t(2 + 2 * i)], report[size_t(3 + 2 * i)]};
    event.m_count = count;
    return event;
}

} // namespace dpx
