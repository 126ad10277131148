// SPDX-License-Identifier: GPL-3.0-or-later
// UsbHidDevice against a scripted connection: discovery, writes, reads and the reply rules.
#include "FakeHid.h"

#include "device/CommandFrame.h"
#include "device/EventReport.h"
#include "device/HidapiTransport.h"
#include "device/UsbHidDevice.h"

#include <QTest>

using namespace dpx;
using namespace dpx::test;

Q_DECLARE_METATYPE(QList<dpx::EventPair>)
Q_DECLARE_METATYPE(QList<dpx::HidDeviceInfo>)

namespace {

QByteArray bytes(std::span<const quint8> data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

struct OpenDevice {
    FakeTransport transport;
    UsbHidDevice device{transport};
    QList<EventPair> pairs;
    OpenDevice()
    {
        transport.addBox(QStringLiteral("/dev/box"));
        device.setEventSink([this](quint8 c, quint8 v) { pairs.append({c, v}); });
        QCOMPARE_NE(device.Open(), -1);
    }
    void queue(const char *hexReport) { transport.line->inputs.append(hex(hexReport)); }
};

} // namespace

class TestUsbHidDevice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detectTakesTheFirstBox_data();
    void detectTakesTheFirstBox();
    void openAndClose();
    void openFailures();

    void writeFrame_data();
    void writeFrame();
    void writeStopsAtAFailedReport();
    void writeWhenClosed();

    void readReportsNothingQueued();
    void readReportsWholeReports();
    void readTimeoutReachesTheConnection();

    void replyRules_data();
    void replyRules();
    void replyReadsOneReport_data();
    void replyReadsOneReport();
    void replyOfAClosedDevice();

    void systemTransportRefusesWhatIsNotHid();
};

void TestUsbHidDevice::detectTakesTheFirstBox_data()
{
    QTest::addColumn<QList<HidDeviceInfo>>("devices");
    QTest::addColumn<QString>("path");
    const HidDeviceInfo mouse{QStringLiteral("/dev/hidraw0"), 0x046D, 0xC077, 0x0100};
    const HidDeviceInfo sameVendor{QStringLiteral("/dev/hidraw1"), 0x04D9, 0x1234, 0x0100};
    const HidDeviceInfo boxA{QStringLiteral("/dev/hidraw2"), 0x04D9, 0x2851, 0x0100};
    const HidDeviceInfo boxB{QStringLiteral("/dev/hidraw3"), 0x04D9, 0x2851, 0x0100};
    const HidDeviceInfo otherVersion{QStringLiteral("/dev/hidraw4"), 0x04D9, 0x2851, 0x9999};
    QTest::newRow("two boxes: the first listed") << QList{mouse, boxB, boxA} << boxB.path;
    QTest::newRow("after lookalikes") << QList{sameVendor, mouse, boxA} << boxA.path;
    QTest::newRow("another version") << QList{mouse, otherVersion} << otherVersion.path;
    QTest::newRow("no box") << QList{mouse, sameVendor} << QString();
    QTest::newRow("nothing attached") << QList<HidDeviceInfo>{} << QString();
}

void TestUsbHidDevice::detectTakesTheFirstBox()
{
    QFETCH(QList<HidDeviceInfo>, devices);
    QFETCH(QString, path);
    FakeTransport transport;
    transport.devices = devices;
    UsbHidDevice device(transport);
    QCOMPARE(device.Detect(), !path.isEmpty());
    QCOMPARE(device.devicePath(), path);
}

void TestUsbHidDevice::openAndClose()
{
    FakeTransport transport;
    transport.addBox(QStringLiteral("/dev/box"));
    transport.inLength = 9;
    transport.outLength = 30;
    UsbHidDevice device(transport);
    QVERIFY(!device.IsOpen());
    device.Close(); // closed: harmless
    QCOMPARE_NE(device.Open(), -1);
    QVERIFY(device.IsOpen());
    QCOMPARE(device.inputReportLength(), 9);
    QCOMPARE(device.outputReportLength(), 30);
    QCOMPARE(device.devicePath(), QStringLiteral("/dev/box"));
    device.Close();
    QVERIFY(!device.IsOpen());
    QVERIFY(device.devicePath().isEmpty());
    device.Close();
    QVERIFY(!device.IsOpen());
}

void TestUsbHidDevice::openFailures()
{
    FakeTransport transport;
    UsbHidDevice device(transport);
    QCOMPARE(device.Open(), -1); // no box

    // Listed, but the transport refuses to open it.
    struct Refusing : FakeTransport {
        std::unique_ptr<HidConnection> open(const QString &) override { return nullptr; }
    } refusing;
    refusing.addBox(QStringLiteral("/dev/box"));
    UsbHidDevice refused(refusing);
    QCOMPARE(refused.Open(), -1);
    QVERIFY(!refused.IsOpen());
}

