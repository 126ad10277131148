// SPDX-License-Identifier: GPL-3.0-or-later
// The box's EEPROM through its command protocol: erase, checked block writes and block reads.
#include "SimTestSupport.h"
#include "sim/SimulatedBox.h"

#include <QTest>

#include <thread>

using namespace dpx;
using namespace dpx::test;

namespace {
constexpr int Block = 65536;

QByteArray pattern(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + seed * 13 + (i >> 8)) & 0xFF);
    return data;
}

QByteArray reply(quint8 b2, quint8 b3)
{
    QByteArray r = QByteArray::fromHex("0124");
    r.append(char(b2)).append(char(b3));
    r.append(char(notSum(r, 1, 4)));
    return r.append(3, char(0xFF));
}

// The PC's side of the transfer, in the order the program sends it.
struct Pc {
    HidConnection &link;

    // The next report that is not an event (the telephone may talk at any time).
    QByteArray next()
    {
        for (;;) {
            const QByteArray r = receive(link);
            const bool event = r.size() == 8 && r.at(0) == 0x01
                && (r.at(1) == 0x43 || r.at(1) == 0x45 || r.at(1) == 0x47);
            if (!event)
                return r;
        }
    }
    QByteArray ask(const QByteArray &frame)
    {
        send(link, frame);
        return next();
    }
    QByteArray erase(int block) { return ask(command(1, QByteArray::fromHex("01") + char(block) + QByteArray(2, 0))); }
    QByteArray writeStart(int block) { return ask(command(1, QByteArray::fromHex("02") + char(block) + char(0))); }
    QByteArray readStart(int block) { return ask(command(1, QByteArray::fromHex("03") + char(block) + char(0))); }
    QByteArray pageCount(int pages) { return ask(command(1, QByteArray::fromHex("04") + char(pages >> 8) + char(pages))); }

    void sendBlockData(const QByteArray &block, int reports = 6)
    {
        for (int i = 0; i < reports; ++i) {
            QByteArray r(1, 0x02);
            r.append(block.mid(i * 24, 24));
            r.append(25 - r.size(), char(0xFF));
            send(link, r);
        }
    }
    QByteArray blockCheck(quint8 checksum) { return ask(command(1, QByteArray::fromHex("05") + char(checksum))); }

    // Sends one data block (padded with 0xFF) and returns the box's answer to the check.
    QByteArray writeBlock(const QByteArray &data)
    {
        QByteArray block = data;
        block.append(128 - block.size(), char(0xFF));
        sendBlockData(block);
        return blockCheck(notSum(block, 0, 128));
    }

    // Receives one data block: nineteen data reports, then the box's checksum frame.
    bool receiveBlock(QByteArray *block, quint8 *boxChecksum)
    {
        block->clear();
        for (int i = 0; i < 19; ++i) {
            const QByteArray r = next();
            if (r.size() != 8 || r.at(0) != 0x02)
                return false;
            block->append(r.mid(1, i < 18 ? 7 : 2));
            if (i == 18 && r.mid(3) != QByteArray(5, char(0xFF)))
                return false;
        }
        const QByteArray sum = next();
        if (sum.left(3) != QByteArray::fromHex("012406") || quint8(sum.at(4)) != notSum(sum, 1, 4))
            return false;
        *boxChecksum = quint8(sum.at(3));
        return true;
    }
    void blockAck(bool accepted, quint8 checksum)
    {
        send(link, command(1, QByteArray::fromHex("06") + char(accepted ? 1 : 0) + char(checksum)));
    }
};
} // namespace

class SimEepromTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void eraseClearsOneBlock();
    void blockCheckWorkedExample();
    void writePagesThenReadThemBack();
    void readBlockIsRepeatedUntilAccepted();
    void corruptedDataBlockIsSentAgainCorrectly();
    void rejectedBlocksAreNotWritten_data();
    void rejectedBlocksAreNotWritten();
    void shortLastBlockIsPaddedWithErasedBytes();
    void writingWithoutEraseOnlyClearsBits();
    void infoTableReadAsTheProgramDoes();
    void repeatedStartCommandsRestartTheTransfer();
    void unplugAbandonsARead();
    void transferOnWorkerWhileTheTelephoneTalks();

private:
    std::unique_ptr<SimulatedBox> box;
    std::unique_ptr<HidConnection> link;
    std::unique_ptr<Pc> pc;
};

void SimEepromTest::init()
{
    box = std::make_unique<SimulatedBox>();
    box->plug();
    link = box->open(box->devicePath());
    pc = std::make_unique<Pc>(Pc{*link});
    QCOMPARE(pc->ask(outputReport("01040001FA")), QByteArray::fromHex("01040001FAFFFFFF"));
    QCOMPARE(pc->ask(outputReport("01240001DA")), reply(0x00, 0x01));
    QVERIFY(box->linkOn() && box->eepromAccessOn());
}

void SimEepromTest::cleanup()
{
    pc.reset();
    link.reset();
    box.reset();
}

void SimEepromTest::eraseClearsOneBlock()
{
    QCOMPARE(box->eeprom().size(), 4 * 1024 * 1024);
    QCOMPARE(box->eeprom(), QByteArray(4 * 1024 * 1024, char(0xFF)));
    box->setEepromBytes(Block - 1, QByteArray(Block * 2 + 2, 0x11));
    QCOMPARE(pc->erase(2), reply(0x01, 0x01));
    QCOMPARE(box->eepromBytes(2 * Block, Block), QByteArray(Block, char(0xFF)));
    QCOMPARE(box->eepromBytes(2 * Block - 1, 1), QByteArray(1, 0x11));
    QCOMPARE(box->eepromBytes(3 * Block, 1), QByteArray(1, 0x11));
    QCOMPARE(pc->erase(64), reply(0x01, 0x00));
}

void SimEepromTest::blockCheckWorkedExample()
{
    // 127 zero bytes and 0xA5 sum to 0xA5: the checksum is 0x5A, the frame 01 24 05 5A 7C.
    QByteArray block(128, 0);
    block[127] = char(0xA5);
    QCOMPARE(pc->erase(2), reply(0x01, 0x01));
    QCOMPARE(pc->writeStart(2), reply(0x02, 0x01));
    QCOMPARE(pc->pageCount(1), reply(0x04, 0x01));
    pc->sendBlockData(block);
    QCOMPARE(pc->ask(outputReport("0124055A7C")), reply(0x05, 0x01));
    QCOMPARE(box->eepromBytes(2 * Block, 128), block);
}

void SimEepromTest::writePagesThenReadThemBack()
{
    const QByteArray data = pattern(3 * 256, 1);
    QCOMPARE(pc->erase(5), reply(0x01, 0x01));
    QCOMPARE(pc->writeStart(5), reply(0x02, 0x01));
    QCOMPARE(pc->pageCount(3), reply(0x04, 0x01));
    for (int offset = 0; offset < data.size(); offset += 128)
        QCOMPARE(pc->writeBlock(data.mid(offset, 128)), reply(0x05, 0x01));
    QCOMPARE(pc->writeBlock(data.left(128)), reply(0x05, 0x00)); // beyond the page count
    QCOMPARE(box->eepromBytes(5 * Block, data.size() + 1), data + char(0xFF));

    QCOMPARE(pc->readStart(5), reply(0x03, 0x01));
    QCOMPARE(pc->pageCount(3), reply(0x04, 0x01));
    QByteArray readBack;
    for (int i = 0; i < 6; ++i) {
        QByteArray block;
        quint8 checksum = 0;
        QVERIFY(pc->receiveBlock(&block, &checksum));
        QCOMPARE(checksum, notSum(block, 0, 128));
        readBack += block;
        pc->blockAck(true, checksum);
    }
    QCOMPARE(readBack, data);
    QVERIFY(receive(*link, 50).isEmpty()); // nothing after the last accepted block
}

