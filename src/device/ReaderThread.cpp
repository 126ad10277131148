// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ReaderThread.h"

#include "device/DeviceLog.h"
#include "device/EventReport.h"
#include "device/HidTransport.h"

#include <QScopeGuard>

#include <algorithm>
#include <vector>

namespace dpx {

ReaderThread::ReaderThread(HidTransport &transport, const QString &devicePath, int readTimeoutMs,
                           QObject *parent)
    : QThread(parent)
    , m_transport(transport)
    , m_path(devicePath)
    , m_readTimeoutMs(std::max(1, readTimeoutMs))
{
    setObjectName(QStringLiteral("dpx-reader"));
}

ReaderThread::~ReaderThread()
{
    requestStop();
    wait();
}

void ReaderThread::requestStop()
{
    m_stop.store(true, std::memory_order_relaxed);
    const std::lock_guard lock(m_connectionMutex);
    if (m_connection)
        m_connection->wake();
}

void ReaderThread::run()
{
    const auto connection = m_transport.open(m_path);
    if (!connection) {
        qCDebug(lcDevice) << "reader cannot open" << m_path;
        Q_EMIT openFailed();
        return;
    }
    {
        const std::lock_guard lock(m_connectionMutex);
        m_connection = connection.get();
    }
    // The connection is forgotten (under the lock) before it closes, on every way out.
    const auto forget = qScopeGuard([this] {
        const std::lock_guard lock(m_connectionMutex);
        m_connection = nullptr;
    });
    Q_EMIT opened();
    // Room for a longer report than announced, so one is never split across two reads.
    std::vector<quint8> report(size_t(std::max(connection->inputReportLength(), 64)));
    while (!isStopRequested()) {
        const int length = connection->read(report.data(), int(report.size()), m_readTimeoutMs);
        if (length < 0) {
            qCDebug(lcDevice) << "reader: device gone" << m_path;
            Q_EMIT deviceGone();
            return;
        }
        if (length == 0)
            continue;
        const EventReport event = EventReport::parse(std::span(report.data(), size_t(length)));
        for (const EventPair &pair : event)
            Q_EMIT eventPair(pair.code, pair.value);
    }
}

} // namespace dpx
