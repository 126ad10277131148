// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QTest>

using namespace dpx;

Q_DECLARE_METATYPE(dpx::KeyImageSet)

namespace {
const KeyImageSet NormalKey{331, 333, 332, 331};
const KeyImageSet RedKey{543, 543, 543, 543};
const KeyImageSet GreenKey{544, 544, 544, 544};
} // namespace

class LampTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyLampStates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("name");
        QTest::addColumn<KeyImageSet>("keyImages");
        QTest::newRow("0x02") << 0x02 << "red-slow" << NormalKey;
        QTest::newRow("0x03") << 0x03 << "red-fast" << NormalKey;
        QTest::newRow("0x04") << 0x04 << "red-steady" << RedKey;
        QTest::newRow("0x05") << 0x05 << "red-wink" << NormalKey;
        QTest::newRow("0x0A") << 0x0A << "green-slow" << NormalKey;
        QTest::newRow("0x0B") << 0x0B << "green-fast" << NormalKey;
        QTest::newRow("0x0C") << 0x0C << "green-steady" << GreenKey;
        QTest::newRow("0x0D") << 0x0D << "green-wink" << NormalKey;
    }
    void keyLampStates()
    {
        QFETCH(int, state);
        QFETCH(QString, name);
        QFETCH(KeyImageSet, keyImages);
        for (quint8 off : {0x00, 0x01, 0x09}) {
            DisplayModel model;
            const DeviceEventEffects fx = model.apply(quint8(state), 3);
            QVERIFY(fx.lampSet);
            QCOMPARE(fx.lampState, quint8(state));
            QCOMPARE(fx.lampNumber, quint8(3));
            QCOMPARE(lampStateName(model.lamps().lamp(3)), name);
            QCOMPARE(model.lamps().keyImages(3), keyImages);
            QCOMPARE(lampStateCode(*parseLampState(name)), state);
            QVERIFY(model.lamps().lamp(4).isOff()); // only lamp 3 changed

            QVERIFY(model.apply(off, 3).lampSet);
            QCOMPARE(lampStateName(model.lamps().lamp(3)), QStringLiteral("off"));
            QCOMPARE(model.lamps().keyImages(3), NormalKey);
        }
    }

    void flashingKeepsKeyImages()
    {
        LampBoard lamps;
        lamps.SetLamp(0x04, 7);
        lamps.SetLamp(0x02, 7);
        QCOMPARE(lampStateName(lamps.lamp(7)), QStringLiteral("red-slow"));
        QCOMPARE(lamps.keyImages(7), RedKey);
    }

    void keyLampImages_data()
    {
        QTest::addColumn<int>("lamp");
        QTest::addColumn<QList<int>>("images"); // off, g fast, g slow, g steady, r fast,
                                                // r slow, r steady, g wink, r wink
        QTest::newRow("1") << 1 << QList<int>{411, 409, 410, 408, 414, 415, 413, 545, 546};
        QTest::newRow("13") << 13 << QList<int>{411, 409, 410, 408, 414, 415, 413, 545, 546};
        QTest::newRow("24") << 24 << QList<int>{411, 409, 410, 408, 414, 415, 413, 545, 546};
        QTest::newRow("2") << 2 << QList<int>{417, 428, 439, 450, 461, 472, 483, 545, 546};
        QTest::newRow("7") << 7 << QList<int>{416, 433, 444, 455, 466, 477, 488, 545, 546};
        QTest::newRow("11") << 11 << QList<int>{426, 437, 448, 459, 470, 481, 492, 545, 546};
        QTest::newRow("12") << 12 << QList<int>{422, 427, 438, 449, 460, 471, 482, 545, 546};
    }
    void keyLampImages()
    {
        QFETCH(int, lamp);
        QFETCH(QList<int>, images);
        const quint8 states[] = {0x00, 0x0B, 0x0A, 0x0C, 0x03, 0x02, 0x04, 0x0D, 0x05};
        LampBoard lamps;
        for (int i = 0; i < images.size(); ++i) {
            QVERIFY(lamps.SetLamp(states[i], quint8(lamp)));
            QCOMPARE(lamps.lampImage(lamp), images[i]);
        }
    }

    void largeIndicator()
    {
        LampBoard lamps;
        QCOMPARE(lamps.lampImage(LargeIndicator), 495);
        QVERIFY(lamps.SetLamp(0x0C, 32));
        QCOMPARE(lamps.lampImage(32), 497);
        // "Off if it was ever red": it never was, so green stays on.
        QVERIFY(!lamps.SetLamp(0x01, 32));
        QCOMPARE(lampStateName(lamps.lamp(32)), QStringLiteral("green-steady"));
        QVERIFY(lamps.SetLamp(0x09, 32)); // it has been green
        QCOMPARE(lamps.lampImage(32), 495);

        QVERIFY(lamps.SetLamp(0x05, 32)); // wink shows as a fast flash
        QCOMPARE(lampStateName(lamps.lamp(32)), QStringLiteral("red-fast"));
        QCOMPARE(lamps.lampImage(32), 498);
        QVERIFY(lamps.largeIndicatorRedUsed());
        QVERIFY(lamps.SetLamp(0x0D, 32));
        QCOMPARE(lamps.lampImage(32), 494);
        QVERIFY(lamps.SetLamp(0x01, 32)); // red was used once: off
        QVERIFY(lamps.lamp(32).isOff());

        const QList<std::pair<int, int>> images{{0x02, 499}, {0x04, 500}, {0x0A, 496}};
        for (const auto &[state, image] : images) {
            QVERIFY(lamps.SetLamp(quint8(state), 32));
            QCOMPARE(lamps.lampImage(32), image);
        }
    }

    void smallIndicatorIsRedOnly()
    {
        DisplayModel model;
        QCOMPARE(model.lamps().lampImage(SmallIndicator), 493);
        const QList<std::pair<int, int>> images{{0x02, 502}, {0x03, 501}, {0x04, 503}, {0x05, 501},
                                                {0x01, 493}, {0x04, 503}, {0x09, 493}};
        for (const auto &[state, image] : images) {
            QVERIFY(model.apply(quint8(state), 31).lampSet);
            QCOMPARE(model.lamps().lampImage(31), image);
        }
        model.apply(0x03, 31);
        for (quint8 green : {0x0A, 0x0B, 0x0C, 0x0D})
            QVERIFY(!model.apply(green, 31).any());
        QCOMPARE(model.lamps().lampImage(31), 501);
        // The special pair reaches the small indicator as "off" after resetting key 15.
        const DeviceEventEffects fx = model.apply(0x00, 0x1F);
        QVERIFY(fx.key15ImageReset && fx.lampSet);
        QCOMPARE(model.lamps().lampImage(31), 493);
    }

    void key15Image()
    {
        LampBoard lamps;
        QVERIFY(lamps.key15ToggleFlag()); // starts normal
        QCOMPARE(lamps.keyImages(Key15Lamp), (KeyImageSet{325, 315, 326, 325}));
        QVERIFY(lamps.SetLamp(0x04, 29));
        QVERIFY(!lamps.key15ToggleFlag());
        QCOMPARE(lamps.keyImages(Key15Lamp), (KeyImageSet{390, 315, 390, 390}));
        QVERIFY(!lamps.SetLamp(0x0C, 29)); // other states leave it
        QVERIFY(lamps.key15Active());
        QVERIFY(lamps.SetLamp(0x09, 29));
        QVERIFY(lamps.key15ToggleFlag());
        QVERIFY(lamps.toggleKey15());
        QVERIFY(!lamps.toggleKey15());
    }

    void ignoredStatesAndLamps()
    {
        DisplayModel model;
        model.apply(0x0B, 5);
        for (quint8 state : {0x06, 0x07, 0x08, 0x0E, 0x0F})
            for (quint8 lamp : {1, 5, 24, 29, 31, 32})
                QVERIFY(!model.apply(state, lamp).any());
        for (quint8 lamp : {0, 25, 28, 30, 33, 0x1F + 0x10, 255})
            QVERIFY(!model.apply(0x04, lamp).any());
        QVERIFY(!model.apply(0x10, 5).any()); // 0x10-0x1F are no lamp codes
        QCOMPARE(lampStateName(model.lamps().lamp(5)), QStringLiteral("green-fast"));
        QCOMPARE(model.lamps().lampImage(25), 0);
        QCOMPARE(model.lamps().lampImage(0), 0);
    }

    void stateNames()
    {
        QVERIFY(!parseLampState(u"red").has_value());
        QVERIFY(!parseLampState(u"RED-SLOW").has_value());
        QVERIFY(!parseLampState(u"").has_value());
        QCOMPARE(*parseLampState(u"off"), LampState{});
        QCOMPARE(lampStateCode(LampState{}), 0);
    }
};

int runLampTests(int argc, char **argv)
{
    LampTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lamps.moc"
