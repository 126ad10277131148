// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated box on the bus: discovery, connections, replies, events, queues and faults.
#include "SimTestSupport.h"
#include "sim/SimulatedBox.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <ctime>
#include <thread>

using namespace dpx;
using namespace dpx::test;

namespace {
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}
} // namespace

class SimBusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void discoveryListsTheBoxAmongOthers();
    void repliesToCommands_data();
    void repliesToCommands();
    void framesWithoutReply_data();
    void framesWithoutReply();
    void outputReportsAreRecordedAndSignalledOnOwnerThread();
    void eventReports_data();
    void eventReports();
    void rawReportsArePaddedOrCut();
    void everyConnectionGetsItsOwnCopy();
    void queueKeepsTheNewest64();
    void readTimesOutWithoutBusyWaiting();
    void unplugEndsBlockedReadAndConnection();
    void destroyingTheBoxLeavesConnectionsSafe();
    void droppedAndCorruptedReplies();
    void delayedReplyBecomesReadableLate();
    void vanishesInTheMiddleOfAnExchange();
    void randomOutputReportsAreHandledSafely();
};

void SimBusTest::discoveryListsTheBoxAmongOthers()
{
    SimulatedBox box;
    QSignalSpy changed(&box, &HidTransport::devicesChanged);
    const HidDeviceInfo mouse{QStringLiteral("sim:mouse"), 0x046D, 0xC077, 1};
    const HidDeviceInfo keyboard{QStringLiteral("sim:kbd"), 0x04D9, 0x1203, 1};
    box.setOtherDevices({mouse}, {keyboard});

    QCOMPARE(box.enumerate().size(), 2);
    QVERIFY(!box.open(box.devicePath()));

    box.plug();
    QCOMPARE(changed.count(), 1);
    const QList<HidDeviceInfo> present = box.enumerate();
    QCOMPARE(present.size(), 3);
    QCOMPARE(present.at(0).path, mouse.path);
    QCOMPARE(present.at(1).path, box.devicePath());
    QCOMPARE(present.at(1).vendorId, quint16(0x04D9));
    QCOMPARE(present.at(1).productId, quint16(0x2851));
    QCOMPARE(present.at(2).path, keyboard.path);

    auto connection = box.open(box.devicePath());
    QVERIFY(connection);
    QCOMPARE(connection->inputReportLength(), 8);
    QCOMPARE(connection->outputReportLength(), 25);
    QVERIFY(!box.open(mouse.path));

    box.unplug();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(box.enumerate().size(), 2);
    QVERIFY(!box.open(box.devicePath()));
}

void SimBusTest::repliesToCommands_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("LinkOn") << outputReport("010400 01FA") << QByteArray::fromHex("01040001FAFFFFFF");
    QTest::newRow("LinkOff") << outputReport("01040000FB") << QByteArray::fromHex("01040001FAFFFFFF");
    QTest::newRow("EepromOn") << outputReport("01240001DA") << QByteArray::fromHex("01240001DAFFFFFF");
    QTest::newRow("EepromOff") << outputReport("01240000DB") << QByteArray::fromHex("01240001DAFFFFFF");
    QTest::newRow("EraseBlock 2") << outputReport("01260102 0000D6") << QByteArray::fromHex("01240101D9FFFFFF");
    QTest::newRow("EraseBlock 64") << command(1, QByteArray::fromHex("01400000")) << QByteArray::fromHex("01240100DAFFFFFF");
    QTest::newRow("WriteStart 2") << outputReport("0125020200D6") << QByteArray::fromHex("01240201D8FFFFFF");
    QTest::newRow("ReadStart 1") << outputReport("0125030100D6") << QByteArray::fromHex("01240301D7FFFFFF");
    QTest::newRow("PageCount, nothing started") << outputReport("0125040001D5") << QByteArray::fromHex("01240400D7FFFFFF");
    QTest::newRow("BlockCheck, no data") << outputReport("0124055A7C") << QByteArray::fromHex("01240500D6FFFFFF");
}

void SimBusTest::repliesToCommands()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    QCOMPARE(send(*c, frame), 25);
    QCOMPARE(receive(*c).toHex(' '), reply.toHex(' '));
    QVERIFY(receive(*c, 0).isEmpty());
}