void TestUsbHidDevice::writeFrame_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<QByteArray>>("reports");
    QTest::addColumn<int>("result");
    const QByteArray frame = QByteArray::fromHex("01040001FA") + QByteArray(20, char(0xFF));
    QTest::newRow("5-byte frame: one report") << frame << 5 << QList{frame} << 25;
    QTest::newRow("N - 1 still carries the checksum") << frame << 4 << QList{frame} << 25;
    QTest::newRow("a whole report") << frame << 25 << QList{frame} << 25;
    QTest::newRow("short buffer padded with 0xFF") << frame.left(5) << 5 << QList{frame} << 25;

    QByteArray bulk(50, 0);
    bulk[0] = 0x02;
    bulk[25] = 0x02;
    for (int i = 1; i < 25; ++i) {
        bulk[i] = char(i);
        bulk[25 + i] = char(100 + i);
    }
    QTest::newRow("bulk: two reports") << bulk << 50 << QList{bulk.left(25), bulk.mid(25)} << 50;
    QTest::newRow("26 bytes: second report padded")
        << bulk.left(26) << 26 << QList{bulk.left(25), bulk.mid(25, 1) + QByteArray(24, char(0xFF))} << 50;
    QTest::newRow("nothing to write") << frame << 0 << QList<QByteArray>{} << 0;
}

void TestUsbHidDevice::writeFrame()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, length);
    QFETCH(QList<QByteArray>, reports);
    QFETCH(int, result);
    OpenDevice d;
    const std::span data(reinterpret_cast<const quint8 *>(buffer.constData()), size_t(buffer.size()));
    QCOMPARE(d.device.WriteFrame(data, length), result);
    QCOMPARE(d.transport.line->outputs, reports);
}

void TestUsbHidDevice::writeStopsAtAFailedReport()
{
    OpenDevice d;
    d.transport.line->failWritesAfter = 1;
    std::vector<quint8> data(75, 0x02);
    QCOMPARE(d.device.WriteReports(data, 75), 25);
    QCOMPARE(d.transport.line->outputs.size(), 1);

    d.transport.line->failWritesAfter = 1; // the very first write fails
    d.transport.line->outputs.clear();
    d.transport.line->gone = true;
    QCOMPARE(d.device.WriteFrame(CommandFrame::build(0, {0x00, 0x01}), 5), 0);
}

void TestUsbHidDevice::writeWhenClosed()
{
    FakeTransport transport;
    UsbHidDevice device(transport);
    QCOMPARE(device.WriteFrame(CommandFrame::build(0, {0x00, 0x01}), 5), 0);
    QCOMPARE(device.WriteReports(CommandFrame::build(0, {0x00, 0x01}), 25), 0);
}

void TestUsbHidDevice::readReportsNothingQueued()
{
    OpenDevice d;
    std::array<quint8, 25> buffer;
    buffer.fill(0xFF);
    QCOMPARE(d.device.ReadReports(buffer, 8), 0);
    QVERIFY(std::all_of(buffer.begin(), buffer.end(), [](quint8 b) { return b == 0xFF; }));
    QCOMPARE(d.transport.line->lastTimeoutMs, 0); // never waits by default
}

void TestUsbHidDevice::readReportsWholeReports()
{
    OpenDevice d;
    std::array<quint8, 25> buffer;
    buffer.fill(0xEE);
    d.queue("0211111111111111");
    d.queue("0222222222222222");
    d.queue("0233333333333333");
    QCOMPARE(d.device.ReadReports(buffer, 16), 16);
    QCOMPARE(bytes(buffer).left(17), hex("0211111111111111 0222222222222222 EE"));
    QCOMPARE(d.transport.line->inputs.size(), 1); // the third stays queued

    // Fewer reports than asked: what arrived is counted, not thrown away.
    QCOMPARE(d.device.ReadReports(buffer, 16), 8);
    QCOMPARE(bytes(buffer).left(8), hex("0233333333333333"));

    // A short report ends the read; the buffer never overflows.
    d.queue("0244");
    d.queue("0255555555555555");
    QCOMPARE(d.device.ReadReports(buffer, 24), 2);
    std::array<quint8, 4> small{};
    QCOMPARE(d.device.ReadReports(small, 8), 4);
    QCOMPARE(bytes(small), hex("02555555"));
}

void TestUsbHidDevice::readTimeoutReachesTheConnection()
{
    OpenDevice d;
    std::array<quint8, 8> buffer{};
    d.device.ReadReports(buffer, 8, 30);
    QCOMPARE(d.transport.line->lastTimeoutMs, 30);
    d.device.ReadReply(buffer, 8, 1, 20);
    QCOMPARE(d.transport.line->lastTimeoutMs, 20);
}

