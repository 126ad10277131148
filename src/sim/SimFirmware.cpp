// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimFirmware.h"

#include "sim/SimLog.h"

#include <algorithm>

namespace dpx::sim {

namespace {
constexpr quint8 LinkType = 0;
constexpr quint8 EepromType = 1;
constexpr int ReportsPerWrittenBlock = 6; // 5 x 24 + 8 bytes
} // namespace

SimFirmware::SimFirmware()
    : m_memory(EepromSize, char(0xFF))
{
}

void SimFirmware::reset()
{
    m_linkOn = false;
    m_eepromOn = false;
    m_session = Session::Idle;
    m_incoming.clear();
    m_incomingReports = 0;
}

SimFirmware::Outcome SimFirmware::receive(const QByteArray &outputReport)
{
    Outcome out;
    if (outputReport.isEmpty())
        return out;
    if (quint8(outputReport.at(0)) == DataReportId) {
        collectData(outputReport);
        return out;
    }
    CommandFrameView frame;
    if (!parseCommandFrame(outputReport, &frame)) {
        qCDebug(lcSim) << "ignored output report" << outputReport.toHex(' ');
        return out;
    }
    out.commandFrame = true;
    if (frame.type == LinkType && frame.length == 5)
        linkCommand(frame, out);
    else if (frame.type == EepromType)
        eepromCommand(frame, out);
    else
        qCDebug(lcSim) << "unknown frame" << outputReport.left(frame.length).toHex(' ');
    return out;
}

void SimFirmware::reply(Outcome &out, quint8 type, quint8 b2, quint8 b3)
{
    out.answers.append({replyFrame(type, b2, b3), AnswerKind::Reply});
}

void SimFirmware::linkCommand(const CommandFrameView &frame, Outcome &out)
{
    const quint8 what = quint8(frame.payload.at(0));
    const quint8 value = quint8(frame.payload.at(1));
    switch (what) {
    case 0x00: // LinkOn / LinkOff
        if (value > 1)
            return;
        m_linkOn = value == 1;
        reply(out, LinkType, 0x00, 0x01);
        return;
    case 0x04: // key press: the telephone reacts through events, the box does not reply
        out.keyCode = keyCodeFromWire(value);
        return;
    case 0x05:
        m_switch5 = value != 0;
        return;
    case 0x06:
        m_ringEnabled = value != 0;
        return;
    default:
        return;
    }
}

// EEPROM commands are answered whether or not access was switched on: the info table is
// written right after the link handshake, without EepromOn.
void SimFirmware::eepromCommand(const CommandFrameView &frame, Outcome &out)
{
    const QByteArray &p = frame.payload;
    if (p.isEmpty())
        return;
    const quint8 what = quint8(p.at(0));
    if (frame.length == 5 && what == 0x00) { // EepromOn / EepromOff
        const quint8 value = quint8(p.at(1));
        if (value > 1)
            return;
        m_eepromOn = value == 1;
        reply(out, EepromType, 0x00, 0x01);
    } else if (frame.length == 7 && what == 0x01) { // EraseBlock
        const int block = quint8(p.at(1));
        if (block >= BlockCount) {
            reply(out, EepromType, 0x01, 0x00);
            return;
        }
        if (skipNextErase)
            skipNextErase = false;
        else
            std::fill_n(m_memory.begin() + qsizetype(block) * BlockSize, BlockSize, char(0xFF));
        reply(out, EepromType, 0x01, 0x01);
        out.answers.last().busyMs = eraseTimeMs;
    } else if (frame.length == 6 && (what == 0x02 || what == 0x03)) { // WriteStart / ReadStart
        const int block = quint8(p.at(1));
        if (block >= BlockCount) {
            m_session = Session::Idle;
            reply(out, EepromType, what, 0x00);
            return;
        }
        m_session = what == 0x02 ? Session::WriteStarted : Session::ReadStarted;
        m_start = block * BlockSize;
        m_incoming.clear();
        m_incomingReports = 0;
        reply(out, EepromType, what, 0x01);
    } else if (frame.length == 6 && what == 0x04) { // PageCount
        startPageCount(quint8(p.at(1)) << 8 | quint8(p.at(2)), out);
    } else if (frame.length == 5 && what == 0x05) { // BlockCheck
        checkWrittenBlock(quint8(p.at(1)), out);
    } else if (frame.length == 6 && what == 0x06) { // BlockAck
        acknowledgeReadBlock(quint8(p.at(1)) == 0x01, out);
    }
}

void SimFirmware::startPageCount(int pages, Outcome &out)
{
    if (m_session == Session::Idle) {
        reply(out, EepromType, 0x04, 0x00);
        return;
    }
    // A repeated PageCount restarts the transfer from the start address.
    m_position = m_start;
    m_end = std::min(EepromSize, m_start + pages * PageSize);
    const bool reading = m_session == Session::ReadStarted || m_session == Session::Reading;
    m_session = reading ? Session::Reading : Session::Writing;
    reply(out, EepromType, 0x04, 0x01);
    if (reading) {
        if (m_position < m_end)
            sendReadBlock(out);
        else
            m_session = Session::Idle;
    }
}

void SimFirmware::collectData(const QByteArray &report)
{
    m_incoming.append(padReport(report.mid(1), DataBytesPerOutputReport));
    ++m_incomingReports;
}

// The block is taken only when exactly six data reports came before the check; flash can only
// clear bits, so writing over unerased memory leaves the AND of old and new.
void SimFirmware::checkWrittenBlock(quint8 checksum, Outcome &out)
{
    const QByteArray block = m_incoming.left(DataBlockSize);
    const bool complete = m_incomingReports == ReportsPerWrittenBlock;
    m_incoming.clear();
    m_incomingReports = 0;
    const bool accepted = complete && m_session == Session::Writing && m_position < m_end
        && notSum(block, 0, DataBlockSize) == checksum;
    if (!accepted) {
        reply(out, EepromType, 0x05, 0x00);
        return;
    }
    const int count = std::min(DataBlockSize, m_end - m_position);
    for (int i = 0; i < count; ++i)
        m_memory[m_position + i] = char(quint8(m_memory.at(m_position + i)) & quint8(block.at(i)));
    if (flipBitInNextStoredBlock && count > 0) {
        flipBitInNextStoredBlock = false;
        const int at = m_position + count / 2;
        const quint8 value = quint8(m_memory.at(at));
        // Clears the lowest set bit; an all-zero byte gets its lowest bit set instead.
        m_memory[at] = char(value ? quint8(value & (value - 1)) : quint8(0x01));
    }
    m_position += DataBlockSize;
    reply(out, EepromType, 0x05, 0x01);
}

void SimFirmware::sendReadBlock(Outcome &out)
{
    QByteArray block = padReport(m_memory.mid(m_position, DataBlockSize), DataBlockSize);
    const quint8 checksum = notSum(block, 0, DataBlockSize);
    if (corruptNextDataBlocks > 0) {
        --corruptNextDataBlocks;
        block[0] = char(block.at(0) ^ 0x01);
    }
    for (int offset = 0; offset < DataBlockSize; offset += DataBytesPerInputReport) {
        QByteArray report(1, char(DataReportId));
        report.append(block.mid(offset, DataBytesPerInputReport));
        out.answers.append({padReport(report, InputReportLength), AnswerKind::Data});
    }
    reply(out, EepromType, 0x06, checksum);
}

void SimFirmware::acknowledgeReadBlock(bool accepted, Outcome &out)
{
    if (m_session != Session::Reading)
        return;
    if (accepted) {
        m_position += DataBlockSize;
        if (m_position >= m_end) {
            m_session = Session::Idle;
            return;
        }
    }
    sendReadBlock(out);
}

} // namespace dpx::sim
