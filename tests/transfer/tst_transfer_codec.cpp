// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer's codecs without a box: command frames, data blocks, the info table and its
// layout rules, info.ini, the RIFF walker and the name cuts.
#include "transfer/EepromCommand.h"
#include "transfer/InfoIni.h"
#include "transfer/InfoTable.h"
#include "transfer/RiffWalker.h"
#include "transfer/TransferRun.h"

#include <QTest>
#include <QtEndian>

using namespace dpx;

namespace {

QByteArray frameBytes(const EepromCommand &command)
{
    return QByteArray(reinterpret_cast<const char *>(command.frame.data()), command.length);
}

QByteArray tableWithStarts(std::initializer_list<int> starts)
{
    QByteArray bytes(256, char(0xFF));
    bytes[0] = 0x02;
    int slot = 1;
    for (int start : starts)
        bytes[56 + 4 * slot++] = char(quint8(start));
    return bytes;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body, qint64 claimedSize = -1)
{
    QByteArray size(4, 0);
    qToLittleEndian<quint32>(quint32(claimedSize < 0 ? body.size() : claimedSize), size.data());
    QByteArray out = id + size + body;
    if (body.size() % 2)
        out.append('\0');
    return out;
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    QByteArray body(18, 0);
    qToLittleEndian<quint16>(tag, body.data());
    qToLittleEndian<quint16>(channels, body.data() + 2);
    qToLittleEndian<quint32>(rate, body.data() + 4);
    qToLittleEndian<quint16>(bits, body.data() + 14);
    return chunk("fmt ", body);
}

QByteArray riff(const QByteArray &chunks)
{
    QByteArray size(4, 0);
    qToLittleEndian<quint32>(quint32(chunks.size() + 4), size.data());
    return "RIFF" + size + "WAVE" + chunks;
}

WaveLayout walk(const QByteArray &file)
{
    return walkRiff([&](qint64 offset, int count) { return file.mid(offset, count); }, file.size());
}

} // namespace

class TransferCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedFrames_data();
    void workedFrames();
    void dataBlockSplitAndChecksum();
    void regions_data();
    void regions();
    void musicEntry();
    void infoIni_data();
    void infoIni();
    void riffWalker_data();
    void riffWalker();
    void nameCuts_data();
    void nameCuts();
};

void TransferCodecTest::workedFrames_data()
{
    QTest::addColumn<EepromCommand>("command");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("LinkOn") << EepromCommand::linkOn() << QByteArray("01040001FA");
    QTest::newRow("LinkOff") << EepromCommand::linkOff() << QByteArray("01040000FB");
    QTest::newRow("EepromOn") << EepromCommand::eepromOn() << QByteArray("01240001DA");
    QTest::newRow("EepromOff") << EepromCommand::eepromOff() << QByteArray("01240000DB");
    QTest::newRow("EraseBlock 2") << EepromCommand::eraseBlock(2) << QByteArray("01260102 0000D6");
    QTest::newRow("WriteStart 2") << EepromCommand::writeStart(2) << QByteArray("0125020200D6");
    QTest::newRow("ReadStart 1") << EepromCommand::readStart(1) << QByteArray("0125030100D6");
    QTest::newRow("PageCount 1") << EepromCommand::pageCount(1) << QByteArray("0125040001D5");
    QTest::newRow("BlockCheck 5A") << EepromCommand::blockCheck(0x5A) << QByteArray("0124055A7C");
    QTest::newRow("BlockAck 5A") << EepromCommand::blockAck(true, 0x5A) << QByteArray("012506015A79");
}

void TransferCodecTest::workedFrames()
{
    QFETCH(EepromCommand, command);
    QFETCH(QByteArray, hex);
    QCOMPARE(frameBytes(command).toHex().toUpper(), QByteArray::fromHex(hex).toHex().toUpper());
    // The rest of the report stays 0xFF.
    for (size_t i = size_t(command.length); i < command.frame.size(); ++i)
        QCOMPARE(command.frame[i], quint8(0xFF));
}

void TransferCodecTest::dataBlockSplitAndChecksum()
{
    QByteArray block(128, 0);
    for (int i = 0; i < 128; ++i)
        block[i] = char(i);
    const auto *bytes = reinterpret_cast<const quint8 *>(block.constData());
    const auto reports = splitDataBlock(std::span(bytes, 128));
    QByteArray joined;
    for (const auto &report : reports) {
        QCOMPARE(report[0], quint8(0x02));
        joined.append(reinterpret_cast<const char *>(report.data() + 1), 24);
    }
    QCOMPARE(joined.left(128), block);
    QCOMPARE(joined.mid(128), QByteArray(16, char(0xFF))); // the sixth report: 8 bytes, then 0xFF

    QCOMPARE(dataBlockChecksum(std::span(reinterpret_cast<const quint8 *>(QByteArray(128, 0).constData()), 128)), quint8(0xFF));
    const QByteArray ff(128, char(0xFF));
    QCOMPARE(dataBlockChecksum(std::span(reinterpret_cast<const quint8 *>(ff.constData()), 128)), quint8(0x7F));
    // A short block is summed with its 0xFF padding: 44 zero bytes + 84 x 0xFF.
    const QByteArray shortBlock(44, 0);
    const quint8 expected = quint8(~quint8(84 * 0xFF));
    QCOMPARE(dataBlockChecksum(std::span(reinterpret_cast<const quint8 *>(shortBlock.constData()), 44)), expected);
}

