// SPDX-License-Identifier: GPL-3.0-or-later
// The command device, the reader thread and BoxLink against the simulated box: whole reports
// out, one report per reply, event order across threads, removal during a blocked read,
// arrival and removal, suspend/resume around a transfer.
#include "device/BoxLink.h"
#include "device/CommandFrame.h"
#include "device/EventReport.h"
#include "device/ReaderThread.h"
#include "device/UsbHidDevice.h"
#include "sim/SimulatedBox.h"

#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {
constexpr int WaitMs = 5000; // generous: only the failure case waits this long
const CommandFrame::Buffer LinkOn = CommandFrame::build(0, {0x00, 0x01});

QByteArray bytes(std::span<const quint8> data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

// A box and the link watching it, with what the link told the window.
struct Linked {
    SimulatedBox box;
    BoxLink link{box};
    QSignalSpy found{&link, &BoxLink::boxFound};
    QSignalSpy lost{&link, &BoxLink::boxLost};
    QSignalSpy listening{&link, &BoxLink::readerListening};
    QSignalSpy unreadable{&link, &BoxLink::boxUnreadable};
    QList<EventPair> pairs;
    Linked() { QObject::connect(&link, &BoxLink::eventPair, &link, [this](quint8 c, quint8 v) { pairs.append({c, v}); }); }
    // One event sent by the box reaches eventPair().
    bool eventArrives(quint8 code)
    {
        const qsizetype before = pairs.size();
        box.sendEvent({{code, 0x41}});
        return QTest::qWaitFor([&] { return pairs.size() > before; }, WaitMs) && pairs.mid(before) == QList<EventPair>{{code, 0x41}};
    }
};
} // namespace

class TestDeviceLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandDeviceWritesWholeReports();
    void replyTakesOneReport_data();
    void replyTakesOneReport();
    void readerKeepsOrderAndEndsOnRemoval();
    void arrivalAndRemoval();
    void replugBetweenNotificationsRestartsTheReader();
    void suspendLetsATransferReadReplies();
    void unopenableBoxIsReportedOnceAndRetried();
    void readErrorsAndSilentReplugsReopen();
    void stopWakesAWaitingRead();
};

void TestDeviceLink::commandDeviceWritesWholeReports()
{
    SimulatedBox box;
    box.plug();
    UsbHidDevice device(box);
    QCOMPARE(device.Open(), 0);
    QCOMPARE(device.WriteFrame(std::span(LinkOn).first(5), 5), 25); // one report, padded with 0xFF
    const std::vector<quint8> bulk(26, 0x02);
    QCOMPARE(device.WriteFrame(bulk, 26), 50);
    const QList<QByteArray> reports{bytes(LinkOn), bytes(bulk).left(25), bytes(bulk).left(1) + QByteArray(24, char(0xFF))};
    QCOMPARE(box.outputReports(), reports);

    // The box vanishes after the first of two reports: the count says what went out.
    box.setFaults({.vanishOnNextCommand = true});
    QCOMPARE(device.WriteReports(std::vector<quint8>(50, 0x01), 50), 25);
    QCOMPARE(device.WriteFrame(LinkOn, 5), 0);
}

void TestDeviceLink::replyTakesOneReport_data()
{
    QTest::addColumn<int>("length");
    for (int length : {4, 5, 7, 8})
        QTest::addRow("%d bytes", length) << length;
}

