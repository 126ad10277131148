// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QRandomGenerator>
#include <QTest>

using namespace dpx;

// Random pairs, biased towards the codes that do something, must keep the model sound.
class FuzzTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomPairsKeepInvariants()
    {
        static const quint8 interesting[] = {0x00, 0x04, 0x0C, 0x20, 0x3F, 0x40, 0x5F, 0x60,
                                             0x61, 0x70, 0x80, 0x90, 0xC0, 0xFF, 0x1F, 0x01};
        QRandomGenerator random(20240807);
        DisplayModel model;
        for (int i = 0; i < 100000; ++i) {
            const auto pick = [&] {
                return random.bounded(3) == 0 ? interesting[random.bounded(16)]
                                              : quint8(random.bounded(256));
            };
            const quint8 code = pick();
            const quint8 value = pick();
            model.apply(code, value);
            switch (random.bounded(8)) {
            case 0: model.tickCallTimerDisplay(); break;
            case 1: model.tickSilentCount(); break;
            case 2: model.tickNumberCapture(); break;
            default: break;
            }

            const QString line1 = model.displayedLine1();
            const QString line2 = model.displayedLine2();
            QCOMPARE(line1.size(), LcdColumns);
            QCOMPARE(line2.size(), LcdColumns);
            QVERIFY(model.stringEntryColumn() >= 0 && model.stringEntryColumn() < LcdColumns);
            QVERIFY(model.stringEntryLine() == 0 || model.stringEntryLine() == 1);
            QVERIFY(model.callTimer().minutes() >= 0 && model.callTimer().minutes() < 60);
            QVERIFY(model.callTimer().seconds() >= 0 && model.callTimer().seconds() < 60);
            QVERIFY(
                !(model.callTimer().silentCountRunning() && model.callTimer().displayRunning()));
            QVERIFY(model.numberCapture().ticks() <= NumberCapture::MaxTicks);
            for (const QChar c : line2)
                QVERIFY(c >= u' ' && c < QChar(0x7F));
            const Line1Drawing drawing = model.line1Drawing();
            QVERIFY(drawing.text.size() >= LcdColumns && drawing.text.size() <= 2 * LcdColumns);
            QCOMPARE(drawing.cursorIndex >= 0, model.cursorColumn() >= 0);
            const SoftKeyWords words = model.softKeyWords();
            QVERIFY(words.left.size() <= LcdColumns && !words.left.contains(u' '));
            QVERIFY(!words.middle.contains(u' ') && !words.right.contains(u' '));
        }
        QCOMPARE(model.recentPairs().size(), DisplayModel::RecentPairCount);
    }
};

int runFuzzTests(int argc, char **argv)
{
    FuzzTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fuzz.moc"
