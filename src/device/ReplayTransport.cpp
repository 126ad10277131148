// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ReplayTransport.h"

#include <QElapsedTimer>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <optional>
#include <vector>

namespace dpx {

struct ReplayQueue {
    std::deque<QByteArray> reports;
    bool gone = false;
    bool listening = false; // has read at least once
    bool woken = false;     // the waiting (or next) read returns 0 at once
};

// Everything the connections share with the transport; they may outlive it.
struct ReplayState {
    std::mutex mutex;
    std::condition_variable changed;
    HidTrace trace;
    double speed = 1.0;
    bool holdAtMarks = false;
    qsizetype next = 0; // the next line of the trace to happen
    QElapsedTimer clock;
    qint64 anchorWallUs = 0;  // when the last line happened...
    qint64 anchorTraceUs = 0; // ...and its recorded time
    qint64 waitingSinceUs = -1;
    std::optional<HidDeviceInfo> box;
    std::vector<std::shared_ptr<ReplayQueue>> queues;
    QByteArray lastWritten;
    QString failure;
    int inputLength = 8;
    int outputLength = 25;
    bool endSignalled = false;
    bool failureSignalled = false;
    // Asks the transport to look again on its own thread (and to announce a change of the
    // devices first); empty once the transport is gone.
    std::function<void(bool devicesChanged)> poke;

    qint64 nowUs() const { return clock.isValid() ? clock.nsecsElapsed() / 1000 : 0; }

    bool programSide(const HidTraceEvent &event) const
    {
        return event.kind == HidTraceEvent::Out || (event.kind == HidTraceEvent::Mark && holdAtMarks);
    }

    // A write the program never made, replayed without a script, is most often one that a
    // click in a window caused while recording: nothing makes that click now.
    QString missingWriteHint() const
    {
        if (holdAtMarks)
            return {};
        return QStringLiteral(" (a recording that included clicks in a window replays only with a "
                              "--sim-script that makes the same clicks; one of a command-line job, "
                              "only with the same job)");
    }

    // What the box does, under the lock. True when the set of devices changed.
    bool deliver(const HidTraceEvent &event)
    {
        switch (event.kind) {
        case HidTraceEvent::In:
            for (const auto &queue : queues) {
                if (int(queue->reports.size()) >= ReplayTransport::InputQueueLimit)
                    queue->reports.pop_front();
                queue->reports.push_back(event.report);
            }
            changed.notify_all();
            return false;
        case HidTraceEvent::Removed:
            box.reset();
            for (const auto &queue : queues)
                queue->gone = true;
            changed.notify_all();
            return true;
        case HidTraceEvent::Arrived:
            box = event.device;
            return true;
        default:
            return false;
        }
    }

    void fail(const QString &message)
    {
        if (!failure.isEmpty())
            return;
        failure = message;
        if (poke)
            poke(false); // the transport's advance() reports it
    }

    // The program did something (a write, or a script step reaching a mark): it must be the
    // next thing the trace has the program do. Box lines before it happen now.
    void meetProgram(const HidTraceEvent &actual)
    {
        if (!failure.isEmpty())
            return;
        qsizetype at = next;
        while (at < trace.events.size() && !programSide(trace.events.at(at)))
            ++at;
        if (at == trace.events.size()) {
            fail(QStringLiteral("after the last line of the trace, DPX did %1")
                     .arg(describeTraceEvent(actual)));
            return;
        }
        const HidTraceEvent &expected = trace.events.at(at);
        const bool same = expected.kind == actual.kind
            && (actual.kind == HidTraceEvent::Out ? expected.report == actual.report
                                                   : expected.note == actual.note);
        if (!same) {
            fail(QStringLiteral("line %1: the trace has %2, DPX did %3")
                     .arg(expected.line)
                     .arg(describeTraceEvent(expected), describeTraceEvent(actual)));
            return;
        }
        bool devicesChanged = false;
        for (qsizetype i = next; i < at; ++i)
            devicesChanged |= deliver(trace.events.at(i));
        next = at + 1;
        anchorWallUs = nowUs();
        anchorTraceUs = expected.timeUs;
        waitingSinceUs = -1;
        if (poke)
            poke(devicesChanged);
    }
};

namespace {

class ReplayConnection final : public HidConnection {
public:
    ReplayConnection(std::shared_ptr<ReplayState> state, std::shared_ptr<ReplayQueue> queue)
        : m_state(std::move(state)), m_queue(std::move(queue))
    {
    }
    ~ReplayConnection() override
    {
        std::lock_guard lock(m_state->mutex);
        std::erase(m_state->queues, m_queue);
    }
    int inputReportLength() const override { return m_state->inputLength; }
    int outputReportLength() const override { return m_state->outputLength; }

