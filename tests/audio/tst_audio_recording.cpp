// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/RecordingFiles.h"
#include "audio/SoundRecorder.h"
#include "audio/WavFileWriter.h"

#include <QtEndian>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>

using namespace dpx;
using namespace dpx::test;

namespace {

quint32 u32At(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QAudioDevice boxMicrophone()
{
    const QList<QAudioDevice> devices = SoundRecorder::captureDevices();
    QStringList names;
    for (const QAudioDevice &device : devices)
        names << device.description();
    const qsizetype chosen = FindUsbSoundCard(names);
    return chosen < 0 ? QAudioDevice() : devices.at(chosen);
}

// The frequency of the loudest steady tone in 16-bit mono samples, by zero crossings.
double toneFrequency(const QByteArray &samples, int rate)
{
    const auto *s = reinterpret_cast<const qint16 *>(samples.constData());
    const qsizetype count = samples.size() / 2;
    int crossings = 0;
    for (qsizetype i = 1; i < count; ++i)
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    return crossings / 2.0 / (double(count) / rate);
}

// Run as a child (see main): records the box's microphone into argv[2] until killed, or with
// argv[3] as its file size limit until the "disk" is full (it then prints why and ends with 4).
int recordInChild(int argc, char **argv)
{
    if (argc == 4) {
        const rlimit limit{rlim_t(atoll(argv[3])), rlim_t(atoll(argv[3]))};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
    }
    QCoreApplication app(argc, argv);
    SoundRecorder recorder;
    QObject::connect(&recorder, &SoundRecorder::interrupted, [](const QString &message) {
        std::fputs(message.toUtf8().constData(), stdout);
        QCoreApplication::exit(4);
    });
    if (!recorder.start(boxMicrophone(), QString::fromLocal8Bit(argv[2])))
        return 3;
    return QCoreApplication::exec();
}

} // namespace

class RecordingTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

  private Q_SLOTS:
    void headerOfTenSeconds()
    {
        const QString path = m_dir.filePath(QStringLiteral("ten.wav"));
        {
            WavFileWriter writer;
            QVERIFY(writer.open(path));
            const QByteArray block(RecordingWav::BytesPerSecond / 10, '\x11');
            for (int i = 0; i < 100; ++i) {
                QVERIFY(writer.append(block));
                if (i == 14) // sizes are kept current each second while it records
                    QCOMPARE(u32At(fileBytes(path), 42), quint32(RecordingWav::BytesPerSecond));
            }
            QVERIFY(writer.finish());
        }
        const QByteArray file = fileBytes(path);
        QCOMPARE(file.size(), 160046);
        QCOMPARE(file.left(46).toHex(),
                 QByteArray("52494646" "26710200" "57415645" "666d7420" "12000000" "0100" "0100"
                            "401f0000" "803e0000" "0200" "1000" "0000" "64617461" "00710200"));
        QCOMPARE(u32At(file, 4), 160038u);
    }

    void stopsAtTheSizeLimitWithWholeSamples()
    {
        const QString path = m_dir.filePath(QStringLiteral("full.wav"));
        WavFileWriter writer;
        writer.setMaxDataLength(1001); // whole samples: 1000
        QVERIFY(writer.open(path));
        QVERIFY(writer.append(QByteArray(999, 'a')));
        QVERIFY(!writer.isFull());
        QVERIFY(writer.append(QByteArray(999, 'b')));
        QVERIFY(writer.isFull());
        QVERIFY(writer.finish());
        QCOMPARE(fileBytes(path).size(), 1046);
        QVERIFY(RecordingWav::MaxDataLength + 38 <= 0xFFFFFFFFLL);
    }

