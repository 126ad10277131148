// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QRandomGenerator>
#include <QTest>

using namespace dpx;
using namespace dpx::test;

class DisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void events_data()
    {
        QTest::addColumn<QByteArray>("pairs"); // code, value, code, value, ...
        QTest::addColumn<QString>("shown");    // line 1 | line 2
        QTest::addColumn<bool>("redraw");    // whether any pair asked for a draw
        const auto row = [](const char *name, const QByteArray &pairs, const char *shown, bool redraw = true) {
            QTest::newRow(name) << pairs << QString::fromUtf8(shown) << redraw;
        };
        // Both lines hold "................" and "________________" first.
        row("line 1 column 4", "\x24\x41", "....A...........|________________");
        row("line 2 column 4", "\x34\x41", "................|____A___________");
        row("control byte", "\x23\x07", "... ............|________________");
        row("high byte", "\x33\xFE", "................|___ ____________");
        row("0xFF block on line 1", "\x27\xFF", ".......\u2588........|________________");
        row("0xFF on line 2", "\x37\xFF", "................|_______ ________");
        row("0x7F and 0x7E on line 2", "\x31\x7F\x32\x7E", "................|_<>_____________");
        row("0x7E on line 1", "\x22\x7E", "..~.............|________________");
        // Entries; after their end, (G, H) is no table event and (0x2F, '!') a cell again.
        row("six letters wrap into line 2, (0x80, x) ends", "\x4C\xC0" "123456" "\x80\x33" "GH" "\x2F!",
            "............123!|56______________");
        row("from line 2 wrapping to line 1", "\x5E\xC0" "1234" "\x80\x33" "\x2F!",
            "34.............!|______________12");
        row("value 0x80 writes its code and ends", "\x43\xC0" "HI" "!\x80" "JK",
            "...HI!..........|________________");
        row("ring and special pairs inside are text", QByteArrayLiteral("\x50\xC0\x90\x02\x00\x1FXY\x80\x33"),
            "................|    XY__________");
        row("blank line 1 from column 5", "\x45\x80", ".....           |________________");
        row("blank line 2 from column 5", "\x55\x80", "................|_____           ");
        row("blank line 1 unseen", "\x60\xFF", "                |________________", false);
        row("blank line 2 unseen", "\x70\xFF", "................|                ", false);
        row("0x70 with another value", QByteArrayLiteral("\x70\x00"), "................|________________", false);
    }
    void events()
    {
        QFETCH(QByteArray, pairs);
        QFETCH(QString, shown);
        QFETCH(bool, redraw);
        DisplayModel model;
        writeLine(model, 0, "................");
        writeLine(model, 1, "________________");
        bool drawn = false;
        for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
            drawn = model.apply(quint8(pairs[i]), quint8(pairs[i + 1])).redraw || drawn;
        QCOMPARE(screen(model), shown);
        QCOMPARE(drawn, redraw);
        QVERIFY(!model.stringEntryActive() && !model.numberCapture().running());
    }

    void repaintShowsWhatWasDrawnLast()
    {
        DisplayModel model;
        model.apply(0x24, 0x41);
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Nothing); // both lines start blank
        model.apply(0x60, 0x00);
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Clock);
        model.apply(0x30, 'x');
        QCOMPARE(model.repaintAction(), DisplayModel::Repaint::Lcd);
    }

    void softKeyWords_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("words"); // left|middle|right
        QTest::newRow("three groups") << "ABC   DEF   GHI " << "ABC|DEF|GHI";
        QTest::newRow("blank columns 0-2") << "   X  DEF   GHI " << "|X|DEF";
        QTest::newRow("empty") << QString(16, u' ') << "||";
        // Nothing follows a whole-line word, so every search falls back to the whole line.
        QTest::newRow("one long word") << "ABCDEFGHIJKLMNOP" << "ABCDEFGHIJKLMNOP|ABCDEFGHIJKLMNOP|ABCDEFGHIJKLMNOP";
        // The middle word runs to the end: the right word comes from what followed the left.
        QTest::newRow("middle to end") << "AB     CDEFGHIJK" << "AB|CDEFGHIJK|CDEFGHIJK";
        QTest::newRow("only blanks after middle") << "ABCDEFGHI   XY  " << "ABCDEFGHI|XY|";
    }
    void softKeyWords()
    {
        QFETCH(QString, line);
        QFETCH(QString, words);
        QCOMPARE(splitSoftKeyWords(line).toList().join(u'|'), words);
    }

    void clockText()
    {
        QCOMPARE(ClockText(QDateTime(QDate(2024, 8, 7), QTime(9, 5))), QStringLiteral("AGU  7 WED   09:05"));
        QCOMPARE(ClockText(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59))), QStringLiteral("DEC 31 SUN   23:59"));
    }

    void randomPairsKeepInvariants()
    {
        // Biased towards the codes that do something.
        static const quint8 interesting[] = {0x00, 0x04, 0x0C, 0x20, 0x3F, 0x40, 0x5F, 0x60,
                                             0x61, 0x70, 0x80, 0x90, 0xC0, 0xFF, 0x1F, 0x01};
        QRandomGenerator random(20240807);
        const auto pick = [&] { return random.bounded(3) ? quint8(random.bounded(256)) : interesting[random.bounded(16)]; };
        DisplayModel model;
        for (int i = 0; i < 20000; ++i) {
            model.apply(pick(), pick());
            switch (random.bounded(8)) {
            case 0: model.tickCallTimerDisplay(); break;
            case 1: model.tickSilentCount(); break;
            case 2: model.tickNumberCapture(); break;
            }
            const CallTimer &timer = model.callTimer();
            QCOMPARE(screen(model).size(), 2 * LcdColumns + 1);
            QVERIFY(model.stringEntryColumn() >= 0 && model.stringEntryColumn() < LcdColumns);
            QVERIFY(timer.minutes() >= 0 && timer.minutes() < 60 && timer.seconds() >= 0 && timer.seconds() < 60);
            QVERIFY(!(timer.silentCountRunning() && timer.displayRunning()));
            QVERIFY(model.numberCapture().ticks() <= NumberCapture::MaxTicks);
            QCOMPARE(model.line1Drawing().cursorIndex >= 0, model.cursorColumn() >= 0);
            for (const QString &word : model.softKeyWords().toList())
                QVERIFY(word.size() <= LcdColumns && !word.contains(u' '));
        }
    }
};

QTEST_GUILESS_MAIN(DisplayTest)
#include "tst_display.moc"
