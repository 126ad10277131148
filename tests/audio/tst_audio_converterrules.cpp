// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window's rules without a display: its list file, the capture marks and the
// volume buttons' steps.
#include "audio/MediaListFile.h"
#include "audio/SegmentCapture.h"
#include "audio/VolumeSteps.h"
#include "../support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

class ConverterRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listFileReads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("paths");
        const QStringList two{QStringLiteral("/m/a.wav"), QStringLiteral("/m/b c.mp3")};
        QTest::newRow("two and the end line") << QByteArray("/m/a.wav\r\n/m/b c.mp3\r\n----") << two;
        QTest::newRow("end line alone") << QByteArray("----") << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("no end line: to the end") << QByteArray("/m/a.wav\r\n/m/b c.mp3") << two;
        QTest::newRow("LF only") << QByteArray("/m/a.wav\n/m/b c.mp3\n----\n") << two;
        QTest::newRow("stops at a dash line") << QByteArray("/m/a.wav\r\n-\r\n/m/b c.mp3\r\n") << QStringList{two[0]};
        QTest::newRow("blank and CR/LF-only lines skipped")
            << QByteArray("\r\n\r\n/m/a.wav\r\n\n\r\r\n/m/b c.mp3\r\n----") << two;
        QTest::newRow("NUL and overlong lines skipped")
            << QByteArray("/m/a\0.wav\r\n", 12) + QByteArray(5000, 'x') + "\r\n/m/a.wav\r\n/m/b c.mp3\r\n----" << two;
        QTest::newRow("UTF-8 names") << QByteArray("/音樂/歌.mp3\r\n----") << QStringList{QStringLiteral("/音樂/歌.mp3")};
    }
    void listFileReads()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, paths);
        QCOMPARE(MediaListFile::parse(content), paths);
    }

    void listFileWritesTheExactFormat()
    {
        QCOMPARE(MediaListFile::serialize({}), QByteArray("----"));
        QCOMPARE(MediaListFile::serialize({QStringLiteral("/m/a.wav"), QStringLiteral("/m/b.mp3")}),
                 QByteArray("/m/a.wav\r\n/m/b.mp3\r\n----"));
        // What the format cannot hold is left out rather than breaking the file.
        QCOMPARE(MediaListFile::serialize({QStringLiteral("/m/a\nb.wav"), QString()}), QByteArray("----"));
    }

    void anyFileNameRoundTrips()
    {
        QTemporaryDir dir;
        const QStringList paths{QStringLiteral(" /m/ spaced .wav "), QStringLiteral("/m/普通 #1;.mp3")};
        const QString file = dir.filePath(QStringLiteral("MPlayer.mdr"));
        QVERIFY(MediaListFile::save(file, paths));
        QCOMPARE(MediaListFile::load(file), paths);
        QCOMPARE(test::fileBytes(file), QByteArray(" /m/ spaced .wav \r\n/m/普通 #1;.mp3\r\n----"));
        QCOMPARE(MediaListFile::load(dir.filePath(QStringLiteral("missing.mdr"))), QStringList());
        QVERIFY(!MediaListFile::save(dir.filePath(QStringLiteral("no/such/folder/MPlayer.mdr")), paths));
    }

    void captureEnds_data()
    {
        QTest::addColumn<qint64>("startUs");
        QTest::addColumn<qint64>("stopUs");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<double>("length"); // < 0: "轉換錯誤!"; 0: to the decoder's end
        QTest::newRow("5 s to 15 s") << qint64(5000000) << qint64(15000000) << false << 10.0;
        QTest::newRow("from the very start") << qint64(0) << qint64(2500000) << false << 2.5;
        QTest::newRow("same position") << qint64(7000000) << qint64(7000000) << false << -1.0;
        QTest::newRow("seeked back before the start") << qint64(7000000) << qint64(3000000) << false << -1.0;
        QTest::newRow("seeked far ahead: 36 s") << qint64(1000000) << qint64(90000000) << false << 36.0;
        QTest::newRow("end of the file") << qint64(1000000) << qint64(9000000) << true << 0.0;
        QTest::newRow("end of the file past 36 s") << qint64(0) << qint64(50000000) << true << 36.0;
    }
    void captureEnds()
    {
        QFETCH(qint64, startUs);
        QFETCH(qint64, stopUs);
        QFETCH(bool, atEnd);
        QFETCH(double, length);
        SegmentCapture capture;
        QCOMPARE(capture.finish(stopUs).error, QString()); // none runs: nothing happens
        capture.start(QStringLiteral("/m/a.wav"), startUs);
        capture.start(QStringLiteral("/m/other.wav"), 0); // a running capture keeps its start
        QVERIFY(capture.isCapturing());
        const SegmentCapture::Outcome outcome = capture.finish(stopUs, atEnd);
        QVERIFY(!capture.isCapturing());
        if (length < 0) {
            QVERIFY(!outcome.segment);
            QCOMPARE(outcome.error, QStringLiteral("轉換錯誤!"));
            return;
        }
        QVERIFY(outcome.segment);
        QCOMPARE(outcome.segment->source, QStringLiteral("/m/a.wav"));
        QCOMPARE(outcome.segment->startSeconds, double(startUs) / 1e6);
        QCOMPARE(outcome.segment->lengthSeconds.has_value(), length > 0);
        if (length > 0)
            QCOMPARE(*outcome.segment->lengthSeconds, length);
    }

    void volumeSteps_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        // Range 0 .. 65535: a step of 6553.
        QTest::newRow("down from 5") << false << 5 << 0;
        QTest::newRow("down at 0") << false << 0 << 0;
        QTest::newRow("down one step") << false << 30000 << 23447;
        QTest::newRow("down from above the maximum") << false << 90000 << 65535;
        QTest::newRow("up one step") << true << 30000 << 36553;
        QTest::newRow("up near the maximum") << true << 60000 << 65535;
        QTest::newRow("up at the maximum") << true << 65535 << 65535;
        QTest::newRow("up above the maximum never lowers") << true << 90000 << 90000;
    }
    void volumeSteps()
    {
        QFETCH(bool, up);
        QFETCH(int, current);
        QFETCH(int, expected);
        QCOMPARE(up ? VolumeSteps::up(current, 0, 65535) : VolumeSteps::down(current, 0, 65535), expected);
    }
};

QTEST_GUILESS_MAIN(ConverterRulesTest)
#include "tst_audio_converterrules.moc"