    void recoveryRepairsSizes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("dataLength");
        const QByteArray empty = RecordingWav::header(0);
        QTest::newRow("sizes never written") << empty + QByteArray(3001, 'x') << true << qint64(3000);
        QTest::newRow("sizes too large") << RecordingWav::header(99999) + QByteArray(10, 'x') << true << qint64(10);
        QTest::newRow("header only") << empty << true << qint64(0);
        QTest::newRow("cut inside the header") << empty.left(30) << false << qint64(0);
        QTest::newRow("not wave") << QByteArray("RIFF\0\0\0\0AVI LIST", 16) << false << qint64(0);
        QTest::newRow("not pcm") << QByteArray(empty).replace(20, 2, QByteArray("\x03\x00", 2))
                                 << false << qint64(0);
        QTest::newRow("garbage") << QByteArray(64, '\xff') << false << qint64(0);
    }
    void recoveryRepairsSizes()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, valid);
        QFETCH(qint64, dataLength);
        const QString path = m_dir.filePath(QStringLiteral("left.wav"));
        QVERIFY(writeFile(path, file));
        qint64 length = -1;
        QString error;
        QCOMPARE(repairRecording(path, &length, &error), valid);
        if (!valid) {
            QVERIFY(!error.isEmpty());
            QCOMPARE(fileBytes(path), file); // untouched
            return;
        }
        QCOMPARE(length, dataLength);
        const QByteArray repaired = fileBytes(path);
        QCOMPARE(repaired.size(), 46 + dataLength);
        QCOMPARE(u32At(repaired, 4), quint32(dataLength + 38));
        QCOMPARE(u32At(repaired, 42), quint32(dataLength));
    }

    void usbSoundCardRule_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<int>("chosen");
        QTest::newRow("box after a USB headset")
            << QStringList{"Built-in Audio", "USB Headset", "Mic (ORVAN VKS STD Audio)"} << 2;
        QTest::newRow("USB after another device") << QStringList{"Built-in Audio", "USB-Audio-Box-Mic"} << 1;
        QTest::newRow("first of two USB") << QStringList{"USB A", "USB B"} << 0;
        QTest::newRow("case matters") << QStringList{"usb mic", "orvan vks std"} << -1;
        QTest::newRow("none") << QStringList{"Built-in Audio", "Webcam"} << -1;
        QTest::newRow("empty") << QStringList{} << -1;
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many << QStringLiteral("Input %1").arg(i);
        many << QStringLiteral("USB 31st");
        QTest::newRow("beyond twenty devices") << many << 30;
    }
    void usbSoundCardRule()
    {
        QFETCH(QStringList, devices);
        QFETCH(int, chosen);
        QCOMPARE(FindUsbSoundCard(devices), chosen);
    }

    void savingReplacesOnlyWithACompleteFile()
    {
        const QString source = m_dir.filePath(QStringLiteral("rec.wav"));
        const QString target = m_dir.filePath(QStringLiteral("kept.wav"));
        QVERIFY(writeFile(target) && writeFile(source, "new"));
        QString error;
        QVERIFY(moveRecording(source, target, &error));
        QCOMPARE(fileBytes(target), QByteArray("new"));
        QVERIFY(!QFileInfo::exists(source));
        // A target that cannot be written keeps the recording where it was.
        QVERIFY(writeFile(source, "again"));
        QVERIFY(!moveRecording(source, m_dir.filePath(QStringLiteral("no/such/folder.wav")), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(source), QByteArray("again"));
        QCOMPARE(recordingStamp(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))), QStringLiteral("20260304050607"));
    }

    // A tone played into the box's output comes back from its microphone into the file,
    // taken in the recording format or converted from the device's own.
    void recordsTheBoxMicrophone_data()
    {
        QTest::addColumn<bool>("deviceFormat");
        QTest::newRow("recording format") << false;
        QTest::newRow("device format converted") << true;
    }
    void recordsTheBoxMicrophone()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(bool, deviceFormat);
        const QString tone = m_dir.filePath(QStringLiteral("tone.wav"));
        QVERIFY(writeTone(tone, 20.0, 44100, 1));
        const QAudioDevice mic = boxMicrophone();
        QCOMPARE(mic.description(), QStringLiteral("USB-Audio-Box-Mic")); // not the output's monitor
        QProcess player;
        player.start(QStringLiteral("paplay"), {QStringLiteral("--device=usbbox"), tone});
        QVERIFY(player.waitForStarted());
        const QString path = m_dir.filePath(QStringLiteral("tone-recorded.wav"));
        SoundRecorder recorder;
        recorder.setUseDeviceFormat(deviceFormat);
        QVERIFY2(recorder.start(mic, path), qPrintable(recorder.error()));
        // The test daemon's source takes a second or so to deliver its first samples.
        QTRY_VERIFY_WITH_TIMEOUT(recorder.dataLength() >= 3 * 16000, 15000);
        recorder.stop();
        player.kill();
        player.waitForFinished();
        const QByteArray file = fileBytes(path);
        QVERIFY(file.size() >= 46 + 3 * 16000);
        QCOMPARE(u32At(file, 4), quint32(file.size() - 8));
        QCOMPARE(u32At(file, 24), 8000u);
        QCOMPARE(u32At(file, 42), quint32(file.size() - 46));
        QCOMPARE(recorder.dataLength(), qint64(file.size() - 46));
        // The last full second, where the tone plays steadily.
        const double frequency = toneFrequency(file.mid(46 + 2 * 16000, 16000), 8000);
        QVERIFY2(qAbs(frequency - 440) < 10, qPrintable(QString::number(frequency)));
    }

    void killedRecorderLeavesARecoverableFile()
    {
        REQUIRE_TEST_SERVER();
        const QString path = m_dir.filePath(QStringLiteral("killed.wav"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--record-child"), path});
        QVERIFY(child.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 46 + 16000 * 2, 15000);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        const QByteArray before = fileBytes(path);
        const WavLayout layout = readWavLayout(before);
        QVERIFY(layout.valid); // the header was there from the start
        QCOMPARE(layout.dataOffset, 46);
        qint64 length = 0;
        QString error;
        QVERIFY2(repairRecording(path, &length, &error), qPrintable(error));
        const QByteArray after = fileBytes(path);
        QVERIFY(length >= 2 * 16000 && length % 2 == 0);
        QCOMPARE(after.size(), 46 + length);
        QCOMPARE(u32At(after, 4), quint32(length + 38));
        QCOMPARE(u32At(after, 42), quint32(length));
    }

    void aFullDiskEndsTheRecordingAndKeepsIt()
    {
        REQUIRE_TEST_SERVER();
        const QString path = m_dir.filePath(QStringLiteral("full-disk.wav"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--record-child"), path, QStringLiteral("20000")});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitCode(), 4);
        QVERIFY(QString::fromUtf8(child.readAllStandardOutput()).contains(QStringLiteral("磁碟")));
        const QByteArray file = fileBytes(path);
        QCOMPARE(file.size(), 20000);
        QCOMPARE(u32At(file, 42), quint32(20000 - 46)); // finished: the sizes tell all of it
    }

    void stopsAtTheSizeLimitAsAfterAPress()
    {
        REQUIRE_TEST_SERVER();
        const QString path = m_dir.filePath(QStringLiteral("limit.wav"));
        SoundRecorder recorder;
        recorder.setMaxDataLength(8000);
        QSignalSpy interrupted(&recorder, &SoundRecorder::interrupted);
        QVERIFY(recorder.start(boxMicrophone(), path));
        QTRY_COMPARE_WITH_TIMEOUT(interrupted.count(), 1, 15000);
        QCOMPARE(interrupted.first().first().toString(), QString()); // no message: as a press
        QVERIFY(!recorder.isRecording());
        QCOMPARE(QFileInfo(path).size(), 46 + 8000);
    }

    void aVanishedDeviceIsRefused()
    {
        REQUIRE_TEST_SERVER();
        SoundRecorder recorder;
        const QString path = m_dir.filePath(QStringLiteral("none.wav"));
        QVERIFY(!recorder.start(QAudioDevice(), path));
        QVERIFY(recorder.deviceRefused());
        QVERIFY(!recorder.isRecording());
    }
};

int main(int argc, char **argv)
{
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], "--record-child") == 0)
        return recordInChild(argc, argv);
    QCoreApplication app(argc, argv);
    RecordingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_audio_recording.moc"