void TransferCodecTest::regions_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count"); // 0: no region (invalid layout)
    const QByteArray shipped = tableWithStarts({10, 20, 30, 40, 50});
    QTest::newRow("ring: blocks 2..B1-1") << shipped << 0 << 2 << 8;
    QTest::newRow("music 1") << shipped << 1 << 10 << 10;
    QTest::newRow("music 5 ends at 63") << shipped << 5 << 50 << 14;
    QTest::newRow("B5 = 63") << tableWithStarts({3, 4, 5, 6, 63}) << 5 << 63 << 1;
    QTest::newRow("B1 = 3 smallest") << tableWithStarts({3, 4, 5, 6, 7}) << 0 << 2 << 1;
    QTest::newRow("0xFF entries (short info.ini)") << tableWithStarts({10, 20, 30}) << 0 << 0 << 0;
    QTest::newRow("B1 = 2 leaves no ring") << tableWithStarts({2, 20, 30, 40, 50}) << 1 << 0 << 0;
    QTest::newRow("out of order") << tableWithStarts({10, 30, 20, 40, 50}) << 1 << 0 << 0;
    QTest::newRow("equal starts") << tableWithStarts({10, 20, 20, 40, 50}) << 2 << 0 << 0;
    QTest::newRow("negative (signed byte)") << tableWithStarts({0x80, 20, 30, 40, 50}) << 0 << 0 << 0;
    QTest::newRow("B5 = 64") << tableWithStarts({10, 20, 30, 40, 64}) << 5 << 0 << 0;
}

void TransferCodecTest::regions()
{
    QFETCH(QByteArray, table);
    QFETCH(int, slot);
    QFETCH(int, first);
    QFETCH(int, count);
    const auto region = InfoTable(table).region(slot);
    if (count == 0) {
        QVERIFY(!region);
        return;
    }
    QVERIFY(region);
    QCOMPARE(region->firstBlock, first);
    QCOMPARE(region->blockCount, count);
    QCOMPARE(region->usableBytes(), count * 65536 - 768);
}

void TransferCodecTest::musicEntry()
{
    InfoTable table(tableWithStarts({10, 20, 30, 40, 50}));
    const QByteArray before = table.bytes();
    table.setMusicLength(3, 0x0123);
    QCOMPARE(table.bytes().mid(68, 4), QByteArray::fromHex("1E000123")); // B3, 0, pages
    QCOMPARE(table.bytes().left(68), before.left(68)); // slot 0's entries and the rest untouched
    QCOMPARE(table.bytes().mid(72), before.mid(72));
    QCOMPARE(InfoTable::slotFromName(QStringLiteral("音樂5")), 5);
    QCOMPARE(InfoTable::slotFromName(QStringLiteral("一般鈴聲")), 0);
    QVERIFY(!InfoTable::slotFromName(QString()));
    QVERIFY(InfoTable(QByteArray::fromHex("FF00")).isInitialized());
    QVERIFY(!InfoTable().isInitialized());
}

void TransferCodecTest::infoIni_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("entries"); // hex
    QTest::addColumn<int>("errorLine");      // 0: parsed
    QTest::newRow("address and length") << QByteArray("[info]\naddress=0x0200\nlength=0x0400\n")
                                        << QByteArray("02000400") << 0;
    QTest::newRow("space after the equals sign") << QByteArray("[info]\naddress= 0x0200\n")
                                                 << QByteArray("1020") << 0;
    QTest::newRow("spaces before the equals sign, CRLF")
        << QByteArray("[info]\r\naddress   =0x0A0b\r\n") << QByteArray("0A0B") << 0;
    QTest::newRow("digits up to z, modulo 256") << QByteArray("[info]\nlength=0xzz1G\n") << QByteArray("5320") << 0;
    QTest::newRow("other characters count 0") << QByteArray("[info]\nlength=0x-!#1\n") << QByteArray("0001") << 0;
    QTest::newRow("lines before the section") << QByteArray("name=box\naddress=0x0102\n[info]\nlength=0x0304\n")
                                              << QByteArray("0304") << 0;
    QTest::newRow("unknown key before any known one") << QByteArray("[info]\nmode=0x0909\naddress=0x0102\n")
                                                      << QByteArray("0102") << 0;
    QTest::newRow("unknown key carries the last kind")
        << QByteArray("[info]\naddress=0x0102\nmode=0x0304\n") << QByteArray("01020304") << 0;
    QTest::newRow("key without value names its line") << QByteArray("[info]\naddress=0x0102\nlength\n")
                                                       << QByteArray() << 3;
    QTest::newRow("short value names its line") << QByteArray("[info]\naddress=0x2\n") << QByteArray() << 2;
    QTest::newRow("over-long line") << QByteArray("[info]\naddress=0x0102" + QByteArray(80, ' ') + "\n")
                                    << QByteArray() << 2;
    QByteArray many("[info]\n");
    for (int i = 0; i < 41; ++i)
        many += "address=0x" + QByteArray::number(0x100 + i, 16).rightJustified(4, '0') + "\n";
    QByteArray first20;
    for (int i = 0; i < 40; ++i)
        first20 += QByteArray::number(0x100 + i, 16).rightJustified(4, '0');
    QTest::newRow("80 bytes at most: a 41st value is ignored") << many << first20 << 0;
}

