// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/CommandFrame.h"

#include <QtGlobal>

#include <array>
#include <span>

namespace dpx {

// One EEPROM or link command: its frame and the reply (bytes 2 and 3) that confirms it.
struct EepromCommand {
    CommandFrame::Buffer frame{};
    int length = 0;          // N, the frame's length in the report
    quint8 replyOp = 0;      // expected byte 2
    quint8 replyOk = 0x01;   // expected byte 3
    bool awaitsReply = true; // BlockAck alone is not answered
    bool anyResult = false;  // a reply (replyOp, x) confirms whatever x is

    static EepromCommand linkOn();
    static EepromCommand linkOff();
    static EepromCommand eepromOn();
    static EepromCommand eepromOff();
    static EepromCommand eraseBlock(int block);
    static EepromCommand writeStart(int block);
    static EepromCommand readStart(int block);
    static EepromCommand pageCount(int pages);
    static EepromCommand blockCheck(quint8 checksum);
    static EepromCommand blockAck(bool accepted, quint8 checksum);

    // True when a reply frame's bytes 2 and 3 are the confirmation.
    bool confirmedBy(quint8 b2, quint8 b3) const
    {
        return b2 == replyOp && (anyResult || b3 == replyOk);
    }
    quint8 type() const { return quint8(frame[1] >> 5); }
};

// Bitwise NOT of the 8-bit sum of a 128-byte data block (a short block is padded with 0xFF).
quint8 dataBlockChecksum(std::span<const quint8> block);

// The six 25-byte output reports of one data block: 5 x 24 bytes, then 8 bytes and 0xFF.
using OutputDataReport = std::array<quint8, 25>;
std::array<OutputDataReport, 6> splitDataBlock(std::span<const quint8> block);

} // namespace dpx