    int write(const quint8 *data, int length) override
    {
        if (!data || length <= 0)
            return -1;
        std::lock_guard lock(m_state->mutex);
        if (m_queue->gone)
            return -1;
        HidTraceEvent written;
        written.kind = HidTraceEvent::Out;
        written.report = QByteArray(reinterpret_cast<const char *>(data), length);
        m_state->lastWritten = written.report;
        m_state->meetProgram(written);
        return length;
    }

    int read(quint8 *buffer, int capacity, int timeoutMs) override
    {
        if (!buffer || capacity <= 0)
            return -1;
        std::unique_lock lock(m_state->mutex);
        m_queue->listening = true;
        const auto ready = [this] {
            return m_queue->gone || m_queue->woken || !m_queue->reports.empty();
        };
        if (timeoutMs < 0)
            m_state->changed.wait(lock, ready);
        else
            m_state->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        if (m_queue->gone)
            return -1;
        if (std::exchange(m_queue->woken, false) || m_queue->reports.empty())
            return 0;
        const QByteArray report = m_queue->reports.front();
        m_queue->reports.pop_front();
        const int count = std::min(capacity, int(report.size()));
        std::memcpy(buffer, report.constData(), size_t(count));
        return count;
    }

    void wake() override
    {
        std::lock_guard lock(m_state->mutex);
        m_queue->woken = true;
        m_state->changed.notify_all();
    }

private:
    std::shared_ptr<ReplayState> m_state;
    std::shared_ptr<ReplayQueue> m_queue;
};

} // namespace

ReplayTransport::ReplayTransport(HidTrace trace, double speed, QObject *parent)
    : HidTransport(parent), m_state(std::make_shared<ReplayState>())
{
    m_state->speed = speed > 0 ? speed : 1.0;
    m_state->box = trace.box;
    // Report lengths as the recorded box had them: the longest report each way.
    for (const HidTraceEvent &event : std::as_const(trace.events)) {
        if (event.kind == HidTraceEvent::In)
            m_state->inputLength = std::max(m_state->inputLength, int(event.report.size()));
        else if (event.kind == HidTraceEvent::Out)
            m_state->outputLength = std::max(m_state->outputLength, int(event.report.size()));
    }
    m_state->trace = std::move(trace);
    m_state->poke = [this](bool devicesChanged) {
        QMetaObject::invokeMethod(this, [this, devicesChanged] {
            if (devicesChanged)
                Q_EMIT this->devicesChanged();
            advance();
        }, Qt::QueuedConnection);
    };
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplayTransport::advance);
}

ReplayTransport::~ReplayTransport()
{
    std::lock_guard lock(m_state->mutex);
    m_state->poke = nullptr;
}

QList<HidDeviceInfo> ReplayTransport::enumerate()
{
    std::lock_guard lock(m_state->mutex);
    if (m_state->box)
        return {*m_state->box};
    return {};
}

std::unique_ptr<HidConnection> ReplayTransport::open(const QString &path)
{
    std::lock_guard lock(m_state->mutex);
    if (!m_state->box || m_state->box->path != path)
        return nullptr;
    auto queue = std::make_shared<ReplayQueue>();
    m_state->queues.push_back(queue);
    return std::make_unique<ReplayConnection>(m_state, queue);
}

void ReplayTransport::setHoldAtMarks(bool hold)
{
    std::lock_guard lock(m_state->mutex);
    m_state->holdAtMarks = hold;
}

