// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/PcmConverter.h"
#include "audio/RingStream.h"
#include "audio/SoundFileReader.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

using namespace dpx;
using namespace dpx::test;

Q_DECLARE_METATYPE(dpx::PcmSampleType)

namespace {

double rms(const std::vector<float> &samples)
{
    double sum = 0;
    for (const float s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

int signChanges(const float *samples, qint64 count, int stride)
{
    int changes = 0;
    for (qint64 i = stride; i < count * stride; i += stride)
        changes += (samples[i - stride] < 0) != (samples[i] < 0);
    return changes;
}

} // namespace

class DecodeTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

  private Q_SLOTS:
    void readerDecodes_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("wav 16-bit mono 8 kHz")
            << int(SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 8000 << 1;
        QTest::newRow("wav float stereo 44.1 kHz")
            << int(SF_FORMAT_WAV | SF_FORMAT_FLOAT) << 44100 << 2;
        QTest::newRow("wav u-law mono 16 kHz") << int(SF_FORMAT_WAV | SF_FORMAT_ULAW) << 16000 << 1;
        QTest::newRow("mp3 stereo 44.1 kHz")
            << int(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) << 44100 << 2;
        QTest::newRow("flac mono 48 kHz") << int(SF_FORMAT_FLAC | SF_FORMAT_PCM_16) << 48000 << 1;
    }
    void readerDecodes()
    {
        QFETCH(int, format);
        QFETCH(int, rate);
        QFETCH(int, channels);
        const QString path = m_dir.filePath(QStringLiteral("tone-%1").arg(QTest::currentDataTag()));
        QVERIFY(writeTone(path, 0.5, rate, channels, format));

        SoundFileReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.channels(), channels);
        QCOMPARE(reader.sampleRate(), rate);
        std::vector<float> all;
        std::vector<float> block(1000 * size_t(channels));
        qint64 frames = 0;
        while (const qint64 got = reader.read(block.data(), 1000)) {
            frames += got;
            all.insert(all.end(), block.begin(), block.begin() + got * channels);
        }
        QCOMPARE(frames, qint64(rate / 2));
        QVERIFY2(std::abs(rms(all) - 0.1 / std::sqrt(2.0)) < 0.005, "decoded level differs");
        QCOMPARE(reader.read(block.data(), 1000), 0); // the end stays the end
        reader.close();
        QCOMPARE(openHandlesTo(path), 0);
    }

    void readerRefuses_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("This is not a sound file.\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("RIFF header cut short") << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) & 0x7F); // no MPEG sync byte
        QTest::newRow("noise") << noise;
        QTest::newRow("missing file") << QByteArray("<missing>");
    }
    void readerRefuses()
    {
        QFETCH(QByteArray, content);
        const QString path =
            m_dir.filePath(QStringLiteral("bad-%1.wav").arg(QTest::currentDataTag()));
        if (content != "<missing>")
            QVERIFY(writeText(path, content));
        const int before = openFileCount();
        SoundFileReader reader;
        QVERIFY(!reader.open(path));
        QVERIFY(!reader.isOpen());
        float sample[2];
        QCOMPARE(reader.read(sample, 1), 0);
        QCOMPARE(openFileCount(), before);
    }

    void convertSamples_data()
    {
        QTest::addColumn<int>("sourceChannels");
        QTest::addColumn<QList<float>>("input");
        QTest::addColumn<int>("targetChannels");
        QTest::addColumn<PcmSampleType>("type");
        QTest::addColumn<QByteArray>("expected");

        const auto i16 = [](std::initializer_list<qint16> v) {
            return QByteArray(reinterpret_cast<const char *>(std::data(v)),
                              qsizetype(v.size() * 2));
        };
        const auto f32 = [](std::initializer_list<float> v) {
            return QByteArray(reinterpret_cast<const char *>(std::data(v)),
                              qsizetype(v.size() * 4));
        };
        const auto i32 = [](std::initializer_list<qint32> v) {
            return QByteArray(reinterpret_cast<const char *>(std::data(v)),
                              qsizetype(v.size() * 4));
        };
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("mono to stereo, copied")
            << 1 << QList<float>{0.25f, -0.5f} << 2 << PcmSampleType::Int16
            << i16({8192, 8192, -16384, -16384});
        QTest::newRow("stereo to mono, mean") << 2 << QList<float>{0.5f, -0.5f, 0.5f, 0.25f} << 1
                                              << PcmSampleType::Float << f32({0.0f, 0.375f});
        QTest::newRow("stereo to 4 channels, repeated")
            << 2 << QList<float>{0.1f, 0.2f} << 4 << PcmSampleType::Float
            << f32({0.1f, 0.2f, 0.1f, 0.2f});
        QTest::newRow("clipped, NaN silenced") << 1 << QList<float>{1.5f, -2.0f, nan} << 1
                                               << PcmSampleType::Int16 << i16({32767, -32767, 0});
        QTest::newRow("unsigned 8-bit") << 1 << QList<float>{0.0f, 1.0f, -1.0f} << 1
                                        << PcmSampleType::UInt8 << QByteArray("\x80\xFF\x01", 3);
        QTest::newRow("32-bit full scale")
            << 1 << QList<float>{1.0f, -1.0f, 0.0f} << 1 << PcmSampleType::Int32
            << i32({2147483647, -2147483647, 0});
    }
    void convertSamples()
    {
        QFETCH(int, sourceChannels);
        QFETCH(QList<float>, input);
        QFETCH(int, targetChannels);
        QFETCH(PcmSampleType, type);
        QFETCH(QByteArray, expected);
        PcmConverter converter(16000, sourceChannels, {16000, targetChannels, type});
        QVERIFY(converter.isValid());
        QByteArray out;
        converter.convert(input.constData(), input.size() / sourceChannels, out);
        converter.finish(out);
        QCOMPARE(out.toHex(' '), expected.toHex(' '));
    }

