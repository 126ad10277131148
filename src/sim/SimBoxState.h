// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Internal to the simulated box: the state that the box, its connections and its telephone
// share. Connections hold it by shared_ptr, so they outlive the box safely.

#include "sim/SimFirmware.h"
#include "sim/SimulatedBox.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace dpx {

using SimClock = std::chrono::steady_clock;

// The input reports waiting for one open connection (hidraw keeps a bounded list per reader).
struct SimInputQueue {
    struct Entry {
        QByteArray report;
        SimClock::time_point readyAt;
    };
    std::deque<Entry> entries;
    std::condition_variable changed;
    bool gone = false; // unplugged, box destroyed or connection closed
};

struct SimBoxState {
    static constexpr int QueueLimit = 64;

    mutable std::mutex mutex; // guards everything below except the telephone
    bool plugged = false;
    QList<HidDeviceInfo> devicesBefore;
    QList<HidDeviceInfo> devicesAfter;
    std::vector<std::shared_ptr<SimInputQueue>> queues;
    QList<QByteArray> outputReports;
    qsizetype outputReportLimit = 100000;
    SimulatedBox::Faults faults;
    bool pacing = false;
    SimClock::time_point nextOutputAt; // paced: the earliest time the next output report is taken
    SimClock::time_point nextInputAt;  // paced: the earliest time the next answer is readable
    sim::SimFirmware firmware;
    SimulatedBox *owner = nullptr; // cleared when the box is destroyed

    // Guards the telephone's model and its lifetime; taken before `mutex`, never after it.
    std::recursive_mutex phoneMutex;
    SimTelephone *telephone = nullptr;

    static constexpr std::chrono::milliseconds ReportTime{1};

    // Paced: waits (without the lock) until the bus takes the next output report; its slot.
    SimClock::time_point waitForOutputSlot();
    // When an answer caused now, `delayMs` late, becomes readable (with `mutex` held).
    SimClock::time_point answerTimeLocked(SimClock::time_point cause, int delayMs);

    // Called with `mutex` held.
    void broadcastLocked(const QByteArray &report, SimClock::time_point readyAt);
    void unplugLocked();
    void emitDevicesChangedLocked();

    // Takes `mutex`.
    void sendReports(const QList<QByteArray> &reports);

    // One output report from a connection: records it and lets the box answer.
    // Returns the bytes taken or -1 when the connection is gone.
    int receive(const SimInputQueue &from, const quint8 *data, int length);
};

} // namespace dpx
