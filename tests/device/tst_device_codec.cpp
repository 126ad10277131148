// SPDX-License-Identifier: GPL-3.0-or-later
// Command frames, event reports and report descriptors: byte-exact fixtures.
#include "device/CommandFrame.h"
#include "device/EventReport.h"
#include "device/ReportDescriptor.h"

#include <QTest>

using namespace dpx;

namespace {

QByteArray bytes(std::span<const quint8> data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

std::span<const quint8> span(const QByteArray &data)
{
    return {reinterpret_cast<const quint8 *>(data.constData()), size_t(data.size())};
}

QList<EventPair> pairsOf(const EventReport &event)
{
    return QList<EventPair>(event.begin(), event.end());
}

} // namespace

Q_DECLARE_METATYPE(QList<dpx::EventPair>)

class TestDeviceCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frameBytes_data();
    void frameBytes();
    void prepareLeavesBytesAfterTheFrame();
    void frameLengthOutOfRangeIsRefused_data();
    void frameLengthOutOfRangeIsRefused();

    void eventReports_data();
    void eventReports();

    void descriptorLengths_data();
    void descriptorLengths();
};

void TestDeviceCodec::frameBytes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("LinkOn") << 0 << QByteArray::fromHex("0001") << QByteArray::fromHex("01040001FA");
    QTest::newRow("LinkOff") << 0 << QByteArray::fromHex("0000") << QByteArray::fromHex("01040000FB");
    QTest::newRow("EepromOn") << 1 << QByteArray::fromHex("0001") << QByteArray::fromHex("01240001DA");
    QTest::newRow("EraseBlock 2") << 1 << QByteArray::fromHex("01020000") << QByteArray::fromHex("01260102 0000D6");
    QTest::newRow("WriteStart 2") << 1 << QByteArray::fromHex("020200") << QByteArray::fromHex("0125020200D6");
    QTest::newRow("PageCount 1") << 1 << QByteArray::fromHex("040001") << QByteArray::fromHex("0125040001D5");
    QTest::newRow("BlockCheck 5A") << 1 << QByteArray::fromHex("055A") << QByteArray::fromHex("0124055A7C");
    QTest::newRow("BlockAck 5A") << 1 << QByteArray::fromHex("06015A") << QByteArray::fromHex("012506015A79");
    QTest::newRow("key") << 0 << QByteArray::fromHex("049C") << QByteArray::fromHex("0104049C5B");
    QTest::newRow("type bits masked") << 9 << QByteArray::fromHex("0001") << QByteArray::fromHex("01240001DA");
}

void TestDeviceCodec::frameBytes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    const QByteArray padded = frame + QByteArray(25 - frame.size(), char(0xFF));

    // The caller's sequence: fill, set N, Prepare, payload, Seal.
    CommandFrame::Buffer buffer;
    buffer.fill(0xFF);
    CommandFrame commandFrame;
    commandFrame.length = quint32(frame.size());
    QVERIFY(commandFrame.Prepare(buffer, quint8(type)));
    std::copy(payload.begin(), payload.end(), buffer.begin() + 2);
    QVERIFY(commandFrame.Seal(buffer));
    QCOMPARE(bytes(buffer).toHex(' '), padded.toHex(' '));

    QCOMPARE(bytes(CommandFrame::build(quint8(type), span(payload))).toHex(' '), padded.toHex(' '));
}

void TestDeviceCodec::prepareLeavesBytesAfterTheFrame()
{
    CommandFrame::Buffer buffer;
    buffer.fill(0x55);
    CommandFrame frame;
    frame.length = 5;
    QVERIFY(frame.Prepare(buffer, 0));
    QCOMPARE(bytes(buffer).left(5), QByteArray::fromHex("0104FFFFFF"));
    QCOMPARE(bytes(buffer).mid(5), QByteArray(20, 0x55));
}

void TestDeviceCodec::frameLengthOutOfRangeIsRefused_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("bufferSize");
    QTest::newRow("N = 0") << 0 << 25;
    QTest::newRow("N = 2") << 2 << 25;
    QTest::newRow("N = 26") << 26 << 32;
    QTest::newRow("N beyond the buffer") << 7 << 6;
}

