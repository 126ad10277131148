// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated box on the bus: replies, events, connections, queues, timeouts and faults.
#include "SimTestSupport.h"
#include "sim/SimulatedBox.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <thread>

using namespace dpx;
using namespace dpx::test;
using Pairs = QList<std::pair<quint8, quint8>>;

class SimBusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void repliesToCommands_data();
    void repliesToCommands();
    void eventReports_data();
    void eventReports();
    void everyConnectionGetsItsOwnBoundedQueue();
    void readTimesOutAndUnplugWakesABlockedRead();
    void droppedCorruptedAndDelayedReplies();
    void vanishesInTheMiddleOfAnExchange();
    void randomOutputReportsAreHandledSafely();

private:
    std::unique_ptr<SimulatedBox> box;
    std::unique_ptr<HidConnection> c;
};

void SimBusTest::init()
{
    box = std::make_unique<SimulatedBox>();
    box->plug();
    c = box->open(box->devicePath());
}

void SimBusTest::repliesToCommands_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply"); // empty: the box stays silent
    QTest::newRow("LinkOn") << outputReport("01040001FA") << QByteArray::fromHex("01040001FAFFFFFF");
    QTest::newRow("LinkOn with a bad checksum") << outputReport("01040001FB") << QByteArray();
    QTest::newRow("EepromOn") << outputReport("01240001DA") << QByteArray::fromHex("01240001DAFFFFFF");
    QTest::newRow("EraseBlock 2") << outputReport("012601020000D6") << QByteArray::fromHex("01240101D9FFFFFF");
    QTest::newRow("EraseBlock 64") << command(1, "01400000") << QByteArray::fromHex("01240100DAFFFFFF");
    QTest::newRow("WriteStart 2") << outputReport("0125020200D6") << QByteArray::fromHex("01240201D8FFFFFF");
    QTest::newRow("PageCount, nothing started") << outputReport("0125040001D5") << QByteArray::fromHex("01240400D7FFFFFF");
    QTest::newRow("BlockCheck 5A, no data") << outputReport("0124055A7C") << QByteArray::fromHex("01240500D6FFFFFF");
    QTest::newRow("checksum index beyond the report") << QByteArray::fromHex("011F0001FA") << QByteArray();
    QTest::newRow("unknown frame type") << command(3, "0001") << QByteArray();
    QTest::newRow("report ID 3") << outputReport("03040001FA") << QByteArray();
    QTest::newRow("short write") << QByteArray::fromHex("0104") << QByteArray();
}

void SimBusTest::repliesToCommands()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QCOMPARE(send(*c, frame), int(frame.size()));
    QCOMPARE(receive(*c, reply.isEmpty() ? 50 : 2000).toHex(' '), reply.toHex(' '));
    QVERIFY(receive(*c, 0).isEmpty());
}

void SimBusTest::eventReports_data()
{
    QTest::addColumn<Pairs>("pairs");
    QTest::addColumn<QList<QByteArray>>("reports");
    QTest::newRow("one pair") << Pairs{{0x24, 0x41}} << QList{QByteArray::fromHex("01432441FFFFFFFF")};
    QTest::newRow("two pairs") << Pairs{{0x90, 0x02}, {0x34, 0x35}} << QList{QByteArray::fromHex("014590023435FFFF")};
    QTest::newRow("three pairs") << Pairs{{0x04, 3}, {0x00, 3}, {0x0C, 32}} << QList{QByteArray::fromHex("0147040300030C20")};
    QTest::newRow("four pairs") << Pairs{{1, 2}, {3, 4}, {5, 6}, {7, 8}}
                                << QList{QByteArray::fromHex("0147010203040506"), QByteArray::fromHex("01430708FFFFFFFF")};
}

void SimBusTest::eventReports()
{
    QFETCH(Pairs, pairs);
    QFETCH(QList<QByteArray>, reports);
    box->sendEvent(pairs);
    QCOMPARE(drain(*c), reports);
}

