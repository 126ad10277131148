// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The PC's side of the link, written plainly for the tests: command frames, report reads and
// a small display that applies event pairs the way the program's display does.

#include "device/HidTransport.h"

#include <QByteArray>
#include <QList>

#include <utility>

namespace dpx::test {

using Pair = std::pair<quint8, quint8>;

inline quint8 notSum(const QByteArray &bytes, int from, int to)
{
    quint8 sum = 0;
    for (int i = from; i < to; ++i)
        sum = quint8(sum + quint8(bytes.at(i)));
    return quint8(~sum);
}

// A 25-byte output report holding a frame of the given type and payload.
inline QByteArray command(quint8 type, const QByteArray &payload)
{
    QByteArray report(25, char(0xFF));
    const int n = int(payload.size()) + 3;
    report[0] = 0x01;
    report[1] = char(quint8(type << 5) | quint8(n - 1));
    report.replace(2, payload.size(), payload);
    report[n - 1] = char(notSum(report, 1, n - 1));
    return report;
}

// A 25-byte output report from the leading bytes given in hex, padded with 0xFF.
inline QByteArray outputReport(const char *hex)
{
    QByteArray report = QByteArray::fromHex(hex);
    report.append(25 - report.size(), char(0xFF));
    return report;
}

inline int send(HidConnection &connection, const QByteArray &report)
{
    return connection.write(reinterpret_cast<const quint8 *>(report.constData()), int(report.size()));
}

// One input report, empty when none came within the time.
inline QByteArray receive(HidConnection &connection, int timeoutMs = 2000)
{
    quint8 buffer[64];
    const int n = connection.read(buffer, sizeof buffer, timeoutMs);
    return n > 0 ? QByteArray(reinterpret_cast<const char *>(buffer), n) : QByteArray();
}

// Every report that is readable now.
inline QList<QByteArray> drain(HidConnection &connection)
{
    QList<QByteArray> reports;
    for (QByteArray r = receive(connection, 0); !r.isEmpty(); r = receive(connection, 0))
        reports.append(r);
    return reports;
}

// The pairs of event reports, in order; fails on anything that is not an event report.
inline QList<Pair> eventPairs(const QList<QByteArray> &reports, bool *allEvents = nullptr)
{
    QList<Pair> pairs;
    bool ok = true;
    for (const QByteArray &r : reports) {
        const int count = r.size() == 8 && r.at(0) == 0x01
            ? (quint8(r.at(1)) == 0x43 ? 1 : quint8(r.at(1)) == 0x45 ? 2 : quint8(r.at(1)) == 0x47 ? 3 : 0)
            : 0;
        ok = ok && count > 0;
        for (int i = 0; i < count; ++i)
            pairs.append({quint8(r.at(2 + 2 * i)), quint8(r.at(3 + 2 * i))});
    }
    if (allEvents)
        *allEvents = ok;
    return pairs;
}

// The two display lines as the program keeps them: cell writes, blanking and string entry
// (which wraps from one line into the other).
class DisplayMirror {
public:
    QByteArray lines[2] = {QByteArray(16, ' '), QByteArray(16, ' ')};

    void apply(const QList<Pair> &pairs)
    {
        for (const Pair &p : pairs)
            apply(p.first, p.second);
    }

    void apply(quint8 code, quint8 value)
    {
        if (m_entry) {
            if (code == 0x80) {
                m_entry = false;
            } else if (value == 0x80) {
                put(code);
                m_entry = false;
            } else {
                put(code);
                put(value);
            }
            return;
        }
        if (code >= 0x20 && code <= 0x3F) {
            lines[(code >> 4) & 1][code & 0x0F] = char(value);
        } else if (code >= 0x40 && code <= 0x5F && value == 0xC0) {
            m_entry = true;
            m_line = (code >> 4) & 1;
            m_column = code & 0x0F;
        } else if (code >= 0x40 && code <= 0x5F && value == 0x80) {
            lines[(code >> 4) & 1].replace(code & 0x0F, 16 - (code & 0x0F), QByteArray(16 - (code & 0x0F), ' '));
        } else if ((code == 0x60 || code == 0x70) && value == 0xFF) {
            lines[code == 0x70 ? 1 : 0].fill(' ');
        } else if (code == 0x80 && (value & 0x08)) {
            lines[0].fill(' ');
            lines[1].fill(' ');
        }
    }

private:
    void put(quint8 c)
    {
        lines[m_line][m_column] = char(c);
        if (++m_column == 16) {
            m_column = 0;
            m_line ^= 1;
        }
    }
    bool m_entry = false;
    int m_line = 0;
    int m_column = 0;
};

} // namespace dpx::test
