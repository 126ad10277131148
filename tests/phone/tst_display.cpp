// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QTest>

using namespace dpx;
using dpx::test::feed;
using dpx::test::rawLine;
using dpx::test::writeLine;

class DisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsNeverWritten()
    {
        DisplayModel model;
        QCOMPARE(rawLine(model.line1()), QByteArray("\x01               ", 16));
        QCOMPARE(rawLine(model.line2()), QByteArray("\x01               ", 16));
        QVERIFY(model.neverWritten(0) && model.neverWritten(1));
        QCOMPARE(model.displayedLine1(), QString(16, u' '));
        QCOMPARE(model.displayedLine2(), QString(16, u' '));
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Nothing);
    }

    void singleCell_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("shown");
        QTest::newRow("line 1 column 4") << 0x24 << 0x41 << 0 << 4 << "A";
        QTest::newRow("line 2 column 4") << 0x34 << 0x41 << 1 << 4 << "A";
        QTest::newRow("line 1 column 0") << 0x20 << 0x7A << 0 << 0 << "z";
        QTest::newRow("line 2 column 15") << 0x3F << 0x39 << 1 << 15 << "9";
        QTest::newRow("control byte") << 0x23 << 0x07 << 0 << 3 << " ";
        QTest::newRow("high byte line 1") << 0x23 << 0xA5 << 0 << 3 << " ";
        QTest::newRow("high byte line 2") << 0x33 << 0xFE << 1 << 3 << " ";
        QTest::newRow("cursor line 1") << 0x27 << 0xFF << 0 << 7 << QString(QChar(LcdCursorChar));
        QTest::newRow("0xFF line 2") << 0x37 << 0xFF << 1 << 7 << " ";
        QTest::newRow("0x7F line 2") << 0x31 << 0x7F << 1 << 1 << "<";
        QTest::newRow("0x7E line 2") << 0x32 << 0x7E << 1 << 2 << ">";
        QTest::newRow("0x7E line 1") << 0x22 << 0x7E << 0 << 2 << "~";
    }
    void singleCell()
    {
        QFETCH(int, code);
        QFETCH(int, value);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, shown);
        DisplayModel model;
        const DeviceEventEffects fx = model.apply(quint8(code), quint8(value));
        QVERIFY(fx.redraw);
        QVERIFY(model.lcdDrawn());
        QString expected(16, u' ');
        expected.replace(column, 1, shown);
        QCOMPARE(line ? model.displayedLine2() : model.displayedLine1(), expected);
        QCOMPARE(line ? model.displayedLine1() : model.displayedLine2(), QString(16, u' '));
        // Drawing cleans both lines in place: neither counts as unwritten any more.
        QVERIFY(!model.neverWritten(0) && !model.neverWritten(1));
    }

    void stringEntryWrapsIntoLine2()
    {
        DisplayModel model;
        writeLine(model, 1, "0123456789012345");
        feed(model, {{0x4C, 0xC0}});
        QVERIFY(model.stringEntryActive());
        QCOMPARE(model.stringEntryColumn(), 12);
        const DeviceEventEffects fx = feed(model, {{'A', 'B'}, {'C', 'D'}, {'E', 'F'}});
        QVERIFY(fx.redraw);
        QCOMPARE(model.displayedLine1(), QStringLiteral("            ABCD"));
        QCOMPARE(model.displayedLine2(), QStringLiteral("EF23456789012345"));
        QCOMPARE(model.stringEntryLine(), 1);
        QCOMPARE(model.stringEntryColumn(), 2);

        const DeviceEventEffects end = model.apply(0x80, 0x33);
        QVERIFY(!model.stringEntryActive());
        QVERIFY(!end.redraw);
        QCOMPARE(model.displayedLine2(), QStringLiteral("EF23456789012345"));
        // Back to the event table: the same letters are no longer text.
        feed(model, {{'G', 'H'}, {0x2F, 'X'}});
        QCOMPARE(model.displayedLine1(), QStringLiteral("            ABCX"));
    }

    void stringEntryFromLine2WrapsToLine1()
    {
        DisplayModel model;
        writeLine(model, 0, "abcdefghijklmnop");
        feed(model, {{0x5E, 0xC0}, {'1', '2'}, {'3', '4'}, {'5', 0x80}});
        QVERIFY(!model.stringEntryActive());
        QCOMPARE(model.displayedLine2().right(2), QStringLiteral("12"));
        QCOMPARE(model.displayedLine1(), QStringLiteral("345defghijklmnop"));
    }

    void valueTerminatorWritesCodeAndEnds()
    {
        DisplayModel model;
        const DeviceEventEffects fx = feed(model, {{0x43, 0xC0}, {'H', 'I'}, {'!', 0x80}});
        QVERIFY(fx.redraw);
        QVERIFY(!model.stringEntryActive());
        QCOMPARE(model.displayedLine1(), QStringLiteral("   HI!          "));
        // 'J' (0x4A) with a plain value is not a table event: nothing is written.
        QVERIFY(!model.apply('J', 'K').any());
        QCOMPARE(model.displayedLine1(), QStringLiteral("   HI!          "));
    }

    void entryTakesEveryPairAsText()
    {
        DisplayModel model;
        feed(model, {{0x50, 0xC0}});
        const DeviceEventEffects ring = model.apply(0x90, 0x02);
        QCOMPARE(ring.ring, RingEvent::None);
        QVERIFY(!model.numberCapture().running());
        const DeviceEventEffects special = model.apply(0x00, 0x1F);
        QVERIFY(special.key15ImageReset);
        QVERIFY(!special.lampSet);
        QCOMPARE(model.stringEntryColumn(), 4);
        QVERIFY(model.stringEntryActive());
    }

    void entryOverrunStaysInColumns()
    {
        DisplayModel model;
        model.apply(0x40, 0xC0);
        for (int i = 0; i < 40; ++i) {
            model.apply(quint8('a' + i % 26), quint8('A' + i % 26));
            QVERIFY(model.stringEntryColumn() >= 0 && model.stringEntryColumn() < LcdColumns);
        }
        // 80 letters from line 1 column 0: two full turns, the last 16 on line 1 again.
        QCOMPARE(model.stringEntryLine(), 1);
        QCOMPARE(model.stringEntryColumn(), 0);
        QCOMPARE(model.displayedLine1(), QStringLiteral("gGhHiIjJkKlLmMnN"));
    }

    void blankToEndOfLine_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("line 1 from 5") << 0x45 << "ABCDE           "
                                       << "abcdefghijklmnop";
        QTest::newRow("line 2 from 5") << 0x55 << "ABCDEFGHIJKLMNOP"
                                       << "abcde           ";
        QTest::newRow("line 1 whole") << 0x40 << QString(16, u' ') << "abcdefghijklmnop";
        QTest::newRow("line 2 last") << 0x5F << "ABCDEFGHIJKLMNOP"
                                     << "abcdefghijklmno ";
    }
    void blankToEndOfLine()
    {
        QFETCH(int, code);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        DisplayModel model;
        writeLine(model, 0, "ABCDEFGHIJKLMNOP");
        writeLine(model, 1, "abcdefghijklmnop");
        QVERIFY(model.apply(quint8(code), 0x80).redraw);
        QCOMPARE(model.displayedLine1(), line1);
        QCOMPARE(model.displayedLine2(), line2);
        QVERIFY(!model.stringEntryActive());
    }

    void blankWholeLinesWithoutDrawing()
    {
        DisplayModel model;
        writeLine(model, 0, "ABCDEFGHIJKLMNOP");
        writeLine(model, 1, "abcdefghijklmnop");
        DeviceEventEffects fx = model.apply(0x60, 0xFF);
        QVERIFY(fx.cellsChanged && !fx.redraw);
        QCOMPARE(model.displayedLine1(), QString(16, u' '));
        QCOMPARE(model.displayedLine2(), QStringLiteral("abcdefghijklmnop"));
        fx = model.apply(0x70, 0xFF);
        QVERIFY(fx.cellsChanged && !fx.redraw);
        QCOMPARE(model.displayedLine2(), QString(16, u' '));
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Nothing);
        // Other values of these codes do nothing.
        QVERIFY(!model.apply(0x70, 0x00).any());
        QVERIFY(!model.apply(0x60, 0x01).any());
    }

    void clearLcdLines()
    {
        for (int which : {0, 1, 2, 3, -1}) {
            DisplayModel model;
            writeLine(model, 0, "ABCDEFGHIJKLMNOP");
            writeLine(model, 1, "abcdefghijklmnop");
            model.ClearLcdLines(which);
            const bool first = which == 0 || which == 2;
            const bool second = which == 1 || which == 2;
            QCOMPARE(model.displayedLine1().trimmed().isEmpty(), first);
            QCOMPARE(model.displayedLine2().trimmed().isEmpty(), second);
        }
    }

    void cursorBlockDrawing()
    {
        DisplayModel model;
        writeLine(model, 0, "A B");
        model.apply(0x23, 0xFF);
        model.apply(0x29, 0xFF); // only the first block is measured
        QCOMPARE(model.cursorColumn(), 3);
        const Line1Drawing drawing = model.line1Drawing();
        // Blank cells are doubled: "A", two blanks, "B", then the block.
        QCOMPARE(drawing.cursorIndex, 4);
        QCOMPARE(drawing.text.at(4), QChar(LcdCursorChar));
        QCOMPARE(drawing.text.left(4), QStringLiteral("A  B"));
        QCOMPARE(drawing.text.size(), 4 + 1 + 5 * 2 + 1 + 6 * 2);

        DisplayModel plain;
        writeLine(plain, 0, "NO CURSOR");
        QCOMPARE(plain.cursorColumn(), -1);
        QCOMPARE(plain.line1Drawing().cursorIndex, -1);
    }

    void clockFlagFollowsDrawing()
    {
        DisplayModel model;
        DeviceEventEffects fx = model.apply(0x60, 0x00);
        QVERIFY(fx.showClock && model.clockShown());
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Clock);
        model.apply(0x31, 'x');
        QVERIFY(!model.clockShown());
        // Both lines still start blank: a plain repaint leaves the display as it is.
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Nothing);
        model.apply(0x30, 'x');
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Lcd);
        model.ShowClock();
        QVERIFY(model.clockShown());
        model.RedrawLcd();
        QVERIFY(!model.clockShown());
    }

    void clockText_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("7 August") << QDateTime(QDate(2024, 8, 7), QTime(9, 5))
                                  << "AGU  7 WED   09:05";
        QTest::newRow("31 December")
            << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)) << "DEC 31 SUN   23:59";
        QTest::newRow("10 January")
            << QDateTime(QDate(2024, 1, 10), QTime(0, 0)) << "JAN 10 WED   00:00";
        QTest::newRow("Saturday") << QDateTime(QDate(2024, 3, 2), QTime(12, 30))
                                  << "MAR  2 SAT   12:30";
    }
    void clockText()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, text);
        QCOMPARE(ClockText(time), text);
        QVERIFY(ClockText(time).startsWith(text.left(6)));
    }

    void ringStartsAndEndsCapture()
    {
        DisplayModel model;
        writeLine(model, 1, "0912345678"); // digits from before the ring do not count
        DeviceEventEffects fx = model.apply(0x90, 0x02);
        QCOMPARE(fx.ring, RingEvent::OutsideLineStarts);
        QVERIFY(model.numberCapture().running());
        QVERIFY(!model.lcdDrawn());
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::KeepGoing);

        feed(model, {{0x50, 0xC0}, {'0', '2'}, {'2', '7'}, {' ', 'O'}, {'K', 0x80}});
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::NumberFound);
        QCOMPARE(model.numberCapture().number(), QStringLiteral("0227"));
        QCOMPARE(model.tickNumberCapture(), NumberCapture::Result::Idle);

        fx = model.apply(0x90, 0x04);
        QCOMPARE(fx.ring, RingEvent::IntercomStarts);
        QVERIFY(model.numberCapture().number().isEmpty());
        fx = model.apply(0x90, 0x01);
        QCOMPARE(fx.ring, RingEvent::Ends);
        QVERIFY(!model.numberCapture().running());
        QCOMPARE(model.apply(0x90, 0x03).ring, RingEvent::None);
    }

    void recentPairsKeepTheLast64()
    {
        DisplayModel model;
        for (int i = 0; i < 70; ++i)
            model.apply(0x10, quint8(i)); // ignored code: only recorded
        const QList<EventPair> pairs = model.recentPairs();
        QCOMPARE(pairs.size(), DisplayModel::RecentPairCount);
        QCOMPARE(pairs.first(), EventPair(0x10, 6));
        QCOMPARE(pairs.last(), EventPair(0x10, 69));
        QCOMPARE(model.pairsReceived(), quint64(70));
    }
};

int runDisplayTests(int argc, char **argv)
{
    DisplayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_display.moc"