void SimBusTest::everyConnectionGetsItsOwnBoundedQueue()
{
    auto other = box->open(box->devicePath());
    box->open(box->devicePath()).reset(); // a closed connection is no longer fed
    box->sendEvent({{0x90, 0x02}});
    send(*other, outputReport("01040001FA"));
    const QList<QByteArray> expected{QByteArray::fromHex("01439002FFFFFFFF"), QByteArray::fromHex("01040001FAFFFFFF")};
    QCOMPARE(drain(*c), expected);
    QCOMPARE(drain(*other), expected);

    for (int i = 0; i < 70; ++i) // the oldest reports give way to the newest 64
        box->sendEvent({{0x20, quint8(i)}});
    const QList<QByteArray> reports = drain(*c);
    QCOMPARE(reports.size(), SimulatedBox::InputQueueLimit);
    QCOMPARE(quint8(reports.first().at(3)), quint8(6));
    QCOMPARE(quint8(reports.last().at(3)), quint8(69));
}

void SimBusTest::readTimesOutAndUnplugWakesABlockedRead()
{
    quint8 buffer[8];
    QElapsedTimer wall;
    wall.start();
    QCOMPARE(c->read(buffer, 8, 100), 0);
    QVERIFY2(wall.elapsed() >= 90, qPrintable(QString::number(wall.elapsed())));

    int result = 0;
    std::thread reader([&] { result = c->read(buffer, 8, 20000); }); // 20 s: only the unplug ends it early
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    box->unplug();
    reader.join();
    QCOMPARE(result, -1);
    QCOMPARE(send(*c, outputReport("01040001FA")), -1);
    box->plug();
    QCOMPARE(c->read(buffer, 8, 0), -1); // a new arrival needs a new open
    box.reset();
    QCOMPARE(c->read(buffer, 8, 0), -1); // a connection may outlive its box
}

void SimBusTest::droppedCorruptedAndDelayedReplies()
{
    const QByteArray linkOn = outputReport("01040001FA");
    box->setFaults({.dropReplies = true});
    send(*c, linkOn);
    QVERIFY(receive(*c, 50).isEmpty());
    QVERIFY(box->linkOn()); // the command was carried out; only its answer was lost
    box->sendEvent({{0x24, 0x41}}); // events are never touched
    QCOMPARE(receive(*c, 0), QByteArray::fromHex("01432441FFFFFFFF"));

    box->setFaults({.corruptReplies = true});
    send(*c, linkOn);
    const QByteArray corrupted = receive(*c);
    QCOMPARE(corrupted.left(4), QByteArray::fromHex("01040001"));
    QVERIFY(quint8(corrupted.at(4)) != notSum(corrupted, 1, 4));

    box->setFaults({.replyDelayMs = 200});
    QElapsedTimer wall;
    wall.start();
    send(*c, linkOn);
    QVERIFY(receive(*c, 20).isEmpty()); // a timeout shorter than the delay
    box->sendEvent({{0x60, 0x00}}); // not held back behind the pending reply
    QCOMPARE(receive(*c, 0), QByteArray::fromHex("01436000FFFFFFFF"));
    QCOMPARE(receive(*c, 5000), QByteArray::fromHex("01040001FAFFFFFF"));
    QVERIFY2(wall.elapsed() >= 190, qPrintable(QString::number(wall.elapsed())));
}

void SimBusTest::vanishesInTheMiddleOfAnExchange()
{
    QSignalSpy changed(box.get(), &HidTransport::devicesChanged);
    box->setFaults({.vanishOnNextCommand = true});
    send(*c, outputReport("0224AAAA")); // bulk data is not a command
    QVERIFY(box->isPlugged());
    QCOMPARE(send(*c, outputReport("01240001DA")), 25);
    quint8 buffer[8];
    QCOMPARE(c->read(buffer, 8, 1000), -1);
    QVERIFY(!box->isPlugged());
    QTRY_COMPARE(changed.count(), 1);
    QVERIFY(box->enumerate().isEmpty());
}

void SimBusTest::randomOutputReportsAreHandledSafely()
{
    QRandomGenerator random(20240611);
    for (int i = 0; i < 20000; ++i) {
        QByteArray report(1 + int(random.bounded(25)), Qt::Uninitialized);
        for (char &b : report)
            b = char(random.bounded(256));
        report[0] = char(1 + random.bounded(2));
        const int k = report.size() > 1 ? quint8(report.at(1)) & 0x1F : 0;
        if (k > 1 && k < report.size() && random.bounded(2)) // many with a valid checksum
            report[k] = char(notSum(report, 1, k));
        QCOMPARE(send(*c, report), int(report.size()));
        drain(*c);
    }
    send(*c, outputReport("01040001FA"));
    QCOMPARE(receive(*c), QByteArray::fromHex("01040001FAFFFFFF"));
}

QTEST_GUILESS_MAIN(SimBusTest)
#include "tst_simbus.moc"