    void resampleKeepsPitchAndLength()
    {
        // One second of 440 Hz at 8 kHz, in uneven blocks, to 48 kHz stereo.
        const int inRate = 8000;
        std::vector<float> tone(inRate);
        for (int i = 0; i < inRate; ++i)
            tone[size_t(i)] = 0.5f * float(std::sin(2 * M_PI * 440.0 * i / inRate));
        PcmConverter converter(inRate, 1, {48000, 2, PcmSampleType::Float});
        QVERIFY(converter.isValid());
        QByteArray out;
        for (int at = 0; at < inRate; at += 777)
            converter.convert(tone.data() + at, std::min(777, inRate - at), out);
        converter.finish(out);
        QCOMPARE(out.size() % 8, 0);
        const qint64 frames = out.size() / 8;
        QVERIFY2(std::abs(frames - 48000) <= 48, qPrintable(QString::number(frames)));
        const auto *samples = reinterpret_cast<const float *>(out.constData());
        const int changes = signChanges(samples, frames, 2);
        QVERIFY2(std::abs(changes - 880) <= 4, qPrintable(QString::number(changes)));
    }

    void refusesUnusableShapes_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("targetRate");
        QTest::addColumn<int>("targetChannels");
        QTest::newRow("no channels") << 8000 << 0 << 8000 << 2;
        QTest::newRow("no rate") << 0 << 1 << 8000 << 2;
        QTest::newRow("target without channels") << 8000 << 1 << 8000 << 0;
        QTest::newRow("too many channels") << 8000 << 1000 << 8000 << 2;
    }
    void refusesUnusableShapes()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, targetRate);
        QFETCH(int, targetChannels);
        PcmConverter converter(rate, channels, {targetRate, targetChannels, PcmSampleType::Float});
        QVERIFY(!converter.isValid());
        QByteArray out;
        const float sample = 0.5f;
        converter.convert(&sample, 1, out);
        converter.finish(out);
        QVERIFY(out.isEmpty());
    }

    void streamPlaysOnceAndReleasesTheFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("once.wav"));
        QVERIFY(writeTone(path, 0.3, 22050, 1));
        auto reader = std::make_unique<SoundFileReader>();
        QVERIFY(reader->open(path));
        RingStream stream(std::move(reader), {22050, 2, PcmSampleType::Int16});
        QVERIFY(stream.isValid());
        QVERIFY(stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QCOMPARE(openHandlesTo(path), 1);

        qint64 total = 0;
        char buffer[1001]; // not a whole number of frames: reads must still be whole frames
        while (const qint64 got = stream.read(buffer, sizeof buffer)) {
            QVERIFY(got > 0);
            QCOMPARE(got % 4, 0);
            total += got;
        }
        QCOMPARE(total, qint64(22050 * 3 / 10) * 4);
        QVERIFY(stream.atEnd());
        QVERIFY(!stream.holdsFile());
        QCOMPARE(openHandlesTo(path), 0);
        QCOMPARE(stream.read(buffer, sizeof buffer), 0); // nothing repeats
        QCOMPARE(stream.bytesAvailable(), 0);
    }

    // The audio output lowers its start-up buffering to the size a fresh stream reports; a
    // ring shorter than that buffer would otherwise never start sounding.
    void freshStreamReportsTheWholeFile_data()
    {
        QTest::addColumn<int>("targetRate");
        QTest::addColumn<int>("targetChannels");
        QTest::addColumn<PcmSampleType>("type");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("file's own format") << 16000 << 1 << PcmSampleType::Float << qint64(800 * 4);
        QTest::newRow("resampled, stereo")
            << 48000 << 2 << PcmSampleType::Int16 << qint64(2400 * 4);
    }
    void freshStreamReportsTheWholeFile()
    {
        QFETCH(int, targetRate);
        QFETCH(int, targetChannels);
        QFETCH(PcmSampleType, type);
        QFETCH(qint64, bytes);
        const QString path = m_dir.filePath(QStringLiteral("blip.wav"));
        QVERIFY(writeTone(path, 0.05, 16000, 1));
        auto reader = std::make_unique<SoundFileReader>();
        QVERIFY(reader->open(path));
        RingStream stream(std::move(reader), {targetRate, targetChannels, type});
        QVERIFY(stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QCOMPARE(stream.bytesAvailable(), bytes);
        QCOMPARE(stream.size(), bytes);
    }

    void streamReleasesTheFileWhenDestroyedEarly()
    {
        const QString path = m_dir.filePath(QStringLiteral("early.wav"));
        QVERIFY(writeTone(path, 2.0, 44100, 2));
        {
            auto reader = std::make_unique<SoundFileReader>();
            QVERIFY(reader->open(path));
            RingStream stream(std::move(reader), {48000, 2, PcmSampleType::Float});
            QVERIFY(stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
            char buffer[4096];
            QCOMPARE(stream.read(buffer, sizeof buffer), qint64(sizeof buffer));
            QVERIFY(stream.holdsFile());
        }
        QCOMPARE(openHandlesTo(path), 0);
    }
};

QTEST_GUILESS_MAIN(DecodeTest)
#include "tst_audio_decode.moc"