void SimBusTest::framesWithoutReply_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("LinkOn with a bad checksum") << outputReport("01040001FB");
    QTest::newRow("checksum index beyond the report") << QByteArray::fromHex("011F0001FA");
    QTest::newRow("checksum index 1") << outputReport("0101FE");
    QTest::newRow("switch 5 on") << outputReport("01040501F5");
    QTest::newRow("ring enable on") << outputReport("01040601F4");
    QTest::newRow("BlockAck with no read running") << outputReport("012506015A79");
    QTest::newRow("unknown frame type") << command(3, QByteArray::fromHex("0001"));
    QTest::newRow("report ID 3") << outputReport("03040001FA");
    QTest::newRow("type 1 without payload") << outputReport("0122DD");
    QTest::newRow("short write") << QByteArray::fromHex("0104");
}

void SimBusTest::framesWithoutReply()
{
    QFETCH(QByteArray, frame);
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    QCOMPARE(send(*c, frame), int(frame.size()));
    QVERIFY(receive(*c, 50).isEmpty());
    QCOMPARE(box.lastOutputReport(), frame);
}

void SimBusTest::outputReportsAreRecordedAndSignalledOnOwnerThread()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    QList<QThread *> signalThreads;
    QList<QByteArray> signalled;
    connect(&box, &SimulatedBox::outputReportReceived, this, [&](const QByteArray &r) {
        signalThreads.append(QThread::currentThread());
        signalled.append(r);
    });

    std::thread writer([&] {
        send(*c, outputReport("01040601F4"));
        send(*c, outputReport("01040600F5"));
    });
    writer.join();
    QTRY_COMPARE(signalled.size(), 2);
    QCOMPARE(signalThreads, QList<QThread *>({QThread::currentThread(), QThread::currentThread()}));
    QCOMPARE(box.outputReports(), signalled);
    QCOMPARE(box.lastOutputReport(), outputReport("01040600F5"));
    QVERIFY(!box.ringEnabled());

    box.setOutputReportLimit(1);
    QCOMPARE(box.outputReports(), QList<QByteArray>{outputReport("01040600F5")});
    box.clearOutputReports();
    QVERIFY(box.lastOutputReport().isEmpty());
    QCOMPARE(c->write(nullptr, 25), -1);
    QByteArray tooLong(26, char(0xFF));
    QCOMPARE(send(*c, tooLong), -1);
}

void SimBusTest::eventReports_data()
{
    QTest::addColumn<QList<Pair>>("pairs");
    QTest::addColumn<QList<QByteArray>>("reports");
    QTest::newRow("one pair") << QList<Pair>{{0x24, 0x41}} << QList<QByteArray>{QByteArray::fromHex("01432441FFFFFFFF")};
    QTest::newRow("two pairs") << QList<Pair>{{0x90, 0x02}, {0x34, 0x35}}
                               << QList<QByteArray>{QByteArray::fromHex("014590023435FFFF")};
    QTest::newRow("three pairs") << QList<Pair>{{0x04, 3}, {0x00, 3}, {0x0C, 32}}
                                 << QList<QByteArray>{QByteArray::fromHex("0147040300030C20")};
    QTest::newRow("four pairs") << QList<Pair>{{1, 2}, {3, 4}, {5, 6}, {7, 8}}
                                << QList<QByteArray>{QByteArray::fromHex("0147010203040506"),
                                                     QByteArray::fromHex("01430708FFFFFFFF")};
    QTest::newRow("none") << QList<Pair>{} << QList<QByteArray>{};
}

void SimBusTest::eventReports()
{
    QFETCH(QList<Pair>, pairs);
    QFETCH(QList<QByteArray>, reports);
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    box.sendEvent(pairs);
    QCOMPARE(drain(*c), reports);
}

