// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/KeyCodes.h"

#include <QTest>

#include <bit>

using namespace dpx;

namespace {
QList<int> keyBytes(int keyNumber, PhoneType type)
{
    QList<int> bytes;
    for (const FramePayload &frame : framePayloads(keyNumber, type)) {
        bytes << frame.command << frame.value;
    }
    return bytes;
}
} // namespace

class KeyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyFrames_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("dx"); // bytes 2 and 3 of each frame
        QTest::addColumn<QList<int>>("sd");
        QTest::newRow("hash") << 27 << QList<int>{4, 0x9C} << QList<int>{4, 0x9C};
        QTest::newRow("nav up") << 10 << QList<int>{4, 0xF0} << QList<int>{4, 0x60};
        QTest::newRow("nav centre") << 12 << QList<int>{4, 0x74} << QList<int>{4, 0xE4};
        QTest::newRow("function 4") << 4 << QList<int>{4, 0xF5} << QList<int>{4, 0x65};
        QTest::newRow("digit 3") << 18 << QList<int>{4, 0x93} << QList<int>{4, 0x93};
        QTest::newRow("digit 2") << 17 << QList<int>{4, 0x12} << QList<int>{4, 0x12};
        QTest::newRow("digit 0") << 25 << QList<int>{4, 0x9A} << QList<int>{4, 0x9A};
        QTest::newRow("soft key 1") << 1 << QList<int>{4, 0xD2} << QList<int>{4, 0xD2};
        QTest::newRow("programmable 12") << 45 << QList<int>{4, 0xAC} << QList<int>{4, 0xAC};
        QTest::newRow("programmable 15") << 59 << QList<int>{4, 0xAF} << QList<int>{4, 0xAF};
        QTest::newRow("programmable 16") << 60 << QList<int>{4, 0xB1} << QList<int>{4, 0xB1};
        QTest::newRow("programmable 24") << 68 << QList<int>{4, 0x39} << QList<int>{4, 0x39};
        QTest::newRow("key 56") << 56 << QList<int>{4, 0xC3} << QList<int>{4, 0xC3};
        QTest::newRow("sequence 13")
            << 13 << QList<int>{4, 0xC3, 4, 0x96, 4, 0x9A} << QList<int>{4, 0xC3, 4, 0x96, 4, 0x9A};
        QTest::newRow("double 14")
            << 14 << QList<int>{4, 0xC3, 4, 0x11} << QList<int>{4, 0xC3, 4, 0x11};
        QTest::newRow("sequence 15")
            << 15 << QList<int>{4, 0xC3, 4, 0x17, 4, 0x96} << QList<int>{4, 0xC3, 4, 0x17, 4, 0x96};
        QTest::newRow("switch on") << 46 << QList<int>{5, 1} << QList<int>{5, 1};
        QTest::newRow("switch off") << 47 << QList<int>{5, 0} << QList<int>{5, 0};
        for (int none : {0, -1, 48, 49, 50, 51, 69, 1000})
            QTest::addRow("none %d", none) << none << QList<int>{} << QList<int>{};
    }
    void keyFrames()
    {
        QFETCH(int, key);
        QFETCH(QList<int>, dx);
        QFETCH(QList<int>, sd);
        QCOMPARE(keyBytes(key, PhoneType::DX), dx);
        QCOMPARE(keyBytes(key, PhoneType::SD), sd);
    }

    void hashFrameChecksum()
    {
        // The frame's checksum is the NOT of the sum of bytes 1-3 (length 4, command, code).
        const FramePayload hash = framePayloads(27, PhoneType::DX).first();
        QCOMPARE(quint8(~quint8(4 + hash.command + hash.value)), quint8(0x5B));
    }

    void sequenceKeys()
    {
        const KeyPress k13 = translateKey(13, PhoneType::SD);
        QVERIFY(k13.frames.isEmpty() && !k13.togglesKey15);
        QCOMPARE(k13.followKeys, (QList<int>{28, 21, 25}));
        const KeyPress k15 = translateKey(15, PhoneType::DX);
        QVERIFY(k15.frames.isEmpty() && k15.togglesKey15);
        QCOMPARE(k15.followKeys, (QList<int>{28, 22, 21}));
        QVERIFY(translateKey(49, PhoneType::DX).isEmpty());
        QVERIFY(!translateKey(29, PhoneType::DX).isEmpty());
    }

    void everyCodeHasEvenParity()
    {
        for (int code = 0; code < 0x80; ++code) {
            const quint8 sent = withEvenParity(quint8(code));
            QCOMPARE(sent & 0x7F, code);
            QCOMPARE(std::popcount(sent) % 2, 0);
        }
        for (int key = FirstKeyNumber; key <= LastKeyNumber; ++key) {
            for (const PhoneType type : {PhoneType::DX, PhoneType::SD}) {
                for (const FramePayload &frame : framePayloads(key, type)) {
                    if (frame.command == KeyPressCommand)
                        QCOMPARE(std::popcount(frame.value) % 2, 0);
                }
            }
        }
    }

    void onlyTheListedKeysDifferByType()
    {
        for (int key = -2; key <= 70; ++key) {
            const bool differs = keyCode7(key, PhoneType::DX) != keyCode7(key, PhoneType::SD);
            QCOMPARE(differs, key == 4 || (key >= 8 && key <= 12));
        }
    }

    void ringEnable()
    {
        QCOMPARE(ringEnablePayload(true), (FramePayload{0x06, 0x01}));
        QCOMPARE(ringEnablePayload(false), (FramePayload{0x06, 0x00}));
    }

    void digitKeys()
    {
        QCOMPARE(digitKeyNumber(u'0'), 25);
        for (char16_t d = u'1'; d <= u'9'; ++d)
            QCOMPARE(digitKeyNumber(d), 15 + (d - u'0'));
        for (char16_t c : {u'p', u'*', u'#', u' ', u'\u0663'})
            QCOMPARE(digitKeyNumber(c), -1);
    }

    void diallableNumbers_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("ok");
        QTest::newRow("digits") << "0912345678" << true;
        QTest::newRow("pauses") << "9p123P4" << true;
        QTest::newRow("name") << "Alice" << false;
        QTest::newRow("dash") << "02-1234" << false;
        QTest::newRow("plus") << "+886" << false;
        QTest::newRow("arabic digit") << QStringLiteral("\u0661\u0662") << false;
        QTest::newRow("empty") << "" << false;
    }
    void diallableNumbers()
    {
        QFETCH(QString, number);
        QFETCH(bool, ok);
        QCOMPARE(isDiallableNumber(number), ok);
    }

    void dialSteps()
    {
        // Line code 0, number 9p123: press 0, wait 1.5 s, press 9, wait 1.2 s, press 1, 2, 3.
        const QList<DialStep> steps = dpx::dialSteps(u"0", u"9p123");
        const QList<DialStep> expected{{25, 300}, {0, 1500}, {24, 300}, {0, 1200},
                                       {16, 300}, {17, 300}, {18, 300}};
        QCOMPARE(steps, expected);
        // Odd characters in the line code are skipped; an empty one leaves only the pause.
        QCOMPARE(dpx::dialSteps(u"x9,", u"1"), (QList<DialStep>{{24, 300}, {0, 1500}, {16, 300}}));
        QCOMPARE(dpx::dialSteps(u"", u"1"), (QList<DialStep>{{0, 1500}, {16, 300}}));
    }
};

int runKeyTests(int argc, char **argv)
{
    KeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keys.moc"
