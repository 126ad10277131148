// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialSequencer.h"
#include "app/Keypad.h"
#include "device/BoxLink.h"
#include "sim/SimulatedBox.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {

// The key-press bytes (2 and 3) and checksum of every frame the box received.
QList<QByteArray> framesOf(const SimulatedBox &box)
{
    QList<QByteArray> frames;
    for (const QByteArray &report : box.outputReports())
        frames << report.left(5).toHex();
    return frames;
}

struct Bench {
    SimulatedBox box;
    std::unique_ptr<BoxLink> link;
    std::unique_ptr<Keypad> keypad;
    explicit Bench(bool plugged = true)
    {
        if (plugged)
            box.plug();
        link = std::make_unique<BoxLink>(box);
        link->start();
        keypad = std::make_unique<Keypad>(*link);
    }
};

} // namespace

class KeypadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyFrames_data();
    void keyFrames();
    void everyReportIsOneFullFrame();
    void noBoxSendsNothing();
    void key15SwapsItsImageFirst();
    void ringEnable();
    void dialTimingWithLineCodeAndPause();
    void oneSequenceAtATime();
    void unpluggingStopsDiallingOnce();
    void dialRequests_data();
    void dialRequests();
};

void KeypadTest::keyFrames_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("dx");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("hash") << 27 << true << QStringList{"0104049c5b"};
    QTest::newRow("digit 2") << 17 << false << QStringList{"01040412e5"};
    QTest::newRow("up on SD") << 10 << false << QStringList{"0104046097"};
    QTest::newRow("key 13 sequence") << 13 << true
                                     << QStringList{"010404c334", "0104049661", "0104049a5d"};
    QTest::newRow("key 14 two at once") << 14 << true << QStringList{"010404c334", "01040411e6"};
    QTest::newRow("switch 5 on") << 46 << true << QStringList{"01040501f5"};
    QTest::newRow("switch 5 off") << 47 << true << QStringList{"01040500f6"};
    QTest::newRow("below the range") << 0 << true << QStringList{};
}

void KeypadTest::keyFrames()
{
    QFETCH(int, key);
    QFETCH(bool, dx);
    QFETCH(QStringList, frames);
    Bench bench;
    bench.keypad->setPhoneType(dx ? PhoneType::DX : PhoneType::SD);
    QCOMPARE(bench.keypad->PressKey(key), Keypad::Result::Sent);
    QList<QByteArray> expected;
    for (const QString &f : frames)
        expected << f.toLatin1();
    QTRY_COMPARE(framesOf(bench.box), expected);
    QTest::qWait(50); // nothing more follows
    QCOMPARE(framesOf(bench.box), expected);
}

void KeypadTest::everyReportIsOneFullFrame()
{
    Bench bench;
    bench.keypad->PressKey(27);
    QTRY_COMPARE(bench.box.outputReports().size(), 1);
    const QByteArray report = bench.box.outputReports().first();
    QCOMPARE(report.size(), 25);
    QCOMPARE(report.mid(5), QByteArray(20, char(0xFF)));
}

void KeypadTest::noBoxSendsNothing()
{
    Bench bench(false);
    QCOMPARE(bench.keypad->PressKey(18), Keypad::Result::NoBox);
    QCOMPARE(bench.keypad->PressKey(13), Keypad::Result::NoBox);
    QTest::qWait(30);
    QVERIFY(bench.box.outputReports().isEmpty());
}

void KeypadTest::key15SwapsItsImageFirst()
{
    Bench bench;
    QSignalSpy toggled(bench.keypad.get(), &Keypad::key15Toggled);
    QList<int> order;
    connect(bench.keypad.get(), &Keypad::key15Toggled, this, [&] { order << int(bench.box.outputReports().size()); });
    bench.keypad->PressKey(15);
    QCOMPARE(toggled.size(), 1);
    QCOMPARE(order, QList<int>{0});
    QTRY_COMPARE(framesOf(bench.box),
                 (QList<QByteArray>{"010404c334", "01040417e0", "0104049661"}));
}

