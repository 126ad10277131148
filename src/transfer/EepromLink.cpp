// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/EepromLink.h"

#include "device/UsbHidDevice.h"
#include "transfer/EepromLayout.h"

#include <QDeadlineTimer>

#include <algorithm>

namespace dpx {

namespace {

using Frame = std::array<quint8, 8>;
constexpr int ReplyLength = 8;
constexpr int DrainLimit = 256; // reports; a box flooding the link cannot hold the worker here

int pagesFor(qint64 bytes)
{
    return int((bytes + eeprom::PageSize - 1) / eeprom::PageSize);
}

} // namespace

EepromLink::EepromLink(UsbHidDevice &device, const std::atomic_bool &abortRequested)
    : m_device(device)
    , m_abort(abortRequested)
{
}

bool EepromLink::abortRequested() const
{
    return !m_ignoreAbort && m_abort.load(std::memory_order_relaxed);
}

void EepromLink::drain()
{
    Frame frame;
    for (int i = 0; i < DrainLimit; ++i) {
        frame.fill(0xFF);
        if (m_device.ReadReports(frame, ReplyLength, 0) <= 0)
            return;
        // Events read here are handed on; stale replies are dropped.
        UsbHidDevice::judgeReply(frame, 0x01, m_device.eventSink());
    }
}

EepromLink::Result EepromLink::send(const EepromCommand &command, bool pauseAfter)
{
    drain();
    ++m_sends;
    // The box needs its pause only before a frame that follows without a reply between.
    const auto pause = !command.awaitsReply && pauseAfter ? UsbHidDevice::FramePause::After
                                                          : UsbHidDevice::FramePause::None;
    m_device.WriteFrame(command.frame, command.length, pause);
    // A failed write is judged by the reply it does not get (or by the box being gone).
    return Result::Ok;
}

EepromLink::Result EepromLink::awaitReply(const EepromCommand &command, int limitMs)
{
    const QDeadlineTimer deadline(std::max(limitMs, 0));
    Frame frame;
    for (;;) {
        const Result result = readReport(0x01, deadline, &frame);
        if (result != Result::Ok)
            return result;
        if (quint8(frame[1] >> 5) != command.type())
            continue;
        if (command.confirmedBy(frame[2], frame[3]))
            return Result::Ok;
        if (frame[2] == command.replyOp)
            return Result::Failed; // refused: the caller sends again at once
    }
}

EepromLink::Result EepromLink::command(const EepromCommand &command, int limitMs, int sends)
{
    Result result = Result::Failed;
    for (int attempt = 0; attempt < std::max(sends, 1); ++attempt) {
        if (abortRequested())
            return Result::Aborted;
        send(command);
        result = awaitReply(command, limitMs);
        if (result != Result::Failed)
            return result;
    }
    return result;
}

EepromLink::Result EepromLink::eraseBlock(int block)
{
    EepromCommand erase = EepromCommand::eraseBlock(block);
    erase.anyResult = true; // verify catches an erase the box only claimed
    return command(erase, m_limits.eraseMs, m_limits.eraseSends);
}

EepromLink::Result EepromLink::sendBlock(const quint8 *block, int size)
{
    const std::span<const quint8> bytes(block, size_t(size));
    const auto reports = splitDataBlock(bytes);
    const EepromCommand check = EepromCommand::blockCheck(dataBlockChecksum(bytes));
    Result result = Result::Failed;
    for (int attempt = 0; attempt < m_limits.blockSendAttempts; ++attempt) {
        if (abortRequested())
            return Result::Aborted;
        drain();
        for (const OutputDataReport &report : reports)
            m_device.WriteReports(report, int(report.size()));
        send(check);
        result = awaitReply(check, m_limits.blockCheckMs);
        if (result != Result::Failed)
            return result;
    }
    return result;
}

EepromLink::Result EepromLink::sendData(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const quint8 *>(data.constData());
    for (qsizetype offset = 0; offset < data.size(); offset += eeprom::DataBlockSize) {
        const int size = int(std::min<qsizetype>(eeprom::DataBlockSize, data.size() - offset));
        const Result result = sendBlock(bytes + offset, size);
        if (result != Result::Ok)
            return result;
    }
    return Result::Ok;
}

EepromLink::Result EepromLink::readReport(quint8 reportId, const QDeadlineTimer &deadline, Frame *report)
{
    for (;;) {
        if (abortRequested())
            return Result::Aborted;
        const int slice = int(std::min<qint64>(deadline.remainingTime(), SliceMs));
        if (slice <= 0)
            return Result::Failed;
        report->fill(0xFF);
        const int got = m_device.ReadReply(*report, ReplyLength, reportId, slice);
        if (got == UsbHidDevice::DeviceGone)
            return Result::Gone;
        if (got > 0)
            return Result::Ok;
    }
}

EepromLink::Result EepromLink::receiveBlock(QByteArray *block, bool last)
{
    Frame report;
    for (int repeat = 0;; ++repeat) {
        block->clear();
        for (int r = 0; r < eeprom::InputReportsPerBlock; ++r) {
            const Result result = readReport(0x02, QDeadlineTimer(m_limits.reportMs), &report);
            if (result != Result::Ok)
                return result;
            const int take = std::min(eeprom::InputDataBytes, eeprom::DataBlockSize - int(block->size()));
            block->append(reinterpret_cast<const char *>(report.data() + 1), take);
        }
        const quint8 ours = dataBlockChecksum(
            std::span(reinterpret_cast<const quint8 *>(block->constData()), size_t(block->size())));
        const QDeadlineTimer checksumDeadline(m_limits.reportMs);
        Result result = Result::Failed;
        do {
            result = readReport(0x01, checksumDeadline, &report);
        } while (result == Result::Ok && !(report[1] >> 5 == 1 && report[2] == 0x06));
        if (result != Result::Ok)
            return result;
        const bool accepted = report[3] == ours;
        // After an accepted block the box sends the next one: no frame of ours follows soon.
        send(EepromCommand::blockAck(accepted, ours), last || !accepted);
        if (accepted)
            return Result::Ok;
        if (repeat + 1 >= m_limits.blockReadRepeats)
            return Result::Failed;
    }
}

EepromLink::Result EepromLink::receiveData(int length, QByteArray *data)
{
    data->clear();
    data->reserve(length);
    QByteArray block;
    while (data->size() < length) {
        const Result result = receiveBlock(&block, data->size() + eeprom::DataBlockSize >= length);
        if (result != Result::Ok)
            return result;
        data->append(block.left(length - data->size()));
    }
    return Result::Ok;
}

EepromLink::Result EepromLink::sendPages(const QByteArray &data,
                                         const std::function<void(qint64)> &afterPage)
{
    for (qsizetype offset = 0; offset < data.size(); offset += eeprom::PageSize) {
        const Result result = sendData(data.mid(offset, eeprom::PageSize));
        if (result != Result::Ok)
            return result;
        if (afterPage)
            afterPage(std::min<qint64>(offset + eeprom::PageSize, data.size()));
    }
    return Result::Ok;
}

EepromLink::Result EepromLink::writeFrom(int block, const QByteArray &data,
                                         const std::function<void(qint64)> &afterPage)
{
    Result result = command(EepromCommand::writeStart(block), m_limits.writeCommandMs);
    if (result == Result::Ok)
        result = command(EepromCommand::pageCount(pagesFor(data.size())), m_limits.writeCommandMs);
    if (result != Result::Ok)
        return result;
    return sendPages(data, afterPage);
}

EepromLink::Result EepromLink::readFrom(int block, int length, QByteArray *data,
                                        const std::function<void(qint64)> &afterBlock)
{
    const int pages = pagesFor(length);
    Result result = command(EepromCommand::readStart(block), m_limits.readStartMs);
    if (result == Result::Ok)
        result = command(EepromCommand::pageCount(pages), m_limits.pageCountReadMs);
    if (result != Result::Ok)
        return result;
    // The box sends whole pages; every block it sends is taken, then the tail is cut.
    data->clear();
    data->reserve(pages * eeprom::PageSize);
    QByteArray blockBytes;
    while (data->size() < pages * eeprom::PageSize) {
        result = receiveBlock(&blockBytes, data->size() + eeprom::DataBlockSize >= pages * eeprom::PageSize);
        if (result != Result::Ok)
            return result;
        data->append(blockBytes);
        if (afterBlock)
            afterBlock(std::min<qint64>(data->size(), length));
    }
    data->truncate(length);
    return Result::Ok;
}

EepromLink::Result EepromLink::readInfoTable(QByteArray *table)
{
    return readFrom(eeprom::TableBlock, eeprom::TableSize, table);
}

EepromLink::Result EepromLink::writeInfoTable(const QByteArray &table)
{
    Result result = command(EepromCommand::eraseBlock(eeprom::TableBlock), m_limits.tableEraseMs,
                            m_limits.tableEraseSends);
    if (result == Result::Ok)
        result = command(EepromCommand::writeStart(eeprom::TableBlock), m_limits.tableCommandMs,
                         m_limits.tableCommandSends);
    if (result == Result::Ok)
        result = command(EepromCommand::pageCount(1), m_limits.tableCommandMs,
                         m_limits.tableCommandSends);
    if (result != Result::Ok)
        return result;
    return sendData(table.left(eeprom::TableSize).leftJustified(eeprom::TableSize, char(0xFF)));
}

} // namespace dpx