void TestDeviceCodec::frameLengthOutOfRangeIsRefused()
{
    QFETCH(int, length);
    QFETCH(int, bufferSize);
    std::vector<quint8> buffer(size_t(bufferSize), 0x55);
    CommandFrame frame;
    frame.length = quint32(length);
    QVERIFY(!frame.Prepare(buffer, 0));
    QVERIFY(!frame.Seal(buffer));
    QVERIFY(std::all_of(buffer.begin(), buffer.end(), [](quint8 b) { return b == 0x55; }));
}

void TestDeviceCodec::eventReports_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QList<EventPair>>("pairs");
    using P = QList<EventPair>;
    QTest::newRow("C: one pair") << QByteArray::fromHex("01439002FFFFFFFF") << P{{0x90, 0x02}};
    QTest::newRow("E: two pairs") << QByteArray::fromHex("01459002A1014444") << P{{0x90, 0x02}, {0xA1, 0x01}};
    QTest::newRow("G: three pairs") << QByteArray::fromHex("0147112233445566")
                                    << P{{0x11, 0x22}, {0x33, 0x44}, {0x55, 0x66}};
    QTest::newRow("report ID 2") << QByteArray::fromHex("0245112233445566") << P{};
    QTest::newRow("other byte 1") << QByteArray::fromHex("0144112233445566") << P{};
    QTest::newRow("reply frame") << QByteArray::fromHex("01040001FAFFFFFF") << P{};
    QTest::newRow("G cut short") << QByteArray::fromHex("01471122334455") << P{};
    QTest::newRow("C with exactly its pair") << QByteArray::fromHex("01437F00") << P{{0x7F, 0x00}};
    QTest::newRow("header only") << QByteArray::fromHex("0143") << P{};
    QTest::newRow("one byte") << QByteArray::fromHex("01") << P{};
    QTest::newRow("empty") << QByteArray() << P{};
}

void TestDeviceCodec::eventReports()
{
    QFETCH(QByteArray, report);
    QFETCH(QList<EventPair>, pairs);
    const EventReport event = EventReport::parse(span(report));
    QCOMPARE(event.isEvent(), !pairs.isEmpty());
    QCOMPARE(pairsOf(event), pairs);
}

void TestDeviceCodec::descriptorLengths_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    // Vendor page, report 1 (7 in / 24 out) and report 2 (7 in / 24 out): the box's layout.
    const QByteArray box = QByteArray::fromHex(
        "0600FF 0901 A101"
        " 8501 7508 9507 0901 8102 9518 0901 9102"
        " 8502 7508 9507 0902 8102 9518 0902 9102"
        " C0");
    QTest::newRow("box") << box << 8 << 25;
    QTest::newRow("cut inside report 2") << box.left(26) << 8 << 25;
    QTest::newRow("cut before any output") << box.left(17) << 8 << 0;
    QTest::newRow("no report IDs") << QByteArray::fromHex("7508 9540 8102 9510 9102") << 65 << 17;
    QTest::newRow("fields add up") << QByteArray::fromHex("8501 7501 9503 8102 7505 9501 8101") << 2 << 0;
    QTest::newRow("push and pop") << QByteArray::fromHex("7508 9507 A4 9510 8102 B4 9102") << 17 << 8;
    QTest::newRow("pop without push") << QByteArray::fromHex("B4 7508 9502 8102") << 3 << 0;
    QTest::newRow("long item skipped") << QByteArray::fromHex("FE0201AAAA 7508 9502 8102") << 3 << 0;
    QTest::newRow("long item cut") << QByteArray::fromHex("7508 9502 8102 FE") << 3 << 0;
    QTest::newRow("huge sizes are capped") << QByteArray::fromHex("77FFFFFFFF 97FFFFFFFF 8102 8102") << 65537 << 0;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
}

void TestDeviceCodec::descriptorLengths()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(int, input);
    QFETCH(int, output);
    const ReportLengths lengths = reportLengthsFromDescriptor(span(descriptor));
    QCOMPARE(lengths.input, input);
    QCOMPARE(lengths.output, output);
}

QTEST_GUILESS_MAIN(TestDeviceCodec)
#include "tst_device_codec.moc"