void KeypadTest::ringEnable()
{
    Bench bench;
    QCOMPARE(bench.keypad->SendRingEnable(true), Keypad::Result::Sent);
    QCOMPARE(bench.keypad->SendRingEnable(false), Keypad::Result::Sent);
    QTRY_COMPARE(framesOf(bench.box), (QList<QByteArray>{"01040601f4", "01040600f5"}));
    QTRY_VERIFY(!bench.box.ringEnabled());
}

void KeypadTest::dialTimingWithLineCodeAndPause()
{
    Bench bench;
    // Time is driven by the test: each pause is recorded right after its press.
    QStringList events;
    DialSequencer dialer([&](int key) {
        events << QStringLiteral("key %1").arg(key);
        return bench.keypad->PressKey(key) == Keypad::Result::Sent;
    });
    dialer.setWait([&](int pauseMs) { events << QStringLiteral("wait %1").arg(pauseMs); });
    QSignalSpy finished(&dialer, &DialSequencer::finished);
    QVERIFY(dialer.start(dialSteps(u"0", u"9p123"), QStringLiteral("9p123")));
    while (finished.isEmpty() && events.size() < 40)
        dialer.resume();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    // 0, then 300 + 1500 ms, then 9, then 300 + 1200 ms (the pause letter), then 1, 2, 3.
    QCOMPARE(events, (QStringList{"key 25", "wait 300", "wait 1500", "key 24", "wait 300",
                                  "wait 1200", "key 16", "wait 300", "key 17", "wait 300", "key 18",
                                  "wait 300"}));
    QTRY_COMPARE(bench.box.outputReports().size(), 5);
    QCOMPARE(bench.box.outputReports().at(1).mid(3, 1).toHex(), QByteArray("99")); // 9 with parity
}

void KeypadTest::oneSequenceAtATime()
{
    Bench bench;
    DialSequencer dialer([&](int key) { return bench.keypad->PressKey(key) == Keypad::Result::Sent; });
    QVERIFY(dialer.start(dialSteps(u"", u"123"), QStringLiteral("123")));
    QVERIFY(!dialer.start(dialSteps(u"", u"456"), QStringLiteral("456")));
    QCOMPARE(dialer.number(), QStringLiteral("123"));
    QSignalSpy finished(&dialer, &DialSequencer::finished);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
    QCOMPARE(bench.box.outputReports().size(), 3);
}

void KeypadTest::unpluggingStopsDiallingOnce()
{
    Bench bench;
    int failures = 0;
    DialSequencer dialer([&](int key) {
        const bool sent = bench.keypad->PressKey(key) == Keypad::Result::Sent;
        failures += !sent;
        return sent;
    });
    QSignalSpy finished(&dialer, &DialSequencer::finished);
    dialer.start(dialSteps(u"", u"1234567890"), QStringLiteral("1234567890"));
    QTRY_VERIFY(bench.box.outputReports().size() >= 2);
    bench.box.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(failures, 1);
    QVERIFY(bench.box.outputReports().size() < 10);
}

void KeypadTest::dialRequests_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("number");
    QTest::newRow("plain tel") << "tel:0223456789" << "0223456789";
    QTest::newRow("visual separators") << "tel:02-2345.6789" << "0223456789";
    QTest::newRow("brackets and spaces") << "tel:(02) 2345 6789" << "0223456789";
    QTest::newRow("percent-encoded space") << "tel:02%202345%206789" << "0223456789";
    QTest::newRow("star hash pause") << "tel:*72p#" << "*72p#";
    QTest::newRow("dial option") << "123-456" << "123456";
    QTest::newRow("plus is global") << "tel:+886223456789" << "";
    QTest::newRow("extension parameter") << "tel:0223456789;ext=12" << "";
    QTest::newRow("letters") << "tel:1-800-FLOWERS" << "";
    QTest::newRow("empty") << "tel:" << "";
    QTest::newRow("shell text") << "tel:123;rm -rf /" << "";
}

void KeypadTest::dialRequests()
{
    QFETCH(QString, request);
    QTEST(numberFromDialRequest(request), "number");
}

QTEST_GUILESS_MAIN(KeypadTest)
#include "test_keypad.moc"
