// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace dpx {

// One HID interface as the system lists it.
struct HidDeviceInfo {
    QString path;
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 releaseNumber = 0;
    // Changes when the device is plugged in again, even where the path comes back the same
    // (empty when the transport cannot tell).
    QString identity;
};

// An open HID interface. One thread may read while another writes, as with hidraw;
// every open connection receives its own copy of each input report.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    // Report lengths in bytes, counting the report ID in byte 0.
    virtual int inputReportLength() const = 0;
    virtual int outputReportLength() const = 0;

    // Writes one output report (data[0] is the report ID). Returns the bytes written, -1 on error.
    virtual int write(const quint8 *data, int length) = 0;

    // Waits up to timeoutMs (0 = poll) for one input report and copies it, report ID in byte 0.
    // Returns its length, 0 when none arrived in time, -1 when the device is gone.
    virtual int read(quint8 *buffer, int capacity, int timeoutMs) = 0;

    // Makes the read that is waiting now, or else the next one, return 0 at once, so a reader
    // can be stopped without waiting for its timeout. Callable from any thread.
    virtual void wake() = 0;
};

// A way to reach HID devices: the system's (hidapi) or the simulated box.
class HidTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Present interfaces in the system's enumeration order.
    virtual QList<HidDeviceInfo> enumerate() = 0;

    // Opens an interface by path; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidConnection> open(const QString &path) = 0;

Q_SIGNALS:
    // A HID device arrived or left. Emitted on the thread that owns the transport.
    void devicesChanged();
};

} // namespace dpx
