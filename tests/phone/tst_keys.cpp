// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/KeyCodes.h"

#include <QTest>

#include <bit>

using namespace dpx;

namespace {
// Bytes 2 and 3 (command, value) of every frame a key press sends.
QList<int> keyBytes(int keyNumber, PhoneType type)
{
    QList<int> bytes;
    for (const FramePayload &frame : framePayloads(keyNumber, type))
        bytes << frame.command << frame.value;
    return bytes;
}
} // namespace

class KeyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyFrames_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("dx");
        QTest::addColumn<QList<int>>("sd");
        QTest::newRow("hash") << 27 << QList<int>{4, 0x9C} << QList<int>{4, 0x9C};
        QTest::newRow("nav up") << 10 << QList<int>{4, 0xF0} << QList<int>{4, 0x60};
        QTest::newRow("function 4") << 4 << QList<int>{4, 0xF5} << QList<int>{4, 0x65};
        QTest::newRow("digit 3") << 18 << QList<int>{4, 0x93} << QList<int>{4, 0x93};
        const QList<int> key13{4, 0xC3, 4, 0x96, 4, 0x9A};
        QTest::newRow("sequence 13") << 13 << key13 << key13;
        QTest::newRow("switch on") << 46 << QList<int>{5, 1} << QList<int>{5, 1};
        for (int none : {0, -1, 48, 51, 69, 1000})
            QTest::addRow("no key %d", none) << none << QList<int>{} << QList<int>{};
    }
    void keyFrames()
    {
        QFETCH(int, key);
        QFETCH(QList<int>, dx);
        QFETCH(QList<int>, sd);
        QCOMPARE(keyBytes(key, PhoneType::DX), dx);
        QCOMPARE(keyBytes(key, PhoneType::SD), sd);
    }

    void everyCodeHasEvenParity()
    {
        for (int code = 0; code < 0x80; ++code) {
            const quint8 sent = withEvenParity(quint8(code));
            QCOMPARE(sent & 0x7F, code);
            QCOMPARE(std::popcount(sent) % 2, 0);
        }
        for (int key = -2; key <= 70; ++key) {
            const bool differs = keyCode7(key, PhoneType::DX) != keyCode7(key, PhoneType::SD);
            QCOMPARE(differs, key == 4 || (key >= 8 && key <= 12)); // only these differ by type
            for (const FramePayload &frame : framePayloads(key, PhoneType::SD))
                QVERIFY(frame.command != KeyPressCommand || std::popcount(frame.value) % 2 == 0);
        }
    }

    void diallableNumbers()
    {
        for (const QStringView number : {u"0912345678", u"9p123P4"})
            QVERIFY2(isDiallableNumber(number), qPrintable(number.toString()));
        for (const QStringView number : {u"", u"Alice", u"02-1234", u"+886", u"\u0661\u0662"})
            QVERIFY2(!isDiallableNumber(number), qPrintable(number.toString()));
    }

    void dialSteps()
    {
        // Line code 0, number 9p123: press 0, wait 1.5 s, press 9, wait 1.2 s, press 1, 2, 3.
        const QList<DialStep> expected{{25, 300}, {0, 1500}, {24, 300}, {0, 1200}, {16, 300}, {17, 300}, {18, 300}};
        QCOMPARE(dpx::dialSteps(u"0", u"9p123"), expected);
        // Odd characters in the line code are skipped; an empty one leaves only the pause.
        QCOMPARE(dpx::dialSteps(u"x9,", u"1"), (QList<DialStep>{{24, 300}, {0, 1500}, {16, 300}}));
        QCOMPARE(dpx::dialSteps(u"", u"1"), (QList<DialStep>{{0, 1500}, {16, 300}}));
    }
};

QTEST_GUILESS_MAIN(KeyTest)
#include "tst_keys.moc"