void SimEepromTest::readBlockIsRepeatedUntilAccepted()
{
    const QByteArray data = pattern(256, 2);
    box->setEepromBytes(Block, data);
    QCOMPARE(pc->readStart(1), reply(0x03, 0x01));
    QCOMPARE(pc->pageCount(1), reply(0x04, 0x01));
    QByteArray block;
    quint8 checksum = 0;
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QCOMPARE(block, data.left(128));
    pc->blockAck(false, checksum);
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QCOMPARE(block, data.left(128));
    pc->blockAck(true, checksum);
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QCOMPARE(block, data.mid(128));
    pc->blockAck(true, checksum);
    QVERIFY(receive(*link, 50).isEmpty());
}

void SimEepromTest::corruptedDataBlockIsSentAgainCorrectly()
{
    box->setEepromBytes(Block, pattern(128, 3));
    box->setFaults({.corruptNextDataBlocks = 1});
    pc->readStart(1);
    pc->pageCount(1);
    QByteArray block;
    quint8 checksum = 0;
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QVERIFY(notSum(block, 0, 128) != checksum);
    pc->blockAck(false, notSum(block, 0, 128));
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QCOMPARE(block, pattern(128, 3));
    QCOMPARE(notSum(block, 0, 128), checksum);
    QCOMPARE(box->faults().corruptNextDataBlocks, 0);
}

void SimEepromTest::rejectedBlocksAreNotWritten_data()
{
    QTest::addColumn<int>("reports");
    QTest::addColumn<int>("checksumError");
    QTest::newRow("wrong checksum") << 6 << 1;
    QTest::newRow("five data reports") << 5 << 0;
    QTest::newRow("seven data reports") << 7 << 0;
}

void SimEepromTest::rejectedBlocksAreNotWritten()
{
    QFETCH(int, reports);
    QFETCH(int, checksumError);
    const QByteArray block = pattern(128, 4);
    pc->writeStart(2);
    pc->pageCount(1);
    pc->sendBlockData(block, reports);
    QCOMPARE(pc->blockCheck(quint8(notSum(block, 0, 128) + checksumError)), reply(0x05, 0x00));
    QCOMPARE(box->eepromBytes(2 * Block, 128), QByteArray(128, char(0xFF)));
    // The same block sent again lands where the rejected one should have.
    QCOMPARE(pc->writeBlock(block), reply(0x05, 0x01));
    QCOMPARE(box->eepromBytes(2 * Block, 129), block + char(0xFF));
}

void SimEepromTest::shortLastBlockIsPaddedWithErasedBytes()
{
    // 300 bytes: one full page, then one data block of 44 bytes padded with 0xFF.
    const QByteArray file = pattern(300, 5);
    pc->erase(3);
    pc->writeStart(3);
    QCOMPARE(pc->pageCount(2), reply(0x04, 0x01));
    QCOMPARE(pc->writeBlock(file.mid(0, 128)), reply(0x05, 0x01));
    QCOMPARE(pc->writeBlock(file.mid(128, 128)), reply(0x05, 0x01));
    QCOMPARE(pc->writeBlock(file.mid(256)), reply(0x05, 0x01));
    QCOMPARE(box->eepromBytes(3 * Block, 512), file + QByteArray(212, char(0xFF)));
}

void SimEepromTest::writingWithoutEraseOnlyClearsBits()
{
    box->setEepromBytes(4 * Block, QByteArray(128, 0x0F));
    pc->writeStart(4);
    pc->pageCount(1);
    QCOMPARE(pc->writeBlock(QByteArray(128, char(0x3C))), reply(0x05, 0x01));
    QCOMPARE(box->eepromBytes(4 * Block, 128), QByteArray(128, 0x0C));
}