void TestUsbHidDevice::replyRules_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<int>("reportId");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<EventPair>>("pairs");
    using P = QList<EventPair>;
    QTest::newRow("reply passes") << hex("01040001FAFFFFFF") << 1 << 8 << P{};
    QTest::newRow("reply with bad checksum") << hex("01040001FBFFFFFF") << 1 << 0 << P{};
    QTest::newRow("checksum in the last byte") << hex("01071122334455F9") << 1 << 8 << P{};
    QTest::newRow("box checksum frame") << hex("012406A530FFFFFF") << 1 << 8 << P{};
    QTest::newRow("k = 0") << hex("0100FFFFFFFFFFFF") << 1 << 0 << P{};
    QTest::newRow("k = 1") << hex("0101FFFFFFFFFFFF") << 1 << 0 << P{};
    QTest::newRow("k beyond the report") << hex("011F000000000000") << 1 << 0 << P{};
    QTest::newRow("k beyond a short read") << hex("01040001") << 1 << 0 << P{};
    QTest::newRow("one byte") << hex("01") << 1 << 0 << P{};
    QTest::newRow("event while a reply is awaited")
        << hex("01459002A101FFFF") << 1 << 0 << P{{0x90, 0x02}, {0xA1, 0x01}};
    QTest::newRow("event while data is awaited") << hex("01438E01FFFFFFFF") << 2 << 0 << P{{0x8E, 0x01}};
    QTest::newRow("bulk data") << hex("0211223344556677") << 2 << 8 << P{};
    QTest::newRow("short bulk data") << hex("021122") << 2 << 3 << P{};
    QTest::newRow("data when a reply is awaited") << hex("0211223344556677") << 1 << 0 << P{};
    QTest::newRow("reply when data is awaited") << hex("01040001FAFFFFFF") << 2 << 0 << P{};
    QTest::newRow("unknown report ID") << hex("07040001FAFFFFFF") << 1 << 0 << P{};
}

void TestUsbHidDevice::replyRules()
{
    QFETCH(QByteArray, report);
    QFETCH(int, reportId);
    QFETCH(int, result);
    QFETCH(QList<EventPair>, pairs);
    OpenDevice d;
    d.transport.line->inputs.append(report);
    CommandFrame::Buffer buffer;
    buffer.fill(0xFF);
    QCOMPARE(d.device.ReadReply(buffer, 8, quint8(reportId)), result);
    QCOMPARE(d.pairs, pairs);
    // Whatever the verdict, the report stays in the buffer as read.
    QCOMPARE(bytes(buffer).left(report.size()), report);
    QCOMPARE(bytes(buffer).mid(report.size()), QByteArray(25 - report.size(), char(0xFF)));
}

void TestUsbHidDevice::replyReadsOneReport_data()
{
    QTest::addColumn<int>("length");
    for (int length : {1, 4, 5, 7, 8})
        QTest::addRow("%d bytes", length) << length;
}

void TestUsbHidDevice::replyReadsOneReport()
{
    QFETCH(int, length);
    OpenDevice d;
    d.queue("01040001FAFFFFFF");
    d.queue("01240001DAFFFFFF");
    CommandFrame::Buffer buffer;
    buffer.fill(0xFF);
    QCOMPARE(d.device.ReadReply(buffer, length, 1), 8);
    QCOMPARE(d.transport.line->inputs.size(), 1);
    QCOMPARE(bytes(buffer).mid(8), QByteArray(17, char(0xFF)));
}

void TestUsbHidDevice::replyOfAClosedDevice()
{
    FakeTransport transport;
    UsbHidDevice device(transport);
    CommandFrame::Buffer buffer;
    buffer.fill(0xFF);
    // A stale frame in the buffer is not judged again when nothing was read.
    std::copy_n(CommandFrame::build(0, {0x00, 0x01}).begin(), 5, buffer.begin());
    QCOMPARE(device.ReadReply(buffer, 8, 1), 0);
    OpenDevice d;
    d.queue("01459002A101FFFF");
    QCOMPARE(d.device.ReadReply(buffer, 8, 1), 0);
    buffer.fill(0xFF);
    std::copy_n(hex("01459002A101").constData(), 6, buffer.begin());
    QCOMPARE(d.device.ReadReply(buffer, 8, 1), 0);
    QCOMPARE(d.pairs.size(), 2); // the stale event was not handed on a second time
}

void TestUsbHidDevice::systemTransportRefusesWhatIsNotHid()
{
    HidapiTransport transport;
    for (const HidDeviceInfo &info : transport.enumerate())
        QVERIFY(!info.path.isEmpty());
    QVERIFY(!transport.open(QString()));
    QVERIFY(!transport.open(QStringLiteral("/nonexistent/hidraw99")));
    UsbHidDevice device(transport);
    if (!device.Detect())
        QCOMPARE(device.Open(), -1); // no box on this machine: the failure is reported, not hidden
}

QTEST_GUILESS_MAIN(TestUsbHidDevice)
#include "tst_device_usbhid.moc"
