// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimConnection.h"

#include "sim/SimBoxState.h"

#include <algorithm>
#include <cstring>

namespace dpx {

SimConnection::SimConnection(std::shared_ptr<SimBoxState> state, std::shared_ptr<SimInputQueue> queue)
    : m_state(std::move(state))
    , m_queue(std::move(queue))
{
}

SimConnection::~SimConnection()
{
    std::lock_guard lock(m_state->mutex);
    m_queue->gone = true;
    m_queue->entries.clear();
    m_queue->changed.notify_all();
    std::erase(m_state->queues, m_queue);
}

int SimConnection::inputReportLength() const
{
    return sim::InputReportLength;
}

int SimConnection::outputReportLength() const
{
    return sim::OutputReportLength;
}

int SimConnection::write(const quint8 *data, int length)
{
    if (!data || length <= 0 || length > sim::OutputReportLength)
        return -1;
    return m_state->receive(*m_queue, data, length);
}

// Takes the first report whose time has come; a delayed reply does not hold back the
// reports queued after it. Waits on the queue's condition, never spins.
int SimConnection::read(quint8 *buffer, int capacity, int timeoutMs)
{
    if (!buffer || capacity <= 0)
        return -1;
    const bool waitForever = timeoutMs < 0;
    const SimClock::time_point deadline = SimClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock lock(m_state->mutex);
    SimInputQueue &queue = *m_queue;
    for (;;) {
        if (queue.gone)
            return -1;
        if (queue.failingReads > 0) {
            --queue.failingReads;
            return -1;
        }
        if (std::exchange(queue.woken, false))
            return 0;
        const SimClock::time_point now = SimClock::now();
        auto next = queue.entries.end();
        for (auto it = queue.entries.begin(); it != queue.entries.end(); ++it) {
            if (it->readyAt <= now) {
                next = it;
                break;
            }
            if (next == queue.entries.end() || it->readyAt < next->readyAt)
                next = it;
        }
        if (next != queue.entries.end() && next->readyAt <= now) {
            const int count = std::min<int>(capacity, int(next->report.size()));
            std::memcpy(buffer, next->report.constData(), size_t(count));
            queue.entries.erase(next);
            return count;
        }
        if (!waitForever && now >= deadline)
            return 0;
        const bool pending = next != queue.entries.end();
        if (waitForever && !pending)
            queue.changed.wait(lock);
        else if (waitForever)
            queue.changed.wait_until(lock, next->readyAt);
        else
            queue.changed.wait_until(lock, pending ? std::min(deadline, next->readyAt) : deadline);
    }
}

} // namespace dpx

namespace dpx {

void SimConnection::wake()
{
    std::lock_guard lock(m_state->mutex);
    m_queue->woken = true;
    m_queue->changed.notify_all();
}

} // namespace dpx
