// SPDX-License-Identifier: GPL-3.0-or-later
// The reader thread and BoxLink against the simulated box: event order across threads,
// suspend/resume around a transfer, arrival and removal.
#include "device/BoxLink.h"
#include "device/CommandFrame.h"
#include "device/EventReport.h"
#include "device/ReaderThread.h"
#include "device/UsbHidDevice.h"
#include "sim/SimulatedBox.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace dpx;

namespace {

constexpr int WaitMs = 5000; // generous: only the failure case waits this long

// Collects pairs on the thread it lives on (the test's main thread).
struct PairCollector {
    QList<EventPair> pairs;
    bool allOnMainThread = true;
    void add(quint8 code, quint8 value)
    {
        allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
        pairs.append({code, value});
    }
};

// 1..3 pairs per report, numbered so that any loss, duplicate or reordering shows.
QList<QList<std::pair<quint8, quint8>>> numberedReports(int count)
{
    QList<QList<std::pair<quint8, quint8>>> reports;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        QList<std::pair<quint8, quint8>> pairs;
        for (int k = 0; k <= i % 3; ++k, ++n)
            pairs.append({quint8(n & 0xFF), quint8(n >> 8)});
        reports.append(pairs);
    }
    return reports;
}

QList<EventPair> flatten(const QList<QList<std::pair<quint8, quint8>>> &reports)
{
    QList<EventPair> pairs;
    for (const auto &report : reports) {
        for (const auto &[code, value] : report)
            pairs.append({code, value});
    }
    return pairs;
}

} // namespace

class TestDeviceLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readerKeepsOrderAcrossThreads();
    void readerStopsOnRequest();
    void readerEndsWhenTheBoxIsPulled();
    void readerEndsQuietlyWhenItCannotOpen();

    void startFindsThePluggedBox();
    void startWithoutBox();
    void discoveryTakesTheFirstBox();
    void arrivalAndRemoval();
    void replugBetweenNotificationsRestartsTheReader();
    void suspendLetsATransferReadReplies();
    void arrivalWhileSuspendedWaitsForResume();
};

void TestDeviceLink::readerKeepsOrderAcrossThreads()
{
    SimulatedBox box;
    box.plug();
    ReaderThread reader(box, box.devicePath());
    PairCollector collector;
    QObject context;
    connect(&reader, &ReaderThread::eventPair, &context,
            [&](quint8 c, quint8 v) { collector.add(c, v); });
    QSignalSpy opened(&reader, &ReaderThread::opened);
    reader.start();
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, WaitMs);

    const auto reports = numberedReports(1000);
    int sent = 0;
    for (int i = 0; i < reports.size(); ++i) {
        // The box's queue holds 64 reports, like hidraw's: keep within it.
        if (i % 16 == 0)
            QVERIFY(QTest::qWaitFor([&] { return collector.pairs.size() == sent; }, WaitMs));
        box.sendEvent(reports[i]);
        sent += int(reports[i].size());
        // Noise the reader must skip: another report ID, an unknown byte 1, a reply frame.
        if (i % 97 == 0) {
            box.sendReport(QByteArray::fromHex("0245010203040506"));
            box.sendReport(QByteArray::fromHex("0144010203040506"));
            box.sendReport(QByteArray::fromHex("01040001FA"));
        }
    }
    const QList<EventPair> expected = flatten(reports);
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs.size(), expected.size(), WaitMs);
    QCOMPARE(collector.pairs, expected);
    QVERIFY(collector.allOnMainThread);
}

void TestDeviceLink::readerStopsOnRequest()
{
    SimulatedBox box;
    box.plug();
    ReaderThread reader(box, box.devicePath());
    QSignalSpy opened(&reader, &ReaderThread::opened);
    QSignalSpy gone(&reader, &ReaderThread::deviceGone);
    reader.start();
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, WaitMs);
    reader.requestStop();
    QVERIFY(reader.wait(WaitMs));
    QCOMPARE(gone.count(), 0);
}

