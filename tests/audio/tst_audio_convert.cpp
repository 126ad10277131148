// SPDX-License-Identifier: GPL-3.0-or-later
// Segments of sound files converted to the box's format: which part of the file lands in the
// output (a different tone each second shows seek and rate errors), its exact length, the
// 36 s cap, and failures that write nothing.
#include "AudioTestSupport.h"

#include "audio/ConvertJob.h"
#include "audio/MuLaw.h"
#include "audio/SegmentConverter.h"

#include <QStandardPaths>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dpx;

namespace {

// Second k of a tone ladder holds a sine of this frequency (all below 4 kHz: an 8 kHz file
// carries them too).
double ladderFrequency(int second)
{
    return 400.0 + 150.0 * second;
}

bool writeLadder(const QString &path, int seconds, int rate, int channels)
{
    SF_INFO info{0, rate, channels, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    std::vector<float> samples(size_t(seconds) * size_t(rate) * size_t(channels));
    double phase = 0;
    for (size_t frame = 0; frame < samples.size() / size_t(channels); ++frame) {
        phase += 2 * M_PI * ladderFrequency(int(frame / size_t(rate))) / rate;
        for (int c = 0; c < channels; ++c)
            samples[frame * size_t(channels) + size_t(c)] = float(0.4 * std::sin(phase));
    }
    const bool written = sf_writef_float(file, samples.data(), sf_count_t(samples.size() / size_t(channels)))
        == sf_count_t(samples.size() / size_t(channels));
    return sf_close(file) == 0 && written;
}

// The ladder frequency whose energy is highest in `raw` from `from` to `to` seconds.
int strongestSecond(const QByteArray &raw, double from, double to, int seconds)
{
    const int rate = SegmentConverter::outputRate;
    int best = -1;
    double bestPower = -1;
    for (int k = 0; k < seconds; ++k) {
        double re = 0, im = 0;
        for (int i = int(from * rate); i < int(to * rate) && i < raw.size(); ++i) {
            const double x = mulaw::decode(quint8(raw[i]));
            const double w = 2 * M_PI * ladderFrequency(k) * i / rate;
            re += x * std::cos(w);
            im += x * std::sin(w);
        }
        if (re * re + im * im > bestPower) {
            bestPower = re * re + im * im;
            best = k;
        }
    }
    return best;
}

// Runs a conversion as the command line does: the exit code; the target only on success.
int runJob(const SegmentRequest &request, const QString &target, QString *message = nullptr)
{
    ConvertJob job(request, target);
    QSignalSpy finished(&job, &Job::finished);
    job.start();
    if (!finished.wait(60000))
        return -1;
    if (message)
        *message = finished.first().at(1).toString();
    return finished.first().at(0).toInt();
}

} // namespace

class ConvertTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void segmentHoldsTheRightSeconds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("48 kHz stereo WAV") << "wav" << 48000 << 2;
        QTest::newRow("44.1 kHz MP3 named x.Mp3") << "mp3" << 44100 << 2;
        QTest::newRow("8 kHz mono WAV") << "wav" << 8000 << 1;
    }
    void segmentHoldsTheRightSeconds()
    {
        QFETCH(QString, kind);
        QFETCH(int, rate);
        QFETCH(int, channels);
        const int seconds = 20;
        const QString wav = m_dir.filePath(QStringLiteral("ladder-%1.wav").arg(rate));
        QVERIFY(writeLadder(wav, seconds, rate, channels));
        QString source = wav;
        if (kind == QLatin1String("mp3")) {
            if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty())
                QSKIP("no MP3 encoder: install Debian's lame (tools/bootstrap does)");
            // A mixed-case extension: the file is told an MP3 by its content.
            source = m_dir.filePath(QStringLiteral("x.Mp3"));
            QProcess lame;
            lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"),
                                                QStringLiteral("192"), wav, source});
            QVERIFY(lame.waitForFinished(60000) && lame.exitCode() == 0);
        }
        const QString target = m_dir.filePath(QStringLiteral("out-%1.raw").arg(QTest::currentDataTag()));
        QString message;
        QCOMPARE(runJob({source, 5.0, 10.0}, target, &message), int(Job::Done));
        QCOMPARE(message, QStringLiteral("160000"));
        const QByteArray raw = test::fileBytes(target);
        QCOMPARE(raw.size(), 160000);
        QCOMPARE(strongestSecond(raw, 0.05, 0.45, seconds), 5);
        QCOMPARE(strongestSecond(raw, 9.55, 9.95, seconds), 14);
    }

    void lengths_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("length"); // 0: not given
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("firstSecond");
        QTest::newRow("start at 0") << 0.0 << 2.5 << 40000 << 0;
        QTest::newRow("whole file is capped at 36 s") << 0.0 << 0.0 << 576000 << 0;
        QTest::newRow("36 s from a later start") << 3.0 << 36.0 << 576000 << 3;
        QTest::newRow("to the end of the file") << 30.5 << 0.0 << 152000 << 30;
        QTest::newRow("fraction of a sample") << 1.0 << 0.00009 << 1 << -1;
    }
    void lengths()
    {
        QFETCH(double, start);
        QFETCH(double, length);
        QFETCH(int, bytes);
        QFETCH(int, firstSecond);
        const QString source = m_dir.filePath(QStringLiteral("long.wav"));
        if (!QFile::exists(source))
            QVERIFY(writeLadder(source, 40, 22050, 1));
        SegmentRequest request{source, start, std::nullopt};
        if (length > 0)
            request.lengthSeconds = length;
        const SegmentConverter::Result result = SegmentConverter::convert(request);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.raw.size(), bytes);
        if (firstSecond >= 0)
            QCOMPARE(strongestSecond(result.raw, 0.05, 0.45, 40), firstSecond);
    }

    void badSourcesWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "wav:N" / "mp3:N": a good file cut to N bytes
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("length");
        QTest::newRow("garbage") << "noise.wav" << QByteArray(5000, '\x5a') << 0.0 << 0.0;
        QTest::newRow("empty") << "empty.mp3" << QByteArray() << 0.0 << 0.0;
        QTest::newRow("missing") << "" << QByteArray() << 0.0 << 0.0;
        QTest::newRow("WAV cut inside its header") << "cut.wav" << QByteArray("wav:30") << 0.0 << 0.0;
        QTest::newRow("WAV cut before the segment's end") << "cut.wav" << QByteArray("wav:120000") << 5.0 << 10.0;
        QTest::newRow("start after the end") << "cut.wav" << QByteArray("wav:0") << 25.0 << 0.0;
        QTest::newRow("MP3 cut inside its first frame") << "cut.mp3" << QByteArray("mp3:30") << 0.0 << 0.0;
        QTest::newRow("MP3 cut before the segment's end") << "cut.mp3" << QByteArray("mp3:100000") << 5.0 << 10.0;
    }
    void badSourcesWriteNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(double, start);
        QFETCH(double, length);
        QTemporaryDir dir;
        QString source = name.isEmpty() ? dir.filePath(QStringLiteral("nowhere.wav")) : dir.filePath(name);
        if (content.startsWith("wav:") || content.startsWith("mp3:")) {
            const QString good = dir.filePath(QStringLiteral("good.wav"));
            QVERIFY(writeLadder(good, 20, content.startsWith("mp3:") ? 44100 : 8000, 1));
            QString whole = good;
            if (content.startsWith("mp3:")) {
                if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty())
                    QSKIP("no MP3 encoder: install Debian's lame (tools/bootstrap does)");
                whole = dir.filePath(QStringLiteral("good.mp3"));
                QVERIFY(QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), good, whole}) == 0);
            }
            QFile in(whole);
            QVERIFY(in.open(QIODevice::ReadOnly));
            const int keep = content.mid(4).toInt();
            content = keep > 0 ? in.read(keep) : in.readAll();
            QFile::remove(good);
            QFile::remove(whole);
        }
        if (!name.isEmpty())
            QVERIFY(test::writeFile(source, content));
        // An old target stays as it was and no temporary is left beside it.
        const QString target = dir.filePath(QStringLiteral("target.raw"));
        QVERIFY(test::writeFile(target, "old"));
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        SegmentRequest request{source, start, std::nullopt};
        if (length > 0)
            request.lengthSeconds = length;
        QString message;
        QCOMPARE(runJob(request, target, &message), int(Job::Failed));
        QVERIFY2(message.startsWith(ConvertJob::failureText()), qPrintable(message));
        QCOMPARE(test::fileBytes(target), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    }

    void unwritableTargetKeepsNothing()
    {
        const QString source = m_dir.filePath(QStringLiteral("short.wav"));
        QVERIFY(writeLadder(source, 2, 8000, 1));
        QString message;
        QCOMPARE(runJob({source, 0, std::nullopt}, m_dir.filePath(QStringLiteral("no/such/dir/x.raw")), &message),
                 int(Job::Failed));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("no"))));
    }

    // A full disk for real: a child whose file size limit is below the output's. The write
    // must fail (SIGXFSZ ignored, so the write returns an error), the old target must stay and
    // no temporary file may be left.
    void fullDiskKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString source = m_dir.filePath(QStringLiteral("five.wav"));
        QVERIFY(writeLadder(source, 5, 8000, 1));
        const QString target = dir.filePath(QStringLiteral("full.raw"));
        QVERIFY(test::writeFile(target, "old"));
        const SegmentConverter::Result result = SegmentConverter::convert({source, 0, 4.0});
        QVERIFY(result.ok());
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{10000, 10000};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(SegmentConverter::write(target, result.raw).isEmpty() ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0); // the write reported the failure
        QCOMPARE(test::fileBytes(target), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("full.raw")});
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ConvertTest)
#include "tst_audio_convert.moc"
