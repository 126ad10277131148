// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <memory>

namespace dpx::test {

// Scripted peer for UsbHidDevice tests: reports queued by the test are read one per call,
// writes are recorded. Single-threaded.
struct FakeLine {
    QList<QByteArray> inputs;
    QList<QByteArray> outputs;
    int readCalls = 0;
    int lastTimeoutMs = -1;
    bool gone = false;
    int failWritesAfter = -1; // writes beyond this many fail
};

class FakeConnection : public HidConnection {
public:
    FakeConnection(std::shared_ptr<FakeLine> line, int inLength, int outLength)
        : m_line(std::move(line)), m_in(inLength), m_out(outLength) {}
    int inputReportLength() const override { return m_in; }
    int outputReportLength() const override { return m_out; }
    int write(const quint8 *data, int length) override
    {
        if (m_line->gone || (m_line->failWritesAfter >= 0 && m_line->outputs.size() >= m_line->failWritesAfter))
            return -1;
        m_line->outputs.append(QByteArray(reinterpret_cast<const char *>(data), length));
        return length;
    }
    int read(quint8 *buffer, int capacity, int timeoutMs) override
    {
        ++m_line->readCalls;
        m_line->lastTimeoutMs = timeoutMs;
        if (m_line->gone)
            return -1;
        if (m_line->inputs.isEmpty())
            return 0;
        const QByteArray report = m_line->inputs.takeFirst();
        const int n = std::min(capacity, int(report.size()));
        std::copy_n(report.constData(), n, reinterpret_cast<char *>(buffer));
        return n;
    }

private:
    std::shared_ptr<FakeLine> m_line;
    int m_in;
    int m_out;
};

class FakeTransport : public HidTransport {
public:
    QList<HidDeviceInfo> devices;
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    QStringList opened;
    int inLength = 8;
    int outLength = 25;

    QList<HidDeviceInfo> enumerate() override { return devices; }
    std::unique_ptr<HidConnection> open(const QString &path) override
    {
        opened.append(path);
        const bool known = std::any_of(devices.begin(), devices.end(),
                                       [&](const HidDeviceInfo &d) { return d.path == path; });
        if (!known)
            return nullptr;
        return std::make_unique<FakeConnection>(line, inLength, outLength);
    }
    void addBox(const QString &path, quint16 release = 0x0100)
    {
        devices.append({path, 0x04D9, 0x2851, release});
    }
};

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace dpx::test