void TestDeviceLink::readerEndsWhenTheBoxIsPulled()
{
    SimulatedBox box;
    box.plug();
    ReaderThread reader(box, box.devicePath(), 60'000); // blocked in a long read when pulled
    QSignalSpy opened(&reader, &ReaderThread::opened);
    QSignalSpy gone(&reader, &ReaderThread::deviceGone);
    reader.start();
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, WaitMs);
    box.unplug();
    QVERIFY(reader.wait(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(gone.count(), 1, WaitMs);
}

void TestDeviceLink::readerEndsQuietlyWhenItCannotOpen()
{
    SimulatedBox box; // never plugged
    ReaderThread reader(box, box.devicePath());
    QSignalSpy failed(&reader, &ReaderThread::openFailed);
    QSignalSpy gone(&reader, &ReaderThread::deviceGone);
    reader.start();
    QVERIFY(reader.wait(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, WaitMs);
    QCOMPARE(gone.count(), 0);
}

void TestDeviceLink::startFindsThePluggedBox()
{
    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    QSignalSpy found(&link, &BoxLink::boxFound);
    QSignalSpy listening(&link, &BoxLink::readerListening);
    link.start();
    QVERIFY(link.isPresent());
    QVERIFY(link.isReaderRunning());
    QCOMPARE(link.devicePath(), box.devicePath());
    QCOMPARE(found.count(), 0); // posted, like a message: the window finishes its set-up first
    QTRY_COMPARE_WITH_TIMEOUT(found.count(), 1, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 1, WaitMs);

    PairCollector collector;
    connect(&link, &BoxLink::eventPair, &link, [&](quint8 c, quint8 v) { collector.add(c, v); });
    box.sendEvent({{0x90, 0x02}, {0xA1, 0x01}});
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs, (QList<EventPair>{{0x90, 0x02}, {0xA1, 0x01}}), WaitMs);
}

void TestDeviceLink::startWithoutBox()
{
    SimulatedBox box;
    BoxLink link(box);
    QSignalSpy found(&link, &BoxLink::boxFound);
    link.start();
    QVERIFY(!link.isPresent());
    QVERIFY(!link.isReaderRunning());
    QTest::qWait(20);
    QCOMPARE(found.count(), 0);
}

void TestDeviceLink::discoveryTakesTheFirstBox()
{
    SimulatedBox box;
    const HidDeviceInfo mouse{QStringLiteral("other:mouse"), 0x046D, 0xC077, 0x0111};
    const HidDeviceInfo newerBox{QStringLiteral("other:box"), 0x04D9, 0x2851, 0x0200};
    box.setOtherDevices({mouse}, {newerBox});
    box.plug();
    BoxLink link(box);
    QVERIFY(link.DetectBox());
    QCOMPARE(link.devicePath(), box.devicePath());

    // Listed first, with another version: that one is the box; it cannot be opened here,
    // so the reader ends quietly and no box-found message is lost for it.
    box.setOtherDevices({mouse, newerBox}, {});
    QVERIFY(link.DetectBox());
    QCOMPARE(link.devicePath(), newerBox.path);
    link.start();
    QVERIFY(link.isPresent());
    QTRY_VERIFY_WITH_TIMEOUT(!link.isReaderRunning(), WaitMs);
}

void TestDeviceLink::arrivalAndRemoval()
{
    SimulatedBox box;
    BoxLink link(box);
    link.start();
    QSignalSpy found(&link, &BoxLink::boxFound);
    QSignalSpy lost(&link, &BoxLink::boxLost);
    QSignalSpy listening(&link, &BoxLink::readerListening);

    box.plug();
    QVERIFY(link.isPresent());
    QVERIFY(link.isReaderRunning());
    QTRY_COMPARE_WITH_TIMEOUT(found.count(), 1, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 1, WaitMs);
    QCOMPARE_NE(link.commandDevice().Open(), -1);

    // Another HID device coming or going changes nothing.
    Q_EMIT box.devicesChanged();
    QVERIFY(link.isPresent());
    QCOMPARE(lost.count(), 0);

    bool presentWhenLost = true;
    bool readerWhenLost = true;
    bool commandOpenWhenLost = true;
    connect(&link, &BoxLink::boxLost, &link, [&] {
        presentWhenLost = link.isPresent();
        readerWhenLost = link.isReaderRunning();
        commandOpenWhenLost = link.commandDevice().IsOpen();
    });
    box.unplug();
    QCOMPARE(lost.count(), 1);
    QVERIFY(!presentWhenLost);
    QVERIFY(!readerWhenLost);
    QVERIFY(!commandOpenWhenLost);

    // Plugged again: found again, reader again, events flow again.
    box.plug();
    QTRY_COMPARE_WITH_TIMEOUT(found.count(), 2, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 2, WaitMs);
    PairCollector collector;
    connect(&link, &BoxLink::eventPair, &link, [&](quint8 c, quint8 v) { collector.add(c, v); });
    box.sendEvent({{0x31, 0x41}});
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs, (QList<EventPair>{{0x31, 0x41}}), WaitMs);
}

void TestDeviceLink::replugBetweenNotificationsRestartsTheReader()
{
    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    QSignalSpy listening(&link, &BoxLink::readerListening);
    link.start();
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 1, WaitMs);
    QCOMPARE_NE(link.commandDevice().Open(), -1);

    // Out and back in before the first notification is handled.
    box.blockSignals(true);
    box.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!link.isReaderRunning(), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!link.commandDevice().IsOpen(), WaitMs); // its node is gone too
    box.plug();
    box.blockSignals(false);
    Q_EMIT box.devicesChanged();

    QVERIFY(link.isPresent());
    QVERIFY(link.isReaderRunning());
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 2, WaitMs);
    PairCollector collector;
    connect(&link, &BoxLink::eventPair, &link, [&](quint8 c, quint8 v) { collector.add(c, v); });
    box.sendEvent({{0x32, 0x42}});
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs, (QList<EventPair>{{0x32, 0x42}}), WaitMs);
}

