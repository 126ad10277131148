// SPDX-License-Identifier: GPL-3.0-or-later
// The box's EEPROM through its command protocol: erase, checked block writes and block reads.
#include "SimTestSupport.h"
#include "sim/SimulatedBox.h"

#include <QTest>

using namespace dpx;
using namespace dpx::test;

namespace {
constexpr int Block = 65536;

// The box's answer to EEPROM command `op`: 01 24 op result checksum, padded to a report.
QByteArray answer(quint8 op, bool ok)
{
    const QByteArray frame = QByteArray::fromHex("0124") + char(op) + char(ok ? 1 : 0);
    return frame + char(notSum(frame, 1, 4)) + QByteArray(3, char(0xFF));
}

// The PC's side of a transfer, in the order the program sends it.
struct Pc {
    HidConnection &link;

    QByteArray ask(const QByteArray &report)
    {
        send(link, report);
        return receive(link);
    }
    // One 128-byte block as six bulk reports of 24 bytes, then its check frame.
    QByteArray writeBlock(const QByteArray &block, quint8 checksumError = 0)
    {
        for (int i = 0; i < 6; ++i) {
            const QByteArray data = char(0x02) + block.mid(i * 24, 24);
            send(link, data + QByteArray(25 - data.size(), char(0xFF)));
        }
        return ask(command(1, "05" + QByteArray(1, char(notSum(block, 0, 128) + checksumError)).toHex()));
    }
    // One block from the box: nineteen data reports, then its checksum frame 01 24 06 sum.
    bool receiveBlock(QByteArray *block, quint8 *boxChecksum)
    {
        block->clear();
        for (int i = 0; i < 19; ++i) {
            const QByteArray r = receive(link);
            if (r.size() != 8 || r.at(0) != 0x02 || (i == 18 && r.mid(3) != QByteArray(5, char(0xFF))))
                return false;
            block->append(r.mid(1, i < 18 ? 7 : 2));
        }
        const QByteArray sum = receive(link).leftJustified(8, char(0xFF)); // missing: fails below
        *boxChecksum = quint8(sum.at(3));
        return sum.left(3) == QByteArray::fromHex("012406") && quint8(sum.at(4)) == notSum(sum, 1, 4);
    }
    void blockAck(bool accepted, quint8 checksum)
    {
        send(link, command(1, QByteArray(accepted ? "0601" : "0600") + QByteArray(1, char(checksum)).toHex()));
    }
};
} // namespace

class SimEepromTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void eraseClearsOneBlock();
    void writeThenReadBackWithARepeatedBlock();

private:
    std::unique_ptr<SimulatedBox> box;
    std::unique_ptr<HidConnection> link;
};

void SimEepromTest::init()
{
    box = std::make_unique<SimulatedBox>();
    box->plug();
    link = box->open(box->devicePath());
    Pc pc{*link};
    QCOMPARE(pc.ask(outputReport("01040001FA")), QByteArray::fromHex("01040001FAFFFFFF"));
    QCOMPARE(pc.ask(outputReport("01240001DA")), answer(0x00, true));
}

void SimEepromTest::eraseClearsOneBlock()
{
    Pc pc{*link};
    box->setEepromBytes(Block - 1, QByteArray(Block * 2 + 2, 0x11));
    QCOMPARE(pc.ask(command(1, "01020000")), answer(0x01, true));
    QCOMPARE(box->eepromBytes(2 * Block - 1, Block + 2), QByteArray(1, 0x11) + QByteArray(Block, char(0xFF)) + char(0x11));
    QCOMPARE(pc.ask(command(1, "01400000")), answer(0x01, false)); // there is no block 64
}

void SimEepromTest::writeThenReadBackWithARepeatedBlock()
{
    // The first block is 127 zero bytes and 0xA5: its check frame is 01 24 05 5A 7C.
    QByteArray data = QByteArray(127, 0) + char(0xA5);
    for (int i = 0; i < 128; ++i)
        data += char(i * 7 + 3);
    Pc pc{*link};
    QCOMPARE(pc.ask(command(1, "01050000")), answer(0x01, true)); // erase block 5
    QCOMPARE(pc.ask(command(1, "020500")), answer(0x02, true)); // write to block 5
    QCOMPARE(pc.ask(command(1, "040001")), answer(0x04, true)); // one page: two blocks
    QCOMPARE(pc.writeBlock(data.left(128)), answer(0x05, true));
    QCOMPARE(box->lastOutputReport(), outputReport("0124055A7C"));
    // A block whose check fails is not written; sent again, it lands where it belongs.
    QCOMPARE(pc.writeBlock(data.mid(128), 1), answer(0x05, false));
    QCOMPARE(box->eepromBytes(5 * Block + 128, 128), QByteArray(128, char(0xFF)));
    QCOMPARE(pc.writeBlock(data.mid(128)), answer(0x05, true));
    QCOMPARE(pc.writeBlock(data.left(128)), answer(0x05, false)); // beyond the page count
    QCOMPARE(box->eepromBytes(5 * Block, 257), data + char(0xFF));

    QCOMPARE(pc.ask(command(1, "030500")), answer(0x03, true)); // read block 5
    QCOMPARE(pc.ask(command(1, "040001")), answer(0x04, true));
    QByteArray block;
    quint8 checksum = 0;
    QVERIFY(pc.receiveBlock(&block, &checksum));
    QCOMPARE(block, data.left(128));
    QCOMPARE(checksum, quint8(0x5A));
    pc.blockAck(false, checksum); // refused: the same block comes again
    QVERIFY(pc.receiveBlock(&block, &checksum));
    QCOMPARE(block, data.left(128));
    pc.blockAck(true, checksum);
    QVERIFY(pc.receiveBlock(&block, &checksum));
    QCOMPARE(block, data.mid(128));
    QCOMPARE(checksum, notSum(block, 0, 128));
    pc.blockAck(true, checksum);
    QVERIFY(receive(*link, 50).isEmpty()); // nothing after the last accepted block
}

QTEST_GUILESS_MAIN(SimEepromTest)
#include "tst_simeeprom.moc"
