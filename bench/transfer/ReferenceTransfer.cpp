// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceTransfer.h"

#include "device/CommandFrame.h"
#include "device/UsbHidDevice.h"
#include "transfer/EepromCommand.h"
#include "transfer/InfoTable.h"

#include <QElapsedTimer>
#include <QThread>

#include <array>

namespace dpx {

namespace {
std::array<quint8, 8> g_reply;
}

void ReferenceTransfer::sendFrame(int type, const QByteArray &payload)
{
    const auto frame = CommandFrame::build(quint8(type),
        std::span(reinterpret_cast<const quint8 *>(payload.constData()), size_t(payload.size())));
    m_device.WriteFrame(frame, int(payload.size()) + 3); // with the 1 ms pause after the frame
}

bool ReferenceTransfer::poll(quint8 b2, quint8 b3)
{
    g_reply.fill(0xFF);
    return m_device.ReadReply(g_reply, 4, 1, 0) > 0 && g_reply[2] == b2 && g_reply[3] == b3;
}

bool ReferenceTransfer::command(int type, const QByteArray &payload, quint8 b2, quint8 b3, int pauseMs, int polls)
{
    sendFrame(type, payload);
    for (int i = 0; i < polls; ++i) {
        if (pauseMs > 0)
            QThread::msleep(ulong(pauseMs));
        if (poll(b2, b3))
            return true;
    }
    return false;
}

bool ReferenceTransfer::commandWithin(int type, const QByteArray &payload, quint8 b2, quint8 b3, int pauseMs, int limitMs)
{
    sendFrame(type, payload);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        if (pauseMs > 0)
            QThread::msleep(ulong(pauseMs));
        if (poll(b2, b3))
            return true;
    }
    return false;
}

bool ReferenceTransfer::begin()
{
    return commandWithin(0, QByteArray::fromHex("0001"), 0x00, 0x01, 2, 5000)
        && command(1, QByteArray::fromHex("0001"), 0x00, 0x01, 2, 10);
}

void ReferenceTransfer::end()
{
    command(1, QByteArray::fromHex("0000"), 0x00, 0x01, 2, 10);
    command(0, QByteArray::fromHex("0000"), 0x00, 0x01, 2, 10);
}

bool ReferenceTransfer::sendData(const QByteArray &data)
{
    for (qsizetype offset = 0; offset < data.size(); offset += 128) {
        const QByteArray block = data.mid(offset, 128);
        const auto *bytes = reinterpret_cast<const quint8 *>(block.constData());
        const auto reports = splitDataBlock(std::span(bytes, size_t(block.size())));
        const quint8 sum = dataBlockChecksum(std::span(bytes, size_t(block.size())));
        bool stored = false;
        for (int attempt = 0; attempt < 30 && !stored; ++attempt) {
            for (const auto &report : reports)
                m_device.WriteReports(report, 25);
            stored = commandWithin(1, QByteArray::fromHex("05") + char(sum), 0x05, 0x01, 0, 5000);
        }
        if (!stored)
            return false;
    }
    return true;
}

bool ReferenceTransfer::receiveData(int length, QByteArray *data)
{
    data->clear();
    std::array<quint8, 8> report;
    while (data->size() < length) {
        QByteArray block;
        for (int r = 0; r < 19; ++r) {
            QElapsedTimer clock;
            clock.start();
            for (;;) {
                if (clock.elapsed() > 5000)
                    return false;
                report.fill(0xFF);
                if (m_device.ReadReply(report, 8, 2, 0) > 0)
                    break;
                QThread::msleep(1);
            }
            block.append(reinterpret_cast<const char *>(report.data() + 1), r < 18 ? 7 : 2);
        }
        const quint8 sum = dataBlockChecksum(std::span(reinterpret_cast<const quint8 *>(block.constData()), 128));
        for (;;) {
            report.fill(0xFF);
            if (m_device.ReadReply(report, 8, 1, 0) > 0 && report[2] == 0x06)
                break;
            QThread::msleep(1);
        }
        sendFrame(1, QByteArray::fromHex("0601") + char(sum));
        data->append(block);
    }
    data->truncate(length);
    return true;
}

bool ReferenceTransfer::readTable(QByteArray *table)
{
    return commandWithin(1, QByteArray::fromHex("030100"), 0x03, 0x01, 2, 4000)
        && commandWithin(1, QByteArray::fromHex("040001"), 0x04, 0x01, 2, 5000)
        && receiveData(256, table);
}

bool ReferenceTransfer::writeTable(const QByteArray &table)
{
    return commandWithin(1, QByteArray::fromHex("01010000"), 0x01, 0x01, 0, 5000)
        && command(1, QByteArray::fromHex("020100"), 0x02, 0x01, 0, 10)
        && command(1, QByteArray::fromHex("040001"), 0x04, 0x01, 2, 10)
        && sendData(table);
}

bool ReferenceTransfer::load(const QByteArray &data, int slot)
{
    QThread::msleep(100); // the raw file's open
    QThread::msleep(500); // before the table is read
    QByteArray bytes;
    if (!readTable(&bytes))
        return false;
    InfoTable table(bytes);
    const auto region = table.region(slot);
    if (!region)
        return false;
    for (int b = 0; b < region->blockCount; ++b) {
        if (!commandWithin(1, QByteArray::fromHex("01") + char(region->firstBlock + b) + QByteArray(2, 0), 0x01, 0x01, 0, 4000))
            return false;
    }
    const QByteArray cut = data.left(region->usableBytes());
    const int pages = int((cut.size() + 255) / 256);
    if (slot > 0) {
        table.setMusicLength(slot, pages);
        writeTable(table.bytes());
    }
    if (!command(1, QByteArray::fromHex("02") + char(region->firstBlock) + char(0), 0x02, 0x01, 1, 10)
        || !command(1, QByteArray::fromHex("04") + char(pages >> 8) + char(pages & 0xFF), 0x04, 0x01, 1, 10))
        return false;
    for (qsizetype offset = 0; offset < cut.size(); offset += 256) {
        if (!sendData(cut.mid(offset, 256)))
            return false;
    }
    return true;
}

} // namespace dpx
