// SPDX-License-Identifier: GPL-3.0-or-later
// The call timer and the caller-number capture of the telephone model.
#include "PhoneTestHelpers.h"

#include <QTest>

using namespace dpx;
using namespace dpx::test;

class TimerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void presetCountsSilently_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("secondsMinusOne");
        QTest::addColumn<QString>("afterTwoTicks");
        QTest::newRow("minute carry") << 5 << 57 << "06:00";
        QTest::newRow("hour wrap") << 59 << 57 << "00:00";
        QTest::newRow("sixty seconds") << 0 << 59 << "01:02";
        QTest::newRow("out of range") << 200 << 255 << "24:18";
        QTest::newRow("the special pair is a preset here") << 0x00 << 0x1F << "00:34";
    }
    void presetCountsSilently()
    {
        QFETCH(int, minutes);
        QFETCH(int, secondsMinusOne);
        QFETCH(QString, afterTwoTicks);
        DisplayModel model;
        writeLine(model, 0, "CALL");
        const QString shown = screen(model);
        QVERIFY(!model.apply(0x61, 0x37).any());
        // The preset pair is taken as numbers whatever its codes; the special pair still resets key 15.
        const DeviceEventEffects fx = model.apply(quint8(minutes), quint8(secondsMinusOne));
        QVERIFY(fx.callTimersChanged && fx.key15ImageReset == (minutes == 0 && secondsMinusOne == 0x1F));
        model.tickSilentCount();
        QVERIFY(!model.tickSilentCount().redraw);
        QCOMPARE(model.callTimer().text(), afterTwoTicks);
        QCOMPARE(screen(model), shown); // the silent count draws nothing
        // Showing the time (bit 0) starts from zero and stops the silent count: one count a second.
        model.apply(0x80, 0x01);
        QVERIFY(!model.tickSilentCount().any());
        model.tickCallTimerDisplay();
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:01"));
    }

    void shownCountWritesColumns11To15()
    {
        DisplayModel model;
        writeLine(model, 0, "LINE 1 BUSYxxxxx");
        QVERIFY(model.apply(0x80, 0x01).callTimersChanged);
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSYxxxxx")); // the first tick draws
        QVERIFY(model.tickCallTimerDisplay().redraw);
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY00:01"));
        for (int i = 0; i < 59; ++i)
            model.tickCallTimerDisplay();
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY01:00"));
        // A preset while the time is shown moves the shown count, not a second one.
        feed(model, {{0x61, 0}, {3, 0}});
        QVERIFY(!model.callTimer().silentCountRunning());
        model.tickCallTimerDisplay();
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY03:02"));

        // Bit 1: back to zero, columns 11-15 cleared, the clock shown.
        const DeviceEventEffects stop = model.apply(0x80, 0x02);
        QVERIFY(stop.showClock && stop.callTimersChanged && !stop.redraw && model.clockShown());
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:00"));
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY     "));
        QVERIFY(!model.tickCallTimerDisplay().any()); // a late tick changes nothing

        // Bit 3 wins over the others: stops without resetting, blanks both lines, shows the clock.
        model.apply(0x80, 0x01);
        model.tickCallTimerDisplay();
        const DeviceEventEffects blank = model.apply(0x80, 0x0F);
        QVERIFY(blank.showClock && blank.cellsChanged && !blank.redraw && !model.callTimer().displayRunning());
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:01"));
        QCOMPARE(screen(model).trimmed(), QStringLiteral("|"));
    }

    void bit2ArmsThenShows()
    {
        DisplayModel model;
        QVERIFY(!model.apply(0x80, 0x00).any() && !model.apply(0x80, 0xF0).any()); // no known bit
        const CallTimer &timer = model.callTimer();
        feed(model, {{0x61, 0}, {1, 9}});
        QVERIFY(!model.apply(0x80, 0x04).any());
        QVERIFY(timer.armed() && timer.silentCountRunning() && !timer.displayRunning());
        model.tickSilentCount();
        QVERIFY(model.apply(0x80, 0x04).callTimersChanged);
        QVERIFY(!timer.armed() && !timer.silentCountRunning() && timer.displayRunning());
        model.tickCallTimerDisplay(); // goes on from the silent count
        QCOMPARE(model.displayedLine1().right(5), QStringLiteral("01:12"));
        // A third one arms again without touching the display.
        QVERIFY(!model.apply(0x80, 0x04).any());
        QVERIFY(timer.armed() && timer.displayRunning());
    }

    void ringCapturesTheNumberDrawnAfterIt()
    {
        DisplayModel model;
        writeLine(model, 1, "0912345678"); // digits from before the ring do not count
        QCOMPARE(model.apply(0x90, 0x02).ring, RingEvent::OutsideLineStarts);
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::KeepGoing);
        feed(model, {{0x50, 0xC0}, {'0', '2'}, {'2', '7'}, {' ', 'O'}, {'K', 0x80}});
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::NumberFound);
        QCOMPARE(model.numberCapture().number(), QStringLiteral("0227"));
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::Idle);

        QCOMPARE(model.apply(0x90, 0x04).ring, RingEvent::IntercomStarts);
        QVERIFY(model.numberCapture().number().isEmpty());
        QCOMPARE(model.apply(0x90, 0x01).ring, RingEvent::Ends);
        QVERIFY(!model.numberCapture().running());
        QCOMPARE(model.apply(0x90, 0x03).ring, RingEvent::None);
    }

    void captureTakesTheFirstDigitRunOrGivesUp()
    {
        NumberCapture capture;
        capture.start();
        QCOMPARE(capture.tick(u"CO01 0912 345   ", true), NumberCapture::Result::NumberFound);
        QCOMPARE(capture.number(), QStringLiteral("01"));
        capture.start(); // every ring starts afresh
        // Digits on a display that was not drawn since the ring are stale: not taken.
        for (int i = 1; i < NumberCapture::MaxTicks; ++i)
            QCOMPARE(capture.tick(u"12345", false), NumberCapture::Result::KeepGoing);
        QCOMPARE(capture.tick(u"NO DIGITS", true), NumberCapture::Result::GaveUp);
        QVERIFY(!capture.running() && capture.number().isEmpty());
        QCOMPARE(capture.tick(u"12345", true), NumberCapture::Result::Idle);
    }
};

QTEST_GUILESS_MAIN(TimerTest)
#include "tst_timers.moc"