void TestDeviceLink::replyTakesOneReport()
{
    QFETCH(int, length);
    SimulatedBox box;
    box.plug();
    UsbHidDevice device(box);
    QList<EventPair> pairs;
    device.setEventSink([&](quint8 c, quint8 v) { pairs.append({c, v}); });
    QCOMPARE(device.Open(), 0);
    CommandFrame::Buffer buffer;
    buffer.fill(0xEE);
    const QByteArray untouched(17, char(0xEE));

    // An event comes first; the reply comes late (the timeout reaches the connection).
    box.setFaults({.replyDelayMs = 100});
    box.sendEvent({{0x90, 0x02}, {0xA1, 0x01}});
    device.WriteFrame(LinkOn, 5);
    QCOMPARE(device.ReadReply(buffer, length, 1, WaitMs), 0);
    QCOMPARE(pairs, (QList<EventPair>{{0x90, 0x02}, {0xA1, 0x01}}));
    QCOMPARE(device.ReadReply(buffer, length, 1, WaitMs), 8);
    QCOMPARE(bytes(buffer), QByteArray::fromHex("01040001FAFFFFFF") + untouched);

    // A bad checksum fails with the bytes left as read; the next report waits its turn.
    box.sendReport(QByteArray::fromHex("01040001FB"));
    box.sendReport(QByteArray::fromHex("01040001FA"));
    QCOMPARE(device.ReadReply(buffer, length, 1), 0);
    QCOMPARE(bytes(buffer), QByteArray::fromHex("01040001FBFFFFFF") + untouched);
    QCOMPARE(device.ReadReply(buffer, length, 1), 8);
    // No report: 0, and the valid frame still in the buffer is not judged again.
    QCOMPARE(device.ReadReply(buffer, length, 1), 0);
    QCOMPARE(bytes(buffer), QByteArray::fromHex("01040001FAFFFFFF") + untouched);
    QCOMPARE(pairs.size(), 2);

    box.sendEvent({{0x90, 0x02}}); // a short buffer is never overrun
    std::array<quint8, 4> small{};
    QCOMPARE(device.ReadReports(small, 8), 4);
}

void TestDeviceLink::readerKeepsOrderAndEndsOnRemoval()
{
    SimulatedBox box;
    box.plug();
    ReaderThread reader(box, box.devicePath(), 60'000); // blocked in a long read when pulled
    QList<EventPair> received;
    bool onMainThread = true;
    QObject context;
    connect(&reader, &ReaderThread::eventPair, &context, [&](quint8 c, quint8 v) {
        onMainThread = onMainThread && QThread::currentThread() == qApp->thread();
        received.append({c, v});
    });
    QSignalSpy opened(&reader, &ReaderThread::opened);
    QSignalSpy gone(&reader, &ReaderThread::deviceGone);
    reader.start();
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, WaitMs);

    // 1..3 pairs per report, numbered so that any loss, duplicate or reordering shows.
    QList<EventPair> sent;
    for (int i = 0; i < 1000; ++i) {
        if (i % 16 == 0) // the box's queue holds 64 reports, like hidraw's: keep within it
            QVERIFY(QTest::qWaitFor([&] { return received.size() == sent.size(); }, WaitMs));
        QList<std::pair<quint8, quint8>> pairs;
        for (int k = 0; k <= i % 3; ++k) {
            sent.append({quint8(sent.size() & 0xFF), quint8(sent.size() >> 8)});
            pairs.append({sent.last().code, sent.last().value});
        }
        box.sendEvent(pairs);
        if (i % 97 == 0) { // noise the reader skips: another report ID, an unknown byte 1, a reply
            for (const char *noise : {"0245010203040506", "0144010203040506", "01040001FA"})
                box.sendReport(QByteArray::fromHex(noise));
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), sent.size(), WaitMs);
    QCOMPARE(received, sent);
    QVERIFY(onMainThread);

    box.unplug();
    QVERIFY(reader.wait(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(gone.count(), 1, WaitMs);
}

void TestDeviceLink::arrivalAndRemoval()
{
    Linked l;
    l.link.start();
    l.box.plug();
    QVERIFY(l.link.isPresent() && l.link.isReaderRunning());
    QCOMPARE(l.found.count(), 0); // posted, like a message: the window finishes its set-up first
    QTRY_COMPARE_WITH_TIMEOUT(l.found.count(), 1, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 1, WaitMs);
    QVERIFY(l.eventArrives(0x31));
    QCOMPARE(l.link.commandDevice().Open(), 0);
    Q_EMIT l.box.devicesChanged(); // another HID device coming or going changes nothing
    QVERIFY(l.link.isPresent());

    bool stateWhenLost = true;
    connect(&l.link, &BoxLink::boxLost, &l.link, [&] {
        stateWhenLost = l.link.isPresent() || l.link.isReaderRunning() || l.link.commandDevice().IsOpen();
    });
    l.box.unplug();
    QCOMPARE(l.lost.count(), 1);
    QVERIFY2(!stateWhenLost, "present, reading or open when boxLost was emitted");

    l.box.plug();
    QTRY_COMPARE_WITH_TIMEOUT(l.found.count(), 2, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 2, WaitMs);
    QVERIFY(l.eventArrives(0x32));
}

void TestDeviceLink::replugBetweenNotificationsRestartsTheReader()
{
    Linked l;
    l.box.plug();
    l.link.start();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 1, WaitMs);
    QCOMPARE(l.link.commandDevice().Open(), 0);
    l.box.blockSignals(true); // out and back in before the first notification is handled
    l.box.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!l.link.isReaderRunning(), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!l.link.commandDevice().IsOpen(), WaitMs); // its node is gone too
    l.box.plug();
    l.box.blockSignals(false);
    Q_EMIT l.box.devicesChanged();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 2, WaitMs);
    QVERIFY(l.eventArrives(0x33));
}

