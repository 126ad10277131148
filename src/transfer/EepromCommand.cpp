// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/EepromCommand.h"

#include "transfer/EepromLayout.h"

#include <algorithm>
#include <initializer_list>

namespace dpx {

namespace {

constexpr quint8 LinkType = 0;
constexpr quint8 EepromType = 1;

EepromCommand make(quint8 type, std::initializer_list<quint8> payload, quint8 replyOp,
                   bool awaitsReply = true)
{
    EepromCommand command;
    command.frame = CommandFrame::build(type, payload);
    command.length = int(payload.size()) + int(CommandFrame::MinLength);
    command.replyOp = replyOp;
    command.awaitsReply = awaitsReply;
    return command;
}

quint8 byteOf(int value)
{
    return quint8(value & 0xFF);
}

} // namespace

EepromCommand EepromCommand::linkOn() { return make(LinkType, {0x00, 0x01}, 0x00); }
EepromCommand EepromCommand::linkOff() { return make(LinkType, {0x00, 0x00}, 0x00); }
EepromCommand EepromCommand::eepromOn() { return make(EepromType, {0x00, 0x01}, 0x00); }
EepromCommand EepromCommand::eepromOff() { return make(EepromType, {0x00, 0x00}, 0x00); }

EepromCommand EepromCommand::eraseBlock(int block)
{
    return make(EepromType, {0x01, byteOf(block), 0x00, 0x00}, 0x01);
}

EepromCommand EepromCommand::writeStart(int block)
{
    return make(EepromType, {0x02, byteOf(block), 0x00}, 0x02);
}

EepromCommand EepromCommand::readStart(int block)
{
    return make(EepromType, {0x03, byteOf(block), 0x00}, 0x03);
}

EepromCommand EepromCommand::pageCount(int pages)
{
    return make(EepromType, {0x04, byteOf(pages >> 8), byteOf(pages)}, 0x04);
}

EepromCommand EepromCommand::blockCheck(quint8 checksum)
{
    return make(EepromType, {0x05, checksum}, 0x05);
}

EepromCommand EepromCommand::blockAck(bool accepted, quint8 checksum)
{
    return make(EepromType, {0x06, quint8(accepted ? 0x01 : 0x00), checksum}, 0x06, false);
}

quint8 dataBlockChecksum(std::span<const quint8> block)
{
    quint8 sum = 0;
    const size_t count = std::min(block.size(), size_t(eeprom::DataBlockSize));
    for (size_t i = 0; i < count; ++i)
        sum = quint8(sum + block[i]);
    for (size_t i = count; i < size_t(eeprom::DataBlockSize); ++i)
        sum = quint8(sum + 0xFF);
    return quint8(~sum);
}

std::array<OutputDataReport, 6> splitDataBlock(std::span<const quint8> block)
{
    std::array<OutputDataReport, 6> reports;
    const size_t size = std::min(block.size(), size_t(eeprom::DataBlockSize));
    for (size_t r = 0; r < reports.size(); ++r) {
        OutputDataReport &report = reports[r];
        report.fill(0xFF);
        report[0] = 0x02;
        const size_t from = r * eeprom::OutputDataBytes;
        const size_t to = std::min(from + eeprom::OutputDataBytes, size_t(eeprom::DataBlockSize));
        for (size_t i = from; i < to && i < size; ++i)
            report[1 + i - from] = block[i];
    }
    return reports;
}

} // namespace dpx
