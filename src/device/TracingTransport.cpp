// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/TracingTransport.h"

#include "device/BoxIdentity.h"

#include <QElapsedTimer>
#include <QFile>

#include <mutex>

namespace dpx {

// The trace file shared by the transport and its connections (which may outlive it).
struct TraceSink {
    std::mutex mutex;
    std::unique_ptr<QFile> ownedFile;
    QIODevice *device = nullptr;
    QElapsedTimer clock;
    qint64 lastUs = 0;
    QString error;

    void write(const HidTraceEvent &event)
    {
        std::lock_guard lock(mutex);
        append(event);
    }

    // With the mutex held.
    void append(HidTraceEvent event)
    {
        if (!device)
            return;
        event.timeUs = std::max(lastUs, clock.nsecsElapsed() / 1000);
        lastUs = event.timeUs;
        // Each line goes out at once, so a trace of a crash holds everything up to it.
        device->write(hidTraceLine(event));
        if (ownedFile)
            ownedFile->flush();
    }
};

namespace {

class TracingConnection final : public HidConnection {
public:
    TracingConnection(std::unique_ptr<HidConnection> inner, std::shared_ptr<TraceSink> sink)
        : m_inner(std::move(inner)), m_sink(std::move(sink))
    {
    }
    int inputReportLength() const override { return m_inner->inputReportLength(); }
    int outputReportLength() const override { return m_inner->outputReportLength(); }

    // The trace stays locked while the report goes out, so that a reply read on another
    // thread meanwhile is traced after the report that caused it.
    int write(const quint8 *data, int length) override
    {
        std::lock_guard lock(m_sink->mutex);
        const int written = m_inner->write(data, length);
        if (written > 0)
            m_sink->append(event(HidTraceEvent::Out, data, written));
        return written;
    }

    int read(quint8 *buffer, int capacity, int timeoutMs) override
    {
        const int count = m_inner->read(buffer, capacity, timeoutMs);
        if (count > 0)
            m_sink->write(event(HidTraceEvent::In, buffer, count));
        return count;
    }

    void wake() override { m_inner->wake(); }

private:
    static HidTraceEvent event(HidTraceEvent::Kind kind, const quint8 *data, int length)
    {
        HidTraceEvent event;
        event.kind = kind;
        event.report = QByteArray(reinterpret_cast<const char *>(data), length);
        return event;
    }

    std::unique_ptr<HidConnection> m_inner;
    std::shared_ptr<TraceSink> m_sink;
};

} // namespace

TracingTransport::TracingTransport(HidTransport &inner, const QString &traceFile,
                                   const QString &program, QObject *parent)
    : HidTransport(parent), m_inner(inner), m_sink(std::make_shared<TraceSink>())
{
    m_sink->ownedFile = std::make_unique<QFile>(traceFile);
    if (m_sink->ownedFile->open(QIODevice::WriteOnly | QIODevice::Truncate))
        m_sink->device = m_sink->ownedFile.get();
    else
        m_sink->error = m_sink->ownedFile->errorString();
    begin(program);
}

TracingTransport::TracingTransport(HidTransport &inner, QIODevice &trace, const QString &program,
                                   QObject *parent)
    : HidTransport(parent), m_inner(inner), m_sink(std::make_shared<TraceSink>())
{
    m_sink->device = &trace;
    begin(program);
}

TracingTransport::~TracingTransport() = default;

void TracingTransport::begin(const QString &program)
{
    m_box = findBox(m_inner.enumerate());
    if (m_sink->device) {
        m_sink->device->write(hidTraceHeader(program, m_box));
        m_sink->clock.start();
    }
    connect(&m_inner, &HidTransport::devicesChanged, this, [this] {
        notePresence(m_inner.enumerate());
        Q_EMIT devicesChanged();
    });
}

bool TracingTransport::isOpen() const
{
    return m_sink->device != nullptr;
}

QString TracingTransport::errorString() const
{
    return m_sink->error;
}

QList<HidDeviceInfo> TracingTransport::enumerate()
{
    const QList<HidDeviceInfo> devices = m_inner.enumerate();
    notePresence(devices);
    return devices;
}

std::unique_ptr<HidConnection> TracingTransport::open(const QString &path)
{
    std::unique_ptr<HidConnection> connection = m_inner.open(path);
    if (!connection)
        return nullptr;
    return std::make_unique<TracingConnection>(std::move(connection), m_sink);
}

void TracingTransport::mark(const QString &note)
{
    HidTraceEvent event;
    event.kind = HidTraceEvent::Mark;
    event.note = note.left(200);
    m_sink->write(event);
}

// Arrivals and removals as the enumeration shows them; the same box seen again is no change.
void TracingTransport::notePresence(const QList<HidDeviceInfo> &devices)
{
    const std::optional<HidDeviceInfo> box = findBox(devices);
    std::lock_guard lock(m_presenceMutex);
    if (box.has_value() == m_box.has_value() && (!box || box->path == m_box->path))
        return;
    if (m_box) {
        HidTraceEvent removed;
        removed.kind = HidTraceEvent::Removed;
        m_sink->write(removed);
    }
    if (box) {
        HidTraceEvent arrived;
        arrived.kind = HidTraceEvent::Arrived;
        arrived.device = *box;
        m_sink->write(arrived);
    }
    m_box = box;
}

} // namespace dpx
