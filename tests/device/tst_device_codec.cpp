// SPDX-License-Identifier: GPL-3.0-or-later
// The box's bytes without a device: command frames, the reply rules, report descriptors and
// which HID interface is the box.
#include "device/BoxIdentity.h"
#include "device/BoxPresence.h"
#include "device/CommandFrame.h"
#include "device/EventReport.h"
#include "device/ReportDescriptor.h"
#include "device/UsbHidDevice.h"

#include <QTest>

using namespace dpx;

Q_DECLARE_METATYPE(QList<dpx::EventPair>)

namespace {
QByteArray bytes(std::span<const quint8> data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

std::span<const quint8> span(const QByteArray &data)
{
    return {reinterpret_cast<const quint8 *>(data.constData()), size_t(data.size())};
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
} // namespace

class TestDeviceCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frameBytes_data();
    void frameBytes();
    void frameLengthOutOfRangeIsRefused_data();
    void frameLengthOutOfRangeIsRefused();
    void replyRules_data();
    void replyRules();
    void descriptorLengths_data();
    void descriptorLengths();
    void findBoxTakesTheFirst();
    void presencePollSeesReplugs();
};

void TestDeviceCodec::frameBytes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("LinkOn") << 0 << hex("0001") << hex("01040001FA");
    QTest::newRow("EepromOn") << 1 << hex("0001") << hex("01240001DA");
    QTest::newRow("EraseBlock 2") << 1 << hex("01020000") << hex("012601020000D6");
    QTest::newRow("PageCount 1") << 1 << hex("040001") << hex("0125040001D5");
    QTest::newRow("BlockCheck 5A") << 1 << hex("055A") << hex("0124055A7C");
    QTest::newRow("key") << 0 << hex("049C") << hex("0104049C5B");
}

void TestDeviceCodec::frameBytes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    // The caller's sequence: set N, Prepare, payload, Seal; bytes after the frame stay as they were.
    CommandFrame::Buffer buffer;
    buffer.fill(0x55);
    CommandFrame commandFrame;
    commandFrame.length = quint32(frame.size());
    QVERIFY(commandFrame.Prepare(buffer, quint8(type)));
    std::copy(payload.begin(), payload.end(), buffer.begin() + 2);
    QVERIFY(commandFrame.Seal(buffer));
    QCOMPARE(bytes(buffer).toHex(' '), (frame + QByteArray(25 - frame.size(), 0x55)).toHex(' '));
    const QByteArray built = bytes(CommandFrame::build(quint8(type), span(payload)));
    QCOMPARE(built.toHex(' '), (frame + QByteArray(25 - frame.size(), char(0xFF))).toHex(' '));
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

void TestDeviceCodec::replyRules_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<int>("reportId");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<EventPair>>("pairs");
    using P = QList<EventPair>;
    QTest::newRow("reply passes") << hex("01040001FAFFFFFF") << 1 << 8 << P{};
    QTest::newRow("reply with bad checksum") << hex("01040001FBFFFFFF") << 1 << 0 << P{};
    QTest::newRow("checksum in the last byte") << hex("01071122334455F9") << 1 << 8 << P{};
    QTest::newRow("k = 0") << hex("0100FFFFFFFFFFFF") << 1 << 0 << P{};
    QTest::newRow("k beyond the report") << hex("011F000000000000") << 1 << 0 << P{};
    QTest::newRow("k beyond a short read") << hex("01040001") << 1 << 0 << P{};
    QTest::newRow("unknown byte 1") << hex("0144112233445566") << 1 << 0 << P{};
    QTest::newRow("E event while a reply is awaited") << hex("01459002A101FFFF") << 1 << 0 << P{{0x90, 0x02}, {0xA1, 0x01}};
    QTest::newRow("G event while data is awaited") << hex("0147112233445566") << 2 << 0 << P{{0x11, 0x22}, {0x33, 0x44}, {0x55, 0x66}};
    QTest::newRow("C event, exactly its pair") << hex("01437F00") << 1 << 0 << P{{0x7F, 0x00}};
    QTest::newRow("G event cut short") << hex("01471122334455") << 1 << 0 << P{};
    QTest::newRow("bulk data") << hex("0211223344556677") << 2 << 8 << P{};
    QTest::newRow("short bulk data") << hex("021122") << 2 << 3 << P{};
    QTest::newRow("unknown report ID") << hex("07040001FAFFFFFF") << 1 << 0 << P{};
    QTest::newRow("nothing") << QByteArray() << 1 << 0 << P{};
}

