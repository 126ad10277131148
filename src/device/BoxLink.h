// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/UsbHidDevice.h"

#include <QObject>
#include <QString>

#include <memory>
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
    // Bound for SuspendReader's wait; a reader stops within one read timeout (200 ms).
    static constexpr int ReaderStopWaitMs = 2000;

    explicit BoxLink(HidTransport &transport, QObject *parent = nullptr);
    // Stops the reader (waiting for it) and closes the command device.
    ~BoxLink() override;

    // Runs discovery and remembers the box's path; false when no box is present.
    bool DetectBox();
    // Start-up: when the box is found, marks it present, posts boxFound() and starts the reader.
    void start();

    bool isPresent() const { return m_present; }
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
    // Posted (queued) when the box has just been found.
    void boxFound();
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
    void handleReaderGone();

    HidTransport &m_transport;
    UsbHidDevice m_command;
    QString m_path;
    bool m_present = false;
    bool m_suspended = false;
    std::unique_ptr<ReaderThread> m_reader;
    // Readers that did not stop within the bound; joined at destruction.
    std::vector<std::unique_ptr<ReaderThread>> m_retired;
};

} // namespace dpx