void TestDeviceLink::suspendLetsATransferReadReplies()
{
    Linked l;
    l.box.plug();
    l.link.start();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 1, WaitMs);
    l.link.SuspendReader();
    QVERIFY(!l.link.isReaderRunning()); // ended before SuspendReader returned

    // The transfer's own device: its reply, and an event just before it, reach it alone.
    UsbHidDevice transfer(l.link.transport());
    transfer.setEventSink(l.link.eventSink());
    QCOMPARE(transfer.Open(), 0);
    l.box.sendEvent({{0x90, 0x02}, {0xA1, 0x01}});
    QCOMPARE(transfer.WriteFrame(CommandFrame::build(0, {0x00, 0x01}), 5), 25);
    CommandFrame::Buffer buffer;
    int got = 0;
    for (int attempt = 0; attempt < 10 && got == 0; ++attempt)
        got = transfer.ReadReply(buffer, 4, 1, 200);
    QCOMPARE(got, 8);
    QCOMPARE(buffer[3], quint8(0x01));
    QTRY_COMPARE_WITH_TIMEOUT(l.pairs, (QList<EventPair>{{0x90, 0x02}, {0xA1, 0x01}}), WaitMs);
    transfer.Close();

    // Out and in again while suspended: the reader waits for ResumeReader.
    l.box.unplug();
    l.box.plug();
    QVERIFY(l.link.isPresent() && !l.link.isReaderRunning());
    l.link.ResumeReader();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 2, WaitMs);
    QVERIFY(l.eventArrives(0x34));
}

void TestDeviceLink::unopenableBoxIsReportedOnceAndRetried()
{
    Linked l;
    l.box.plug();
    l.box.setOpenRefused(true); // as without the udev rule
    l.link.start();
    QTRY_COMPARE_WITH_TIMEOUT(l.unreadable.count(), 1, WaitMs);
    QVERIFY(l.link.isPresent() && l.link.isUnreadable());
    // Retried after a second, still refused: no second report, and never "found".
    QTRY_VERIFY_WITH_TIMEOUT(l.link.failedOpens() >= 2, WaitMs);
    QCOMPARE(l.unreadable.count(), 1);
    QCOMPARE(l.found.count(), 0);
    QCOMPARE(l.listening.count(), 0);

    // Access granted: the next device change opens it without waiting for the back-off.
    l.box.setOpenRefused(false);
    Q_EMIT l.box.devicesChanged();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 1, 500);
    QTRY_COMPARE_WITH_TIMEOUT(l.found.count(), 1, WaitMs);
    QVERIFY(!l.link.isUnreadable());
    QVERIFY(l.eventArrives(0x35));
}

void TestDeviceLink::readErrorsAndSilentReplugsReopen()
{
    Linked l;
    l.box.plug();
    l.link.start();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 1, WaitMs);

    // A read fails while the box stays listed: the reader opens it again.
    l.box.failNextRead();
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 2, WaitMs);
    QVERIFY(l.eventArrives(0x36));
    QCOMPARE(l.found.count(), 1);

    // Out and in under the same path with no notification at all: the new identity makes it
    // an arrival (the telephone starts afresh) and the reader listens on the new node.
    l.box.replugSilently();
    QTRY_COMPARE_WITH_TIMEOUT(l.found.count(), 2, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(l.listening.count(), 3, WaitMs);
    QVERIFY(l.eventArrives(0x37));
    QCOMPARE(l.lost.count(), 0);
}

void TestDeviceLink::stopWakesAWaitingRead()
{
    SimulatedBox box;
    box.plug();
    ReaderThread reader(box, box.devicePath(), 60000);
    QSignalSpy opened(&reader, &ReaderThread::opened);
    reader.start();
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, WaitMs);
    QTest::qWait(50); // into its minute-long read
    reader.requestStop();
    QVERIFY2(reader.wait(WaitMs), "the stop waited for the read timeout");
}

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_device_link.moc"
