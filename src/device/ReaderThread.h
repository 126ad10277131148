// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

namespace dpx {

class HidConnection;
class HidTransport;

// Picks up the box's unsolicited event reports on a connection of its own and hands every
// (code, value) pair on through eventPair(), in report order (queued to receivers on other
// threads). Reads block (an idle box costs no CPU); a stop request wakes the waiting read, so
// quitting, suspending and replugging never wait for a timeout. Other reports are ignored.
// Never touches a widget.
class ReaderThread : public QThread {
    Q_OBJECT
public:
    // Only a bound: a stop request wakes the read at once, so an idle reader need not come
    // round often.
    static constexpr int DefaultReadTimeoutMs = 1000;

    ReaderThread(HidTransport &transport, const QString &devicePath,
                 int readTimeoutMs = DefaultReadTimeoutMs, QObject *parent = nullptr);
    // Stops and waits for the thread.
    ~ReaderThread() override;

    // Thread-safe; a waiting read returns at once and the loop ends.
    void requestStop();
    bool isStopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    QString devicePath() const { return m_path; }

Q_SIGNALS:
    // The connection is open; reports from now on reach this reader.
    void opened();
    void eventPair(quint8 code, quint8 value);
    // The connection reported that the device is gone; the thread has ended.
    void deviceGone();
    // The device could not be opened; the thread ended without reading.
    void openFailed();

protected:
    void run() override;

private:
    HidTransport &m_transport;
    const QString m_path;
    const int m_readTimeoutMs;
    std::atomic_bool m_stop{false};
    std::mutex m_connectionMutex;
    HidConnection *m_connection = nullptr; // while open, for requestStop to wake it
};

} // namespace dpx