void TestDeviceCodec::replyRules()
{
    QFETCH(QByteArray, report);
    QFETCH(int, reportId);
    QFETCH(int, result);
    QFETCH(QList<EventPair>, pairs);
    QList<EventPair> received;
    const auto sink = [&](quint8 c, quint8 v) { received.append({c, v}); };
    QCOMPARE(UsbHidDevice::judgeReply(span(report), quint8(reportId), sink), result);
    QCOMPARE(received, pairs);
}

void TestDeviceCodec::descriptorLengths_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    // Vendor page, reports 1 and 2 each 7 bytes in and 24 out: the box's layout.
    const QByteArray box = hex("0600FF 0901 A101 8501 7508 9507 0901 8102 9518 0901 9102"
                               " 8502 7508 9507 0902 8102 9518 0902 9102 C0");
    QTest::newRow("box") << box << 8 << 25;
    QTest::newRow("no report IDs") << hex("7508 9540 8102 9510 9102") << 65 << 17;
    QTest::newRow("long item cut") << hex("7508 9502 8102 FE") << 3 << 0;
    QTest::newRow("huge sizes are capped") << hex("77FFFFFFFF 97FFFFFFFF 8102 8102") << 65537 << 0;
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

void TestDeviceCodec::findBoxTakesTheFirst()
{
    const HidDeviceInfo mouse{QStringLiteral("/dev/hidraw0"), 0x046D, 0xC077, 0x0100};
    const HidDeviceInfo sameVendor{QStringLiteral("/dev/hidraw1"), 0x04D9, 0x1234, 0x0100};
    const HidDeviceInfo boxA{QStringLiteral("/dev/hidraw2"), 0x04D9, 0x2851, 0x0100};
    const HidDeviceInfo boxB{QStringLiteral("/dev/hidraw3"), 0x04D9, 0x2851, 0x9999};
    const auto pathOf = [](const QList<HidDeviceInfo> &devices) {
        const auto box = findBox(devices);
        return box ? box->path : QString();
    };
    QCOMPARE(pathOf({sameVendor, boxA, boxB}), boxA.path); // two boxes: the first listed
    QCOMPARE(pathOf({mouse, boxB}), boxB.path); // another version
    QCOMPARE(pathOf({mouse, sameVendor}), QString());
}

void TestDeviceCodec::presencePollSeesReplugs()
{
    const auto box = [](const char *path, const char *identity) {
        return HidDeviceInfo{QString::fromLatin1(path), BoxVendorId, BoxProductId, 0x0100,
                             QString::fromLatin1(identity)};
    };
    const HidDeviceInfo mouse{QStringLiteral("/dev/hidraw0"), 0x046D, 0xC077, 0x0100, QStringLiteral("m1")};
    const HidDeviceInfo otherMouse{QStringLiteral("/dev/hidraw0"), 0x046D, 0xC077, 0x0100, QStringLiteral("m2")};
    BoxPresence presence;
    const QList<std::pair<QList<HidDeviceInfo>, bool>> looks{
        {{mouse}, false},                                    // no box, as before
        {{mouse, box("/dev/hidraw2", "a.0001#10")}, true},   // arrival
        {{box("/dev/hidraw2", "a.0001#10"), mouse}, false},  // same box, listed elsewhere
        {{otherMouse, box("/dev/hidraw2", "a.0001#10")}, false}, // another device replugged
        {{box("/dev/hidraw2", "a.0002#11")}, true},          // out and in under the same path
        {{box("/dev/hidraw3", "a.0002#11")}, true},          // another path
        {{mouse}, true},                                     // removal
    };
    int look = 0;
    for (const auto &[devices, changed] : looks)
        QVERIFY2(presence.update(devices) == changed, qPrintable(QString::number(look++)));
}

QTEST_GUILESS_MAIN(TestDeviceCodec)
#include "tst_device_codec.moc"
