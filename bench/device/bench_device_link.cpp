// SPDX-License-Identifier: GPL-3.0-or-later
// Event latency (box report -> pair handled on the main thread) and idle CPU of the reader,
// each beside the same path with a reader that polls without waiting and sleeps 10 ms.
#include "device/EventReport.h"
#include "device/HidTransport.h"
#include "device/ReaderThread.h"
#include "sim/SimulatedBox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace dpx;
using Clock = std::chrono::steady_clock;

namespace {

// The reference: one read attempt, and a 10 ms sleep whenever nothing was queued.
class SleepPollReader : public QThread {
    Q_OBJECT
public:
    SleepPollReader(HidTransport &transport, QString path)
        : m_transport(transport), m_path(std::move(path)) {}
    ~SleepPollReader() override { requestStop(); wait(); }
    void requestStop() { m_stop = true; }

Q_SIGNALS:
    void opened();
    void eventPair(quint8 code, quint8 value);

protected:
    void run() override
    {
        const auto connection = m_transport.open(m_path);
        if (!connection)
            return;
        Q_EMIT opened();
        quint8 report[64];
        while (!m_stop) {
            const int length = connection->read(report, sizeof report, 0);
            if (length < 0)
                return;
            if (length == 0) {
                QThread::msleep(10);
                continue;
            }
            for (const EventPair &pair : EventReport::parse(std::span(report, size_t(length))))
                Q_EMIT eventPair(pair.code, pair.value);
        }
    }

private:
    HidTransport &m_transport;
    QString m_path;
    std::atomic_bool m_stop{false};
};

double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Latency {
    double medianUs = 0;
    double p99Us = 0;
    double maxUs = 0;
};

// Sends one event at a time and waits on the main thread's event loop for its pair.
template <typename Reader>
Latency measureLatency(SimulatedBox &box, Reader &reader, int events)
{
    std::vector<double> samples;
    samples.reserve(size_t(events));
    Clock::time_point sentAt;
    int expected = -1;
    bool arrived = false;
    QObject receiver;
    QObject::connect(&reader, &Reader::eventPair, &receiver, [&](quint8 code, quint8 value) {
        if (int(code | value << 8) != expected)
            return;
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - sentAt).count());
        arrived = true;
    });
    for (int i = 0; i < events; ++i) {
        expected = i & 0xFFFF;
        arrived = false;
        sentAt = Clock::now();
        box.sendEvent({{quint8(expected & 0xFF), quint8(expected >> 8)}});
        while (!arrived)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[std::min(samples.size() - 1, size_t(q * double(samples.size())))]; };
    return {at(0.5), at(0.99), samples.back()};
}

template <typename Reader>
void waitOpened(Reader &reader)
{
    bool opened = false;
    QObject receiver;
    QObject::connect(&reader, &Reader::opened, &receiver, [&] { opened = true; });
    reader.start();
    while (!opened)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

template <typename Reader>
double measureIdleCpuMs(Reader &reader, int seconds)
{
    const double before = processCpuMs();
    QThread::sleep(unsigned(seconds)); // the main thread sleeps: only the reader runs
    return processCpuMs() - before;
}

int intOption(const QStringList &args, const QString &name, int fallback)
{
    const int at = int(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int events = intOption(args, QStringLiteral("--events"), 10'000);
    const int referenceEvents = intOption(args, QStringLiteral("--reference-events"), 2'000);
    const int idleSeconds = intOption(args, QStringLiteral("--idle-seconds"), 10);
    const int readTimeoutMs = intOption(args, QStringLiteral("--read-timeout"), ReaderThread::DefaultReadTimeoutMs);

    SimulatedBox box;
    box.plug();

    std::printf("bench_device_link: simulated box, pairs handed to the main thread by queued signal\n\n");
    Latency ours;
    double oursIdle = 0;
    {
        ReaderThread reader(box, box.devicePath(), readTimeoutMs);
        waitOpened(reader);
        ours = measureLatency(box, reader, events);
        oursIdle = measureIdleCpuMs(reader, idleSeconds);
    }
    Latency reference;
    double referenceIdle = 0;
    {
        SleepPollReader reader(box, box.devicePath());
        waitOpened(reader);
        reference = measureLatency(box, reader, referenceEvents);
        referenceIdle = measureIdleCpuMs(reader, idleSeconds);
    }

    std::printf("event latency, report written -> pair handled on the main thread\n");
    std::printf("  blocking reader (%d ms read timeout), %6d events: median %8.1f us  p99 %8.1f us  max %8.1f us"
                "   (target p99 <= 1000 us: %s)\n",
                readTimeoutMs, events, ours.medianUs, ours.p99Us, ours.maxUs, ours.p99Us <= 1000 ? "met" : "MISSED");
    std::printf("  reference 10 ms sleep-poll reader, %5d events: median %8.1f us  p99 %8.1f us  max %8.1f us\n",
                referenceEvents, reference.medianUs, reference.p99Us, reference.maxUs);
    std::printf("\nidle CPU of the process with the box present, over %d s\n", idleSeconds);
    std::printf("  blocking reader (%d ms read timeout): %7.2f ms   (target <= 5 ms: %s)\n", readTimeoutMs, oursIdle,
                oursIdle <= 5.0 ? "met" : "MISSED");
    std::printf("  reference sleep-poll reader:          %7.2f ms\n", referenceIdle);
    return 0;
}

#include "bench_device_link.moc"
