// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"
#include "sim/SimTelephone.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <utility>

namespace dpx {

struct SimBoxState;

// A HidTransport that behaves like the USB box with a simple telephone behind it.
// Thread-safe: connections are read on reader threads while the owner drives the box.
// A new box is unplugged; plug() puts it on the bus.
class SimulatedBox : public HidTransport {
    Q_OBJECT
public:
    static constexpr quint16 VendorId = 0x04D9;
    static constexpr quint16 ProductId = 0x2851;
    static constexpr quint16 ReleaseNumber = 0x0100;
    static constexpr int InputReportLength = 8;
    static constexpr int OutputReportLength = 25;
    static constexpr int InputQueueLimit = 64; // per connection; the oldest report is dropped
    static constexpr int EepromSize = 64 * 65536;

    explicit SimulatedBox(QObject *parent = nullptr);
    ~SimulatedBox() override;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const QString &path) override;

    // Presence on the bus. plug()/unplug() emit devicesChanged(); open connections of an
    // unplugged box read and write -1 from then on. Plugging shows the clock on the telephone.
    void plug();
    void unplug();
    bool isPlugged() const;
    QString devicePath() const;

    // Other HID interfaces listed around the box, for discovery tests.
    void setOtherDevices(const QList<HidDeviceInfo> &before, const QList<HidDeviceInfo> &after);

    // Box to PC: one event report (byte 1 = 0x43/0x45/0x47) carrying one to three pairs
    // (more pairs go out as several reports of three).
    void sendEvent(const QList<std::pair<quint8, quint8>> &pairs);
    // Box to PC: any input report, cut or padded with 0xFF to the input report length.
    void sendReport(const QByteArray &report);

    // PC to box: every output report received, oldest first (the last setOutputReportLimit()
    // reports are kept; 100000 by default).
    QList<QByteArray> outputReports() const;
    QByteArray lastOutputReport() const;
    void clearOutputReports();
    void setOutputReportLimit(int count);

    // Fault injection for the reply path. A reply is a reply frame or the box's checksum frame
    // of a block the PC reads; data reports of that block are not replies. Events are never touched.
    struct Faults {
        bool dropReplies = false;     // the box sends nothing back (replies and read data)
        bool corruptReplies = false;  // replies carry a wrong checksum
        int replyDelayMs = 0;         // replies and read data become readable this late
        bool vanishOnNextCommand = false; // the box disappears when the next frame arrives
        int dropNextReplies = 0;       // only the next N replies are lost
        int corruptNextDataBlocks = 0; // the next N data blocks sent carry one wrong byte
        // One-shot faults of the EEPROM path.
        int delayNextReplyMs = 0;         // the next reply comes this late
        int unplugAfterOutputReports = 0; // the box is pulled after this many more output reports
        bool skipNextErase = false;       // the next erase is acknowledged but not done
        bool flipBitInNextStoredBlock = false; // the next block written is stored with a bad bit
    };
    void setFaults(const Faults &faults);
    Faults faults() const; // with what is left of the counts and one-shot flags

    // Report pacing as on the wire: one output and one input report per millisecond, an answer
    // one report time after its cause. Off by default, so tests run at full speed.
    void setPacing(bool on);
    // How long an erase keeps the box busy before it answers (0 by default).
    void setEraseTimeMs(int ms);

    // The EEPROM: 64 blocks of 64 KiB, 0xFF when erased. Writes through the protocol can only
    // clear bits, as in flash; these setters store the bytes as given.
    QByteArray eeprom() const;
    QByteArray eepromBytes(int offset, int length) const;
    void setEeprom(const QByteArray &image); // padded with 0xFF / cut to EepromSize
    void setEepromBytes(int offset, const QByteArray &bytes);

    // Switches the PC set through commands.
    bool linkOn() const;
    bool eepromAccessOn() const;
    bool ringEnabled() const;
    bool switch5On() const;

    SimTelephone &telephone();

Q_SIGNALS:
    // Emitted on the owner's thread after an output report arrived.
    void outputReportReceived(const QByteArray &report);

private:
    std::shared_ptr<SimBoxState> m_state;
    std::unique_ptr<SimTelephone> m_telephone;
};

} // namespace dpx