void TransferCodecTest::infoIni()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, entries);
    QFETCH(int, errorLine);
    const InfoIniResult result = parseInfoIni(text);
    if (errorLine) {
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QStringLiteral("line %1").arg(errorLine)), qPrintable(result.error));
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.entries.toHex(), entries.toLower());
}

void TransferCodecTest::riffWalker_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("boxFormat");
    QTest::addColumn<qint64>("dataOffset");
    QTest::addColumn<qint64>("dataLength");
    const QByteArray muLaw = fmt(7, 1, 16000, 8);
    QTest::newRow("mu-law 16k mono") << riff(muLaw + chunk("data", "abcd")) << true << qint64(46) << qint64(4);
    QTest::newRow("a chunk between, odd size padded")
        << riff(muLaw + chunk("LIST", "xyz") + chunk("data", "ab")) << true << qint64(58) << qint64(2);
    QTest::newRow("data size larger than the file is clamped")
        << riff(muLaw + chunk("data", "abcd", 1 << 30)) << true << qint64(46) << qint64(4);
    QTest::newRow("PCM is not the box's format") << riff(fmt(1, 1, 16000, 8) + chunk("data", "ab"))
                                                 << false << qint64(46) << qint64(2);
    QTest::newRow("stereo") << riff(fmt(7, 2, 16000, 8) + chunk("data", "ab")) << false << qint64(46) << qint64(2);
    QTest::newRow("data before fmt") << riff(chunk("data", "ab") + muLaw) << false << qint64(0) << qint64(0);
    QTest::newRow("no data") << riff(muLaw) << false << qint64(0) << qint64(0);
    QTest::newRow("fmt too short") << riff(chunk("fmt ", "1234") + chunk("data", "ab")) << false << qint64(0) << qint64(0);
    QTest::newRow("truncated chunk header") << riff(muLaw).append("da") << false << qint64(0) << qint64(0);
    QTest::newRow("not RIFF") << QByteArray("RIFX....WAVE") << false << qint64(0) << qint64(0);
    QTest::newRow("huge chunk size skips past the end") << riff(chunk("JUNK", "", 0xFFFFFFF0) + muLaw + chunk("data", "a"))
                                                        << false << qint64(0) << qint64(0);
}

void TransferCodecTest::riffWalker()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, boxFormat);
    QFETCH(qint64, dataOffset);
    QFETCH(qint64, dataLength);
    const WaveLayout layout = walk(file);
    QCOMPARE(layout.isBoxFormat(), boxFormat);
    if (layout.valid) {
        QCOMPARE(layout.dataOffset, dataOffset);
        QCOMPARE(layout.dataLength, dataLength);
        QCOMPARE(layout.formatRecord.size(), 18);
    }
}

void TransferCodecTest::nameCuts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short") << QStringLiteral("/x/ring.raw") << QStringLiteral("ring.raw");
    QTest::newRow("22 bytes kept") << QStringLiteral("/x/abcdefghijklmnop.raw") << QStringLiteral("abcdefghijklmnop.raw");
    QTest::newRow("ASCII cut at 23") << QStringLiteral("/x/abcdefghijklmnopqrstuvwxyz.raw")
                                     << QStringLiteral("abcdefghijklmnopqrstuvw...");
    // 8 characters of 3 bytes each = 24 bytes: 7 whole characters fit in 23.
    QTest::newRow("UTF-8 never split") << QStringLiteral("/x/一二三四五六七八.raw")
                                       << QStringLiteral("一二三四五六七...");
}

void TransferCodecTest::nameCuts()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(TransferRun::displayName(path), shown);
    QCOMPARE(TransferRun::cutUtf8(QStringLiteral("a😀b"), 4), QStringLiteral("a")); // no half pair
}

QTEST_GUILESS_MAIN(TransferCodecTest)
#include "tst_transfer_codec.moc"