void TestDeviceLink::suspendLetsATransferReadReplies()
{
    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    QSignalSpy listening(&link, &BoxLink::readerListening);
    link.start();
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 1, WaitMs);
    PairCollector collector;
    connect(&link, &BoxLink::eventPair, &link, [&](quint8 c, quint8 v) { collector.add(c, v); });

    link.SuspendReader();
    QVERIFY(!link.isReaderRunning()); // ended before SuspendReader returned
    QVERIFY(link.isReaderSuspended());

    // The transfer's own device: its replies, and an event in between, reach it alone.
    UsbHidDevice transfer(link.transport());
    transfer.setEventSink(link.eventSink());
    QCOMPARE_NE(transfer.Open(), -1);
    box.sendEvent({{0x90, 0x02}, {0xA1, 0x01}});
    QCOMPARE(transfer.WriteFrame(CommandFrame::build(0, {0x00, 0x01}), 5), 25);
    CommandFrame::Buffer buffer;
    int got = 0;
    for (int attempt = 0; attempt < 10 && got == 0; ++attempt) {
        buffer.fill(0xFF);
        got = transfer.ReadReply(buffer, 4, 1, 200);
    }
    QCOMPARE(got, 8);
    QCOMPARE(buffer[2], quint8(0x00));
    QCOMPARE(buffer[3], quint8(0x01));
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs, (QList<EventPair>{{0x90, 0x02}, {0xA1, 0x01}}), WaitMs);
    transfer.Close();

    link.ResumeReader();
    QVERIFY(link.isReaderRunning());
    QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 2, WaitMs);
    box.sendEvent({{0x33, 0x43}});
    QTRY_COMPARE_WITH_TIMEOUT(collector.pairs.size(), 3, WaitMs);
    QCOMPARE(collector.pairs.last(), (EventPair{0x33, 0x43}));
}

void TestDeviceLink::arrivalWhileSuspendedWaitsForResume()
{
    SimulatedBox box;
    BoxLink link(box);
    link.start();
    link.SuspendReader();
    box.plug();
    QVERIFY(link.isPresent());
    QVERIFY(!link.isReaderRunning());
    link.ResumeReader();
    QVERIFY(link.isReaderRunning());

    // Removal while suspended: lost, and resume starts nothing.
    link.SuspendReader();
    QSignalSpy lost(&link, &BoxLink::boxLost);
    box.unplug();
    QCOMPARE(lost.count(), 1);
    link.ResumeReader();
    QVERIFY(!link.isReaderRunning());
}

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_device_link.moc"