void SimEepromTest::infoTableReadAsTheProgramDoes()
{
    QByteArray table(256, char(0xFF));
    table.replace(0, 4, QByteArray::fromHex("02000100"));
    table[76] = 40;
    box->setEepromBytes(Block, table);
    QCOMPARE(pc->ask(outputReport("0125030100D6")), reply(0x03, 0x01));
    QCOMPARE(pc->ask(outputReport("0125040001D5")), reply(0x04, 0x01));
    QByteArray received;
    for (int i = 0; i < 2; ++i) {
        QByteArray block;
        quint8 checksum = 0;
        QVERIFY(pc->receiveBlock(&block, &checksum));
        received += block;
        pc->blockAck(true, checksum);
    }
    QCOMPARE(received, table);
}

void SimEepromTest::repeatedStartCommandsRestartTheTransfer()
{
    // A PC that lost a reply sends the command again; the box starts over at the same place.
    const QByteArray data = pattern(256, 6);
    pc->writeStart(6);
    pc->writeStart(6);
    pc->pageCount(1);
    QCOMPARE(pc->pageCount(1), reply(0x04, 0x01));
    QCOMPARE(pc->writeBlock(data.left(128)), reply(0x05, 0x01));
    QCOMPARE(pc->writeBlock(data.mid(128)), reply(0x05, 0x01));
    QCOMPARE(box->eepromBytes(6 * Block, 256), data);

    pc->readStart(6);
    QCOMPARE(pc->pageCount(1), reply(0x04, 0x01));
    QByteArray block;
    quint8 checksum = 0;
    QVERIFY(pc->receiveBlock(&block, &checksum)); // left unanswered
    QCOMPARE(pc->readStart(6), reply(0x03, 0x01));
    QCOMPARE(pc->pageCount(1), reply(0x04, 0x01));
    QVERIFY(pc->receiveBlock(&block, &checksum));
    QCOMPARE(block, data.left(128));
}

void SimEepromTest::unplugAbandonsARead()
{
    box->setEepromBytes(Block, pattern(256, 7));
    pc->readStart(1);
    pc->pageCount(1);
    box->unplug();
    box->plug();
    link = box->open(box->devicePath());
    pc = std::make_unique<Pc>(Pc{*link});
    QVERIFY(!box->linkOn());
    pc->blockAck(true, 0);
    QVERIFY(receive(*link, 50).isEmpty());
    QCOMPARE(box->eepromBytes(Block, 256), pattern(256, 7)); // the memory survives removal
}

void SimEepromTest::transferOnWorkerWhileTheTelephoneTalks()
{
    const QByteArray data = pattern(8 * 256, 8);
    QByteArray readBack;
    bool written = true;
    std::thread worker([&] {
        auto own = box->open(box->devicePath());
        Pc wpc{*own};
        written = wpc.erase(7) == reply(0x01, 0x01) && wpc.writeStart(7) == reply(0x02, 0x01)
            && wpc.pageCount(8) == reply(0x04, 0x01);
        for (int offset = 0; written && offset < data.size(); offset += 128)
            written = wpc.writeBlock(data.mid(offset, 128)) == reply(0x05, 0x01);
        wpc.readStart(7);
        wpc.pageCount(8);
        for (int i = 0; written && i < 16; ++i) {
            QByteArray block;
            quint8 checksum = 0;
            written = wpc.receiveBlock(&block, &checksum);
            readBack += block;
            wpc.blockAck(true, checksum);
        }
    });
    for (int i = 0; i < 40; ++i) {
        box->telephone().setLamp(0x02, quint8(1 + i % 24));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    QVERIFY(written);
    QCOMPARE(readBack, data);
    QCOMPARE(box->eepromBytes(7 * Block, data.size()), data);
}

QTEST_GUILESS_MAIN(SimEepromTest)
#include "tst_simeeprom.moc"
