// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/DisplayModel.h"

#include <QTest>

using namespace dpx;

namespace {
// Each step: state, whether the event is taken (1) or ignored (0), the lamp's image after it.
QList<int> keyLampSteps(const QList<int> &images)
{
    const int states[] = {0x00, 0x0B, 0x0A, 0x0C, 0x03, 0x02, 0x04, 0x0D, 0x05};
    QList<int> steps;
    for (qsizetype i = 0; i < images.size(); ++i)
        steps << states[i] << 1 << images[i];
    return steps;
}
} // namespace

class LampTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lampImages_data()
    {
        QTest::addColumn<int>("lamp");
        QTest::addColumn<QList<int>>("steps");
        // Key lamps: off, green fast / slow / steady, red fast / slow / steady, green / red wink.
        QTest::newRow("key 24") << 24 << keyLampSteps({411, 409, 410, 408, 414, 415, 413, 545, 546});
        QTest::newRow("key 7") << 7 << keyLampSteps({416, 433, 444, 455, 466, 477, 488, 545, 546});
        QTest::newRow("key 12") << 12 << keyLampSteps({422, 427, 438, 449, 460, 471, 482, 545, 546});
        // "Off if it was ever red/green" is ignored until that colour was used; wink flashes fast.
        QTest::newRow("large indicator")
            << int(LargeIndicator)
            << QList<int>{0x09, 0, 495, 0x0C, 1, 497, 0x01, 0, 497, 0x09, 1, 495, 0x05, 1, 498, 0x0D, 1, 494,
                          0x01, 1, 495, 0x02, 1, 499, 0x04, 1, 500, 0x0A, 1, 496};
        QTest::newRow("small indicator, red only")
            << int(SmallIndicator)
            << QList<int>{0x02, 1, 502, 0x03, 1, 501, 0x04, 1, 503, 0x05, 1, 501, 0x0C, 0, 501, 0x01, 1, 493,
                          0x04, 1, 503, 0x0A, 0, 503, 0x09, 1, 493};
        QTest::newRow("key 15 image") << int(Key15Lamp) << QList<int>{0x04, 1, 390, 0x0C, 0, 390, 0x09, 1, 325};
        QTest::newRow("ignored states") << 5 << QList<int>{0x0B, 1, 431, 0x06, 0, 431, 0x07, 0, 431, 0x08, 0, 431,
                                                           0x0E, 0, 431, 0x0F, 0, 431, 0x10, 0, 431};
        for (int lamp : {0, 25, 28, 30, 33, 255})
            QTest::addRow("no lamp %d", lamp) << lamp << QList<int>{0x04, 0, 0};
    }
    void lampImages()
    {
        QFETCH(int, lamp);
        QFETCH(QList<int>, steps);
        DisplayModel model;
        for (qsizetype i = 0; i + 2 < steps.size(); i += 3) {
            const DeviceEventEffects fx = model.apply(quint8(steps[i]), quint8(lamp));
            QCOMPARE(fx.lampSet, steps[i + 1] == 1);
            QCOMPARE(fx.any(), fx.lampSet);
            const int image = lamp == Key15Lamp ? model.lamps().keyImages(lamp)[0] : model.lamps().lampImage(lamp);
            QCOMPARE(image, steps[i + 2]);
        }
    }

    void steadyLampsLightTheKey()
    {
        const KeyImageSet normal{331, 333, 332, 331}, red{543, 543, 543, 543}, green{544, 544, 544, 544};
        LampBoard lamps;
        for (const auto &[state, images] : {std::pair{0x04, red}, {0x02, red}, {0x0C, green}, {0x0B, green},
                                            {0x01, normal}, {0x0A, normal}}) {
            QVERIFY(lamps.SetLamp(quint8(state), 3));
            QCOMPARE(lamps.keyImages(3), images);
        }
        QCOMPARE(lamps.keyImages(4), normal); // only lamp 3 changed
    }
};

QTEST_GUILESS_MAIN(LampTest)
#include "tst_lamps.moc"
