// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimBoxState.h"

#include "sim/SimTelephone.h"

#include <QMetaObject>

#include <thread>

namespace dpx {

void SimBoxState::broadcastLocked(const QByteArray &report, SimClock::time_point readyAt)
{
    for (const std::shared_ptr<SimInputQueue> &queue : queues) {
        queue->entries.push_back({report, readyAt});
        if (queue->entries.size() > size_t(QueueLimit))
            queue->entries.pop_front();
        queue->changed.notify_all();
    }
}

void SimBoxState::unplugLocked()
{
    plugged = false;
    for (const std::shared_ptr<SimInputQueue> &queue : queues) {
        queue->gone = true;
        queue->entries.clear();
        queue->changed.notify_all();
    }
    queues.clear();
    firmware.reset();
}

void SimBoxState::emitDevicesChangedLocked()
{
    if (owner)
        QMetaObject::invokeMethod(owner, [box = owner] { Q_EMIT box->devicesChanged(); }, Qt::QueuedConnection);
}

SimClock::time_point SimBoxState::waitForOutputSlot()
{
    SimClock::time_point slot;
    {
        std::lock_guard lock(mutex);
        if (!pacing)
            return SimClock::now();
        slot = std::max(SimClock::now(), nextOutputAt);
        nextOutputAt = slot + ReportTime;
    }
    std::this_thread::sleep_until(slot);
    return slot;
}

SimClock::time_point SimBoxState::answerTimeLocked(SimClock::time_point cause, int delayMs)
{
    const SimClock::time_point wanted = cause + std::chrono::milliseconds(delayMs);
    if (!pacing)
        return wanted;
    // One input report per report time, the first one report time after its cause.
    const SimClock::time_point at = std::max(wanted + ReportTime, nextInputAt);
    nextInputAt = at + ReportTime;
    return at;
}

void SimBoxState::sendReports(const QList<QByteArray> &reports)
{
    std::lock_guard lock(mutex);
    if (!plugged)
        return;
    const SimClock::time_point now = SimClock::now();
    for (const QByteArray &report : reports)
        broadcastLocked(report, now);
}

int SimBoxState::receive(const SimInputQueue &from, const quint8 *data, int length)
{
    const QByteArray report(reinterpret_cast<const char *>(data), length);
    int keyCode = -1;
    const SimClock::time_point onTheWire = waitForOutputSlot();
    {
        std::lock_guard lock(mutex);
        if (from.gone || !plugged)
            return -1;
        outputReports.append(report);
        while (outputReports.size() > outputReportLimit)
            outputReports.removeFirst();
        if (owner) {
            QMetaObject::invokeMethod(
                owner, [box = owner, report] { Q_EMIT box->outputReportReceived(report); }, Qt::QueuedConnection);
        }
        if (quint8(report.at(0)) == sim::FrameReportId && faults.vanishOnNextCommand) {
            faults.vanishOnNextCommand = false;
            unplugLocked();
            emitDevicesChangedLocked();
            return length;
        }
        if (faults.unplugAfterOutputReports > 0 && --faults.unplugAfterOutputReports == 0) {
            unplugLocked();
            emitDevicesChangedLocked();
            return length;
        }
        const sim::SimFirmware::Outcome outcome = firmware.receive(report);
        // Paced, the report took its slot on the wire however late this thread woke for it.
        const SimClock::time_point now = pacing ? onTheWire : SimClock::now();
        for (sim::SimFirmware::Answer answer : outcome.answers) {
            if (faults.dropReplies)
                continue;
            int delayMs = std::max(faults.replyDelayMs, 0) + answer.busyMs;
            if (answer.kind == sim::SimFirmware::AnswerKind::Reply) {
                if (faults.delayNextReplyMs > 0) {
                    delayMs += faults.delayNextReplyMs;
                    faults.delayNextReplyMs = 0;
                }
                if (faults.dropNextReplies > 0) {
                    --faults.dropNextReplies;
                    continue;
                }
                if (faults.corruptReplies) {
                    const int checksumIndex = quint8(answer.report.at(1)) & 0x1F;
                    answer.report[checksumIndex] = char(answer.report.at(checksumIndex) ^ 0xFF);
                }
            }
            broadcastLocked(answer.report, answerTimeLocked(now, delayMs));
        }
        keyCode = outcome.keyCode;
    }
    // The telephone answers a key through its display, outside the bus lock.
    if (keyCode >= 0) {
        std::lock_guard phoneLock(phoneMutex);
        if (telephone)
            telephone->pressKey(quint8(keyCode));
    }
    return length;
}

} // namespace dpx