void SimBusTest::rawReportsArePaddedOrCut()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    box.sendReport(QByteArray::fromHex("0145"));
    box.sendReport(QByteArray::fromHex("01020304050607080910"));
    box.sendReport({});
    QCOMPARE(drain(*c), QList<QByteArray>({QByteArray::fromHex("0145FFFFFFFFFFFF"), QByteArray::fromHex("0102030405060708")}));

    quint8 small[3] = {};
    box.sendEvent({{0x24, 0x41}});
    QCOMPARE(c->read(small, 3, 0), 3); // a short buffer gets the start of the report
    QCOMPARE(small[1], quint8(0x43));
}

void SimBusTest::everyConnectionGetsItsOwnCopy()
{
    SimulatedBox box;
    box.plug();
    auto reader = box.open(box.devicePath());
    auto commands = box.open(box.devicePath());
    {
        auto closed = box.open(box.devicePath());
    }
    box.sendEvent({{0x90, 0x02}});
    send(*commands, outputReport("01040001FA"));
    const QList<QByteArray> expected{QByteArray::fromHex("01439002FFFFFFFF"), QByteArray::fromHex("01040001FAFFFFFF")};
    QCOMPARE(drain(*reader), expected);
    QCOMPARE(drain(*commands), expected);
}

void SimBusTest::queueKeepsTheNewest64()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    for (int i = 0; i < 70; ++i)
        box.sendEvent({{0x20, quint8(i)}});
    const QList<QByteArray> reports = drain(*c);
    QCOMPARE(reports.size(), SimulatedBox::InputQueueLimit);
    QCOMPARE(quint8(reports.first().at(3)), quint8(6));
    QCOMPARE(quint8(reports.last().at(3)), quint8(69));
}

void SimBusTest::readTimesOutWithoutBusyWaiting()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    quint8 buffer[8];
    QElapsedTimer wall;
    wall.start();
    QCOMPARE(c->read(buffer, 8, 0), 0);
    const double cpuBefore = threadCpuMs();
    wall.restart();
    QCOMPARE(c->read(buffer, 8, 300), 0);
    const qint64 waited = wall.elapsed();
    const double cpu = threadCpuMs() - cpuBefore;
    QVERIFY2(waited >= 290, qPrintable(QString::number(waited)));
    QVERIFY2(cpu < 50, qPrintable(QStringLiteral("%1 ms of CPU while waiting").arg(cpu)));

    // A report sent while a reader waits wakes it at once.
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        box.sendEvent({{0x60, 0x00}});
    });
    wall.restart();
    QCOMPARE(c->read(buffer, 8, 10000), 8);
    QVERIFY(wall.elapsed() < 5000);
    sender.join();
}

