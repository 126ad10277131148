// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QTest>

using namespace dpx;
using dpx::test::feed;
using dpx::test::writeLine;

class TimerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void presetCountsSilently_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("secondsMinusOne");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("afterTwoTicks");
        QTest::newRow("plain") << 2 << 29 << "02:30"
                               << "02:32";
        QTest::newRow("minute carry") << 5 << 57 << "05:58"
                                      << "06:00";
        QTest::newRow("hour wrap") << 59 << 57 << "59:58"
                                   << "00:00";
        QTest::newRow("sixty seconds") << 0 << 59 << "01:00"
                                       << "01:02";
        QTest::newRow("out of range") << 200 << 255 << "24:16"
                                      << "24:18";
    }
    void presetCountsSilently()
    {
        QFETCH(int, minutes);
        QFETCH(int, secondsMinusOne);
        QFETCH(QString, preset);
        QFETCH(QString, afterTwoTicks);
        DisplayModel model;
        writeLine(model, 0, "CALL");
        const QString line1 = model.displayedLine1();
        QVERIFY(!model.apply(0x61, 0x37).any());
        QVERIFY(model.callTimer().presetPending());
        // The preset pair is taken as numbers whatever its codes.
        QVERIFY(model.apply(quint8(minutes), quint8(secondsMinusOne)).callTimersChanged);
        QVERIFY(!model.callTimer().presetPending());
        QVERIFY(model.callTimer().silentCountRunning());
        QVERIFY(!model.callTimer().displayRunning());
        QCOMPARE(model.callTimer().text(), preset);
        model.tickSilentCount();
        QVERIFY(!model.tickSilentCount().redraw);
        QCOMPARE(model.callTimer().text(), afterTwoTicks);
        QCOMPARE(model.displayedLine1(), line1); // the silent count draws nothing
    }

    void shownCountWritesColumns11To15()
    {
        DisplayModel model;
        writeLine(model, 0, "LINE 1 BUSYxxxxx");
        const DeviceEventEffects fx = model.apply(0x80, 0x01);
        QVERIFY(fx.callTimersChanged);
        QVERIFY(model.callTimer().displayRunning());
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSYxxxxx")); // first tick draws
        QVERIFY(model.tickCallTimerDisplay().redraw);
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY00:01"));
        for (int i = 0; i < 59; ++i)
            model.tickCallTimerDisplay();
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY01:00"));

        // Bit 1: back to zero, columns 11-15 cleared, the clock shown.
        const DeviceEventEffects stop = model.apply(0x80, 0x02);
        QVERIFY(stop.showClock && stop.callTimersChanged && !stop.redraw);
        QVERIFY(model.clockShown());
        QVERIFY(!model.callTimer().displayRunning());
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:00"));
        QCOMPARE(model.displayedLine1(), QStringLiteral("LINE 1 BUSY     "));
        QVERIFY(!model.tickCallTimerDisplay().any()); // a late tick changes nothing
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:00"));
    }

    void bit3StopsAndBlanksBothLines()
    {
        DisplayModel model;
        writeLine(model, 0, "ABCDEFGHIJKLMNOP");
        writeLine(model, 1, "abcdefghijklmnop");
        model.apply(0x80, 0x01);
        model.tickCallTimerDisplay();
        const DeviceEventEffects fx = model.apply(0x80, 0x0F); // bit 3 wins over the others
        QVERIFY(fx.showClock && fx.cellsChanged && !fx.redraw);
        QVERIFY(!model.callTimer().displayRunning());
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:01")); // not reset
        QCOMPARE(model.displayedLine1(), QString(16, u' '));
        QCOMPARE(model.displayedLine2(), QString(16, u' '));
        QVERIFY(model.clockShown());
    }

    void bit2ArmsThenShows()
    {
        DisplayModel model;
        feed(model, {{0x61, 0}, {1, 9}});
        QVERIFY(!model.apply(0x80, 0x04).any());
        QVERIFY(model.callTimer().armed());
        QVERIFY(model.callTimer().silentCountRunning());
        QVERIFY(!model.callTimer().displayRunning());
        model.tickSilentCount();

        QVERIFY(model.apply(0x80, 0x04).callTimersChanged);
        QVERIFY(!model.callTimer().armed());
        QVERIFY(model.callTimer().displayRunning());
        QVERIFY(!model.callTimer().silentCountRunning());
        model.tickCallTimerDisplay(); // goes on from the silent count
        QCOMPARE(model.displayedLine1().right(5), QStringLiteral("01:12"));
        // A third one arms again without touching the display.
        QVERIFY(!model.apply(0x80, 0x04).any());
        QVERIFY(model.callTimer().armed() && model.callTimer().displayRunning());
    }

    void neverCountsTwicePerSecond()
    {
        DisplayModel model;
        feed(model, {{0x61, 0}, {0, 9}});
        model.apply(0x80, 0x01); // shown from zero: the silent count stops
        QVERIFY(!model.callTimer().silentCountRunning());
        QVERIFY(!model.tickSilentCount().any());
        model.tickCallTimerDisplay();
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:01"));
        // A preset while the time is shown moves the shown count, not a second one.
        feed(model, {{0x61, 0}, {3, 0}});
        QVERIFY(!model.callTimer().silentCountRunning());
        model.tickCallTimerDisplay();
        QCOMPARE(model.displayedLine1().right(5), QStringLiteral("03:02"));
    }

    void specialPairDuringPreset()
    {
        DisplayModel model;
        model.lamps().toggleKey15();
        model.apply(0x61, 0);
        const DeviceEventEffects fx = model.apply(0x00, 0x1F);
        QVERIFY(fx.key15ImageReset && !fx.lampSet);
        QVERIFY(model.lamps().key15ToggleFlag());
        QCOMPARE(model.callTimer().text(), QStringLiteral("00:32"));
    }

    void ignoredControlValues()
    {
        DisplayModel model;
        QVERIFY(!model.apply(0x80, 0x00).any());
        QVERIFY(!model.apply(0x80, 0xF0).any());
    }

    void captureFindsFirstDigitRun_data()
    {
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("number");
        QTest::newRow("whole line") << "0287654321      "
                                    << "0287654321";
        QTest::newRow("after text") << "CO01 0912 345   "
                                    << "01";
        QTest::newRow("at the end") << "LINE           7"
                                    << "7";
        QTest::newRow("none") << "NO NUMBER       "
                              << "";
    }
    void captureFindsFirstDigitRun()
    {
        QFETCH(QString, line2);
        QFETCH(QString, number);
        NumberCapture capture;
        capture.start();
        const NumberCapture::Result result = capture.tick(line2, true);
        QCOMPARE(capture.number(), number);
        QCOMPARE(result, number.isEmpty() ? NumberCapture::Result::KeepGoing
                                          : NumberCapture::Result::NumberFound);
    }

    void captureGivesUpAfter15Ticks()
    {
        NumberCapture capture;
        capture.start();
        // Digits on a display that was not drawn since the ring are stale: not taken.
        for (int i = 1; i < NumberCapture::MaxTicks; ++i)
            QCOMPARE(capture.tick(u"12345", false), NumberCapture::Result::KeepGoing);
        QCOMPARE(capture.tick(u"NO DIGITS", true), NumberCapture::Result::GaveUp);
        QVERIFY(!capture.running());
        QCOMPARE(capture.ticks(), 15);
        QCOMPARE(capture.tick(u"12345", true), NumberCapture::Result::Idle);
        QVERIFY(capture.number().isEmpty());

        capture.start(); // every ring starts afresh
        QCOMPARE(capture.ticks(), 0);
        QCOMPARE(capture.tick(u"555", true), NumberCapture::Result::NumberFound);
    }
};

int runTimerTests(int argc, char **argv)
{
    TimerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_timers.moc"