bool ReplayTransport::hasMarks() const
{
    std::lock_guard lock(m_state->mutex);
    return std::any_of(m_state->trace.events.cbegin(), m_state->trace.events.cend(),
                       [](const HidTraceEvent &event) { return event.kind == HidTraceEvent::Mark; });
}

void ReplayTransport::passMark(const QString &note)
{
    if (!hasMarks())
        return;
    std::lock_guard lock(m_state->mutex);
    HidTraceEvent reached;
    reached.kind = HidTraceEvent::Mark;
    reached.note = note;
    m_state->meetProgram(reached);
}

bool ReplayTransport::isAwaitingProgram() const
{
    std::lock_guard lock(m_state->mutex);
    const ReplayState &s = *m_state;
    return !s.failure.isEmpty() || s.next >= s.trace.events.size() || s.programSide(s.trace.events.at(s.next));
}

void ReplayTransport::start()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->clock.start();
    }
    QMetaObject::invokeMethod(this, &ReplayTransport::advance, Qt::QueuedConnection);
}

QByteArray ReplayTransport::lastWrittenReport() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->lastWritten;
}

QString ReplayTransport::verdict() const
{
    std::lock_guard lock(m_state->mutex);
    if (!m_state->failure.isEmpty())
        return m_state->failure;
    for (qsizetype i = m_state->next; i < m_state->trace.events.size(); ++i) {
        const HidTraceEvent &event = m_state->trace.events.at(i);
        if (m_state->programSide(event))
            return QStringLiteral("line %1: the trace has %2, DPX did not do it%3")
                .arg(event.line)
                .arg(describeTraceEvent(event), m_state->missingWriteHint());
    }
    return {};
}

// Plays every box line whose time has come, then sleeps until the next one is due or until
// the program's next action counts as missing.
void ReplayTransport::advance()
{
    bool devicesChanged = false;
    int exitCode = -1;
    QString message;
    {
        std::lock_guard lock(m_state->mutex);
        ReplayState &s = *m_state;
        while (s.clock.isValid()) {
            if (!s.failure.isEmpty()) {
                if (!s.failureSignalled) {
                    s.failureSignalled = true;
                    exitCode = 1;
                    message = s.failure;
                }
                break;
            }
            if (s.next >= s.trace.events.size()) {
                if (!s.endSignalled) {
                    s.endSignalled = true;
                    exitCode = 0;
                }
                break;
            }
            const HidTraceEvent &event = s.trace.events.at(s.next);
            const qint64 now = s.nowUs();
            const qint64 due = s.anchorWallUs + qint64(double(event.timeUs - s.anchorTraceUs) / s.speed);
            const bool noReader = event.kind == HidTraceEvent::In
                && std::none_of(s.queues.cbegin(), s.queues.cend(), [](const auto &q) { return q->listening; });
            if (s.programSide(event) || (noReader && now >= due)) {
                if (s.waitingSinceUs < 0)
                    s.waitingSinceUs = std::max(now, due);
                const qint64 limit = s.waitingSinceUs + qint64(StallMs) * 1000;
                if (now >= limit) {
                    s.fail(noReader ? QStringLiteral("line %1: nothing reads the box's report %2")
                                          .arg(event.line).arg(describeTraceEvent(event))
                                    : QStringLiteral("line %1: the trace has %2, DPX did not do it within %3 ms%4")
                                          .arg(event.line).arg(describeTraceEvent(event)).arg(StallMs)
                                          .arg(s.missingWriteHint()));
                    continue;
                }
                m_timer.start(noReader ? 10 : int((limit - now) / 1000 + 1));
                break;
            }
            if (now < due) {
                m_timer.start(int((due - now + 999) / 1000));
                break;
            }
            devicesChanged |= s.deliver(event);
            ++s.next;
            s.anchorWallUs = now;
            s.anchorTraceUs = event.timeUs;
            s.waitingSinceUs = -1;
        }
    }
    if (devicesChanged)
        Q_EMIT this->devicesChanged();
    if (exitCode >= 0)
        Q_EMIT finished(exitCode, message);
}

} // namespace dpx
