// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/UsbHidDevice.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <vector>

namespace dpx {

class HidTransport;
class ReaderThread;

// The box as the main window sees it: presence, the command device, and the event reader's
// life (start-up, arrival and removal, suspend/resume around an EEPROM transfer).
// Lives on the window's thread; every event pair arrives there through eventPair(), in order.
class BoxLink : public QObject {
    Q_OBJECT
public:
    // Bound for SuspendReader's wait; a stop request wakes the reader at once.
    static constexpr int ReaderStopWaitMs = 2000;
    // Waits before the next attempt to open a box that could not be opened; the last repeats.
    static constexpr int RetryDelaysMs[] = {1000, 2000, 5000, 10000};

    explicit BoxLink(HidTransport &transport, QObject *parent = nullptr);
    // Stops the reader (waiting for it) and closes the command device.
    ~BoxLink() override;

    // Runs discovery and remembers the box's path; false when no box is present.
    bool DetectBox();
    // Start-up: when the box is found, marks it present and starts the reader; boxFound()
    // follows once the reader has opened the box (boxUnreadable() when it cannot).
    void start();

    bool isPresent() const { return m_present; }
    // Present, but the last attempt to open it failed (a retry is due).
    bool isUnreadable() const { return m_unreadable; }
    int failedOpens() const { return m_failures; }
    QString devicePath() const { return m_path; }

    // Stops the reader and waits until it has ended, so that a transfer alone reads the replies.
    // The reader stays stopped (also across arrivals) until ResumeReader.
    void SuspendReader();
    // Lifts the suspension; starts a reader when none runs and the box is present.
    void ResumeReader();
    bool isReaderSuspended() const { return m_suspended; }
    bool isReaderRunning() const;

    // The window's device for commands (keys, dialling). Its event sink feeds eventPair().
    UsbHidDevice &commandDevice() { return m_command; }
    HidTransport &transport() const { return m_transport; }

    // A sink for another UsbHidDevice (the transfer's): pairs are queued to eventPair() on this
    // object's thread, in call order. Callable from any thread while this object lives.
    UsbHidDevice::EventSink eventSink();

public Q_SLOTS:
    // Arrival or removal of some HID device: the box-presence algorithm.
    void handleDeviceChange();

Q_SIGNALS:
    // The box has just been found and its reader listens (posted).
    void boxFound();
    // The box is there but cannot be opened (no access rights to its node, most often): sent
    // on the first failure of each presence; the link keeps retrying.
    void boxUnreadable();
    // The box is gone; emitted after the reader has stopped and the command device is closed.
    void boxLost();
    // A reader has opened its own connection and is listening (also after ResumeReader).
    void readerListening();
    // One (code, value) pair of an event report, on this object's thread, in report order.
    void eventPair(quint8 code, quint8 value);

private:
    void startReader();
    void stopReader();
    void postBoxFound();
    void boxArrived();
    void handleReaderOpened();
    void handleOpenFailed();
    void handleReaderGone();
    void retryLater();
    bool settleEndedReader();

    // Lets sinks on other threads reach this object only while it lives.
    struct SinkGuard {
        std::mutex mutex;
        BoxLink *link = nullptr;
    };

    HidTransport &m_transport;
    UsbHidDevice m_command;
    QString m_path;
    QString m_identity;
    bool m_present = false;
    bool m_foundPosted = false;  // boxFound() sent for this presence
    bool m_unreadable = false;
    int m_failures = 0;          // failed opens and reads in a row
    QTimer m_retryTimer;
    std::shared_ptr<SinkGuard> m_sinkGuard = std::make_shared<SinkGuard>();
    bool m_suspended = false;
    std::unique_ptr<ReaderThread> m_reader;
    // Readers that did not stop within the bound; joined at destruction.
    std::vector<std::unique_ptr<ReaderThread>> m_retired;
};

} // namespace dpx
