// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/RingStream.h"
#include "audio/SoundFileReader.h"
#include "audio/Waveform.h"

using namespace dpx;
using namespace dpx::test;

class DecodeTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

  private Q_SLOTS:
    // A ring file decoded once through the stream the audio output reads, as 16-bit stereo.
    void streamDecodesOnceInWholeFrames_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("wav 16-bit mono 8 kHz") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 8000 << 1;
        QTest::newRow("mp3 stereo 44.1 kHz")
            << (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) << 44100 << 2;
    }
    void streamDecodesOnceInWholeFrames()
    {
        QFETCH(int, format);
        QFETCH(int, rate);
        QFETCH(int, channels);
        const QString path = m_dir.filePath(QStringLiteral("tone-%1").arg(QTest::currentDataTag()));
        QVERIFY(writeTone(path, 0.5, rate, channels, format));
        auto reader = std::make_unique<SoundFileReader>();
        QVERIFY(reader->open(path));
        RingStream stream(std::move(reader), {rate, 2, PcmSampleType::Int16});
        QVERIFY(stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const qint64 fileBytes = qint64(rate / 2) * 4;
        // The audio output lowers its start-up buffering to what a fresh stream reports: were
        // it less than the file, a ring shorter than that buffer would never start sounding.
        QCOMPARE(stream.bytesAvailable(), fileBytes);

        QByteArray all;
        char buffer[1001]; // not a whole number of frames: the sound server rejects a torn one
        while (const qint64 got = stream.read(buffer, sizeof buffer)) {
            QCOMPARE(got % 4, 0);
            all.append(buffer, got);
        }
        QCOMPARE(all.size(), fileBytes);
        double sum = 0;
        for (qsizetype i = 0; i < all.size() / 2; ++i)
            sum += std::pow(reinterpret_cast<const qint16 *>(all.constData())[i] / 32767.0, 2);
        const double rms = std::sqrt(sum / double(all.size() / 2)); // on both channels
        QVERIFY2(std::abs(rms - 0.1 / std::sqrt(2.0)) < 0.005, qPrintable(QString::number(rms)));
        QCOMPARE(openFileCount(path), 0);                // closed at its end, not at the next Stop
        QCOMPARE(stream.read(buffer, sizeof buffer), 0); // nothing repeats
    }

    // Half silence, half a 0.5 tone (stereo, one channel silent: the mix is the mean).
    void waveformFollowsTheDecodedSound()
    {
        const QString path = m_dir.filePath(QStringLiteral("half.wav"));
        SF_INFO info{0, 8000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
        SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
        QVERIFY(file);
        std::vector<float> frames(2 * 16000, 0.0f);
        for (size_t i = 8000; i < 16000; ++i)
            frames[2 * i] = float(std::sin(2 * M_PI * 440 * double(i) / 8000));
        QCOMPARE(sf_writef_float(file, frames.data(), 16000), sf_count_t(16000));
        sf_close(file);
        const Waveform shape = Waveform::compute(path, 100);
        QCOMPARE(shape.maximum.size(), 100);
        QCOMPARE(shape.maximum.at(10), 0.0f);
        QVERIFY(std::abs(shape.maximum.at(90) - 0.5f) < 0.01f);
        QVERIFY(std::abs(shape.minimum.at(90) + 0.5f) < 0.01f);
        QVERIFY(Waveform::compute(m_dir.filePath(QStringLiteral("missing.wav")), 100).isEmpty());
        const std::atomic_bool cancelled{true};
        QVERIFY(Waveform::compute(path, 100, &cancelled).isEmpty());
    }
};

QTEST_GUILESS_MAIN(DecodeTest)
#include "tst_audio_decode.moc"
