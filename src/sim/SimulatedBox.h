// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <utility>

namespace dpx {

class SimTelephone;
struct SimBoxState;

// A HidTransport that behaves like the USB box with a simple telephone behind it.
// Thread-safe: connections are read on reader threads while the owner drives the box.
class SimulatedBox : public HidTransport {
    Q_OBJECT
public:
    static constexpr quint16 VendorId = 0x04D9;
    static constexpr quint16 ProductId = 0x2851;

    explicit SimulatedBox(QObject *parent = nullptr);
    ~SimulatedBox() override;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const QString &path) override;

    // Presence on the bus. plug()/unplug() emit devicesChanged(); open connections of an
    // unplugged box read and write -1 from then on.
    void plug();
    void unplug();
    bool isPlugged() const;
    QString devicePath() const;

    // Other HID interfaces listed around the box, for discovery tests.
    void setOtherDevices(const QList<HidDeviceInfo> &before, const QList<HidDeviceInfo> &after);

    // Box to PC: one event report (byte 1 = 0x43/0x45/0x47) carrying one to three pairs.
    void sendEvent(const QList<std::pair<quint8, quint8>> &pairs);
    // Box to PC: any input report, padded with 0xFF to the input report length.
    void sendReport(const QByteArray &report);

    // PC to box: every output report received, oldest first.
    QList<QByteArray> outputReports() const;
    QByteArray lastOutputReport() const;
    void clearOutputReports();

    // Fault injection for the reply path.
    struct Faults {
        bool dropReplies = false;     // commands get no reply
        bool corruptReplies = false;  // replies carry a wrong checksum
        int replyDelayMs = 0;         // replies become readable this late
        bool vanishOnNextCommand = false; // the box disappears when the next frame arrives
    };
    void setFaults(const Faults &faults);

    SimTelephone &telephone();

Q_SIGNALS:
    // Emitted on the owner's thread after an output report arrived.
    void outputReportReceived(const QByteArray &report);

private:
    std::shared_ptr<SimBoxState> m_state;
    std::unique_ptr<SimTelephone> m_telephone;
};

} // namespace dpx
