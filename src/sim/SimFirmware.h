// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/SimFrames.h"

#include <QByteArray>
#include <QList>

namespace dpx::sim {

// The box's own logic for everything the PC writes: link and EEPROM switches, key, switch
// and ring-enable frames, and the EEPROM with its checked block transfers. Single-threaded;
// the simulated box calls it under its lock.
class SimFirmware {
public:
    static constexpr int BlockSize = 65536;
    static constexpr int BlockCount = 64;
    static constexpr int EepromSize = BlockSize * BlockCount;
    static constexpr int PageSize = 256;
    static constexpr int DataBlockSize = 128;
    static constexpr int DataBytesPerOutputReport = 24;
    static constexpr int DataBytesPerInputReport = 7;

    // A report the box sends back. Replies are reply frames and the box's block checksum frames;
    // data are report-ID-2 reports of a block the PC reads.
    enum class AnswerKind { Reply, Data };
    struct Answer {
        QByteArray report;
        AnswerKind kind = AnswerKind::Reply;
        int busyMs = 0; // the box works this long before the answer leaves (an erase)
    };

    struct Outcome {
        bool commandFrame = false; // a report-ID-1 frame with a good header and checksum
        QList<Answer> answers;
        int keyCode = -1; // 7-bit code of a key-press frame with good parity
    };

    SimFirmware();

    Outcome receive(const QByteArray &outputReport);

    // Power cycle: link and EEPROM access off, transfers abandoned; the memory keeps its content.
    void reset();

    QByteArray &memory() { return m_memory; }
    const QByteArray &memory() const { return m_memory; }

    bool linkOn() const { return m_linkOn; }
    bool eepromAccessOn() const { return m_eepromOn; }
    bool ringEnabled() const { return m_ringEnabled; }
    bool switch5On() const { return m_switch5; }

    // The next this many data blocks sent to the PC carry one wrong byte (their checksum frame
    // stays right), so the PC has to ask for them again.
    int corruptNextDataBlocks = 0;
    // How long an erase keeps the box busy before it answers.
    int eraseTimeMs = 0;
    // The next erase is acknowledged but leaves the memory as it was.
    bool skipNextErase = false;
    // The next data block stored gets one bit cleared, as a weak flash cell would.
    bool flipBitInNextStoredBlock = false;

private:
    enum class Session { Idle, WriteStarted, Writing, ReadStarted, Reading };

    void linkCommand(const CommandFrameView &frame, Outcome &out);
    void eepromCommand(const CommandFrameView &frame, Outcome &out);
    void collectData(const QByteArray &report);
    void checkWrittenBlock(quint8 checksum, Outcome &out);
    void startPageCount(int pages, Outcome &out);
    void sendReadBlock(Outcome &out);
    void acknowledgeReadBlock(bool accepted, Outcome &out);
    static void reply(Outcome &out, quint8 type, quint8 b2, quint8 b3);

    QByteArray m_memory;
    bool m_linkOn = false;
    bool m_eepromOn = false;
    bool m_ringEnabled = false;
    bool m_switch5 = false;

    Session m_session = Session::Idle;
    int m_start = 0;    // byte address given by WriteStart / ReadStart
    int m_position = 0; // next data block of the running transfer
    int m_end = 0;      // end of the running transfer (exclusive)
    QByteArray m_incoming; // data bytes of the block being written
    int m_incomingReports = 0;
};

} // namespace dpx::sim
