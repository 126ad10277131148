// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <span>

namespace dpx {

struct EventPair {
    quint8 code = 0;
    quint8 value = 0;
    friend bool operator==(const EventPair &, const EventPair &) = default;
};

// An unsolicited event from the box: an input report with byte 0 = 0x01 and byte 1 =
// 0x43, 0x45 or 0x47, carrying one, two or three (code, value) pairs in bytes 2-3, 4-5, 6-7.
// Event reports carry no checksum.
class EventReport {
public:
    static constexpr quint8 ReportId = 0x01;

    // Whether byte 1 marks an event report, and how many pairs it carries (0 when not).
    static int pairCountFor(quint8 typeByte);

    // Parses one input report. Anything else (other ID, other byte 1, a report too short
    // for its pairs) gives an empty EventReport.
    static EventReport parse(std::span<const quint8> report);

    bool isEvent() const { return m_count > 0; }
    int count() const { return m_count; }
    const EventPair &operator[](int i) const { return m_pairs[size_t(i)]; }
    const EventPair *begin() const { return m_pairs.data(); }
    const EventPair *end() const { return m_pairs.data() + m_count; }

private:
    std::array<EventPair, 3> m_pairs{};
    int m_count = 0;
};

} // namespace dpx
