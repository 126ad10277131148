// SPDX-License-Identifier: GPL-3.0-or-later
// The mu-law encoder against a table built from the classic rule, and the float input scaling.
#include "audio/MuLaw.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

using namespace dpx;

namespace {

// The rule written another way: the segment is the biased magnitude's highest bit minus 6,
// the mantissa the four bits below that bit; clipped values take the top code.
quint8 expectedCode(int v)
{
    const unsigned magnitude = unsigned(std::min(std::abs(v), 8159) + 33);
    const int top = std::bit_width(magnitude) - 1; // 5..13
    const int segment = std::min(top - 5, 7);
    const unsigned mantissa = top - 5 > 7 ? 0x0F : (magnitude >> (top - 4)) & 0x0F;
    const unsigned sign = v < 0 ? 0x80 : 0;
    return quint8(~(sign | unsigned(segment) << 4 | mantissa));
}

} // namespace

class MuLawTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFourteenBitInputMatchesTheRule()
    {
        int mismatches = 0;
        for (int v = -8192; v <= 8191; ++v) {
            if (mulaw::encode14(v) != expectedCode(v) && ++mismatches <= 5)
                qWarning("input %d: got 0x%02x, want 0x%02x", v, mulaw::encode14(v), expectedCode(v));
        }
        QCOMPARE(mismatches, 0);
    }

    void knownCodes_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("code");
        QTest::newRow("zero") << 0 << 0xFF;
        QTest::newRow("one") << 1 << 0xFE;
        // The plain magnitude of -1, not -v-1: the G.191 variant would give 0x7F.
        QTest::newRow("minus one") << -1 << 0x7E;
        QTest::newRow("segment edge") << 30 << 0xF0;
        QTest::newRow("clip") << 8159 << 0x80;
        QTest::newRow("largest") << 8191 << 0x80;
        QTest::newRow("smallest") << -8192 << 0x00;
    }
    void knownCodes()
    {
        QFETCH(int, input);
        QFETCH(int, code);
        QCOMPARE(int(mulaw::encode14(input)), code);
    }

    void floatToFourteenBits_data()
    {
        QTest::addColumn<float>("sample");
        QTest::addColumn<int>("linear14");
        QTest::newRow("+1 clips") << 1.0f << 8191;
        QTest::newRow("-1") << -1.0f << -8192;
        QTest::newRow("beyond +1") << 1.7f << 8191;
        QTest::newRow("beyond -1") << -4.0f << -8192;
        QTest::newRow("+inf") << std::numeric_limits<float>::infinity() << 8191;
        QTest::newRow("-inf") << -std::numeric_limits<float>::infinity() << -8192;
        QTest::newRow("NaN is silence") << std::numeric_limits<float>::quiet_NaN() << 0;
        QTest::newRow("half") << 0.5f << 4096;
        QTest::newRow("-half") << -0.5f << -4096;
        // Rounded to the 14-bit step, halves up (a 16-bit value shifted right would floor).
        QTest::newRow("quarter step") << float(1.0 / 32768) << 0;
        QTest::newRow("half step up") << float(2.0 / 32768) << 1;
        QTest::newRow("half step down") << float(-2.0 / 32768) << 0;
        QTest::newRow("three quarters down") << float(-3.0 / 32768) << -1;
        QTest::newRow("16-bit 4095 rounds up") << float(4095.0 / 32768) << 1024;
    }
    void floatToFourteenBits()
    {
        QFETCH(float, sample);
        QFETCH(int, linear14);
        QCOMPARE(mulaw::linear14FromFloat(sample), linear14);
    }

    void decodingInvertsEveryCode()
    {
        for (int code = 0; code < 256; ++code) {
            const int linear = mulaw::decode(quint8(code)) / 4;
            QCOMPARE(int(mulaw::encode14(linear)), code == 0x7F ? 0xFF : code);
        }
    }
};

QTEST_GUILESS_MAIN(MuLawTest)
#include "tst_audio_mulaw.moc"
