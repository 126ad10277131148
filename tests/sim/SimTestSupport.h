// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The PC's side of the link, written plainly for the tests: command frames and report reads.

#include "device/HidTransport.h"

#include <QByteArray>
#include <QList>

namespace dpx::test {

inline quint8 notSum(const QByteArray &bytes, int from, int to)
{
    quint8 sum = 0;
    for (int i = from; i < to; ++i)
        sum = quint8(sum + quint8(bytes.at(i)));
    return quint8(~sum);
}

// A 25-byte output report from the leading bytes given in hex, padded with 0xFF.
inline QByteArray outputReport(const QByteArray &hex)
{
    const QByteArray report = QByteArray::fromHex(hex);
    return report + QByteArray(25 - report.size(), char(0xFF));
}

// A 25-byte output report holding a frame of the given type and payload (given in hex).
inline QByteArray command(quint8 type, const QByteArray &payloadHex)
{
    const QByteArray payload = QByteArray::fromHex(payloadHex);
    const QByteArray frame = QByteArray(1, 0x01) + char(quint8(type << 5) | quint8(payload.size() + 2)) + payload;
    return outputReport((frame + char(notSum(frame, 1, int(frame.size())))).toHex());
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

} // namespace dpx::test