void SimBusTest::unplugEndsBlockedReadAndConnection()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    box.sendEvent({{0x60, 0x00}}); // a report left unread is dropped on removal
    int result = 0;
    QElapsedTimer wall;
    wall.start();
    std::thread reader([&] {
        quint8 buffer[8];
        c->read(buffer, 8, 0);
        result = c->read(buffer, 8, 20000);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    box.unplug();
    reader.join();
    QCOMPARE(result, -1);
    QVERIFY(wall.elapsed() < 10000);

    quint8 buffer[8];
    QCOMPARE(c->read(buffer, 8, 0), -1);
    QCOMPARE(send(*c, outputReport("01040001FA")), -1);
    box.plug();
    QCOMPARE(c->read(buffer, 8, 0), -1); // a new arrival needs a new open
    auto fresh = box.open(box.devicePath());
    QCOMPARE(send(*fresh, outputReport("01040001FA")), 25);
    QCOMPARE(receive(*fresh).size(), 8);
}

void SimBusTest::destroyingTheBoxLeavesConnectionsSafe()
{
    auto box = std::make_unique<SimulatedBox>();
    box->plug();
    auto idle = box->open(box->devicePath());
    auto blocked = box->open(box->devicePath());
    int result = 0;
    std::thread reader([&] {
        quint8 buffer[8];
        result = blocked->read(buffer, 8, 20000);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    box.reset();
    reader.join();
    QCOMPARE(result, -1);
    quint8 buffer[8];
    QCOMPARE(idle->read(buffer, 8, 10), -1);
    QCOMPARE(send(*idle, outputReport("01040412E4")), -1);
    idle.reset();
    blocked.reset();
}

void SimBusTest::droppedAndCorruptedReplies()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    const QByteArray linkOn = outputReport("01040001FA");

    box.setFaults({.dropReplies = true});
    send(*c, linkOn);
    QVERIFY(receive(*c, 50).isEmpty());
    QVERIFY(box.linkOn()); // the command was carried out; only its answer was lost
    box.sendEvent({{0x24, 0x41}});
    QCOMPARE(receive(*c, 0), QByteArray::fromHex("01432441FFFFFFFF"));

    box.setFaults({.corruptReplies = true});
    send(*c, linkOn);
    const QByteArray corrupted = receive(*c);
    QCOMPARE(corrupted.left(4), QByteArray::fromHex("01040001"));
    QVERIFY(quint8(corrupted.at(4)) != notSum(corrupted, 1, 4));

    box.setFaults({.dropNextReplies = 1});
    send(*c, linkOn);
    QVERIFY(receive(*c, 50).isEmpty());
    QCOMPARE(box.faults().dropNextReplies, 0);
    send(*c, linkOn);
    QCOMPARE(receive(*c), QByteArray::fromHex("01040001FAFFFFFF"));
}

void SimBusTest::delayedReplyBecomesReadableLate()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    box.setFaults({.replyDelayMs = 200});
    QElapsedTimer wall;
    wall.start();
    send(*c, outputReport("01040001FA"));
    QVERIFY(receive(*c, 0).isEmpty());
    box.sendEvent({{0x60, 0x00}}); // events are not held back by a pending reply
    QCOMPARE(receive(*c, 0), QByteArray::fromHex("01436000FFFFFFFF"));
    QCOMPARE(receive(*c, 5000), QByteArray::fromHex("01040001FAFFFFFF"));
    QVERIFY2(wall.elapsed() >= 190, qPrintable(QString::number(wall.elapsed())));
    box.unplug();
    box.plug();
    auto d = box.open(box.devicePath());
    send(*d, outputReport("01040001FA"));
    QVERIFY(receive(*d, 20).isEmpty()); // timeout shorter than the delay
    QCOMPARE(receive(*d, 5000).size(), 8);
}

void SimBusTest::vanishesInTheMiddleOfAnExchange()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    QSignalSpy changed(&box, &HidTransport::devicesChanged);
    send(*c, outputReport("01040001FA"));
    QCOMPARE(receive(*c).size(), 8);

    box.setFaults({.vanishOnNextCommand = true});
    send(*c, outputReport("0224AAAA")); // bulk data is not a command
    QVERIFY(box.isPlugged());
    QCOMPARE(send(*c, outputReport("01240001DA")), 25);
    quint8 buffer[8];
    QCOMPARE(c->read(buffer, 8, 1000), -1);
    QVERIFY(!box.isPlugged());
    QVERIFY(!box.faults().vanishOnNextCommand);
    QVERIFY(changed.wait(2000) || changed.count() == 1);
    QCOMPARE(changed.count(), 1);
    QVERIFY(box.enumerate().isEmpty());
    QVERIFY(!box.linkOn());
}

void SimBusTest::randomOutputReportsAreHandledSafely()
{
    SimulatedBox box;
    box.plug();
    auto c = box.open(box.devicePath());
    QRandomGenerator random(20240611);
    for (int i = 0; i < 20000; ++i) {
        QByteArray report(1 + int(random.bounded(25)), Qt::Uninitialized);
        for (char &b : report)
            b = char(random.bounded(256));
        report[0] = char(1 + random.bounded(2));
        if (report.size() > 1 && random.bounded(2))
            report[1] = char((report.at(1) & 0xE0) | (2 + random.bounded(6)));
        if (report.size() > 2 && random.bounded(2)) {
            const int k = quint8(report.at(1)) & 0x1F;
            if (k < report.size())
                report[k] = char(notSum(report, 1, k));
        }
        QCOMPARE(send(*c, report), int(report.size()));
        drain(*c);
    }
    QVERIFY(box.isPlugged());
    send(*c, outputReport("01040001FA"));
    QCOMPARE(receive(*c), QByteArray::fromHex("01040001FAFFFFFF"));
}

QTEST_GUILESS_MAIN(SimBusTest)
#include "tst_simbus.moc"
