// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/UsbHidDevice.h"
#include "transfer/EepromLink.h"
#include "transfer/TransferPlan.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace dpx {

class BoxLink;
class HidTransport;

// Runs one transfer at a time on a worker thread and reports to the UI thread. The window,
// the factory default and the command line all start their work here. The reader of the
// main window is suspended once when a run starts and resumed exactly once after the worker
// has ended, on every path. Lives on the UI thread; every signal arrives there.
class TransferSession : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        HidTransport *transport = nullptr;
        UsbHidDevice::EventSink eventSink;   // events read by the worker go here, in order
        std::function<void()> suspendReader; // called on the UI thread
        std::function<void()> resumeReader;
    };
    static Hooks hooksFor(BoxLink &box);

    explicit TransferSession(Hooks hooks, QObject *parent = nullptr);
    // Cancels a running transfer and waits for its clean-up.
    ~TransferSession() override;

    bool isRunning() const;
    // Starts the plan; false (and nothing happens) while a run is going on.
    bool start(const TransferPlan &plan);
    // Asks the worker to stop; it notices within 50 ms and cleans up. Safe when idle.
    void cancel();
    // Cancels and waits until the worker has ended and the run is finished.
    void cancelAndWait();
    // Waits up to timeoutMs for the running worker; true when none runs any more.
    bool waitForIdle(int timeoutMs);

    // Shorter limits for tests.
    void setLimits(const EepromLink::Limits &limits) { m_limits = limits; }

Q_SIGNALS:
    void statusText(const QString &text);
    void message(const QString &text);
    void progress(const TransferProgress &progress);
    void runningChanged(bool running);
    void finished(const TransferOutcome &outcome);

private:
    void finishRun();
    void deliverPosted();

    Hooks m_hooks;
    EepromLink::Limits m_limits;
    std::atomic_bool m_abort{false};
    std::unique_ptr<QThread> m_worker;
    TransferOutcome m_outcome; // written by the worker, read after it ended
};

} // namespace dpx
