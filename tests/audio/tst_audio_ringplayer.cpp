// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;
using namespace dpx::test;

class RingPlayerTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_long; // 10 s tone: still playing whenever a test looks
    QString m_mp3;
    QString m_short; // 0.2 s tone
    QString m_text;

    static QByteArray expectedDevice()
    {
        const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
        QStringList descriptions;
        for (const QAudioDevice &device : outputs)
            descriptions.append(device.description());
        const qsizetype first = FirstRingDevice(descriptions);
        return first < 0 ? QByteArray() : outputs.at(first).id();
    }

    static QMap<QString, QString> runProbe(const QString &server, const QString &file)
    {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_SERVER"), server);
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(RING_PLAY_PROBE), {file});
        QMap<QString, QString> answer;
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
            return answer;
        for (const QString &line : QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n')) {
            const qsizetype colon = line.indexOf(QStringLiteral(": "));
            if (colon > 0)
                answer.insert(line.left(colon), line.mid(colon + 2));
        }
        return answer;
    }

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_long = m_dir.filePath(QStringLiteral("co.wav"));
        m_mp3 = m_dir.filePath(QStringLiteral("icm.mp3"));
        m_short = m_dir.filePath(QStringLiteral("short.wav"));
        m_text = m_dir.filePath(QStringLiteral("notes.mp3"));
        QVERIFY(writeTone(m_long, 10.0, 22050, 1));
        QVERIFY(writeTone(m_mp3, 10.0, 44100, 2, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III));
        QVERIFY(writeTone(m_short, 0.2, 16000, 1));
        QVERIFY(writeText(m_text, "just some text, not audio\n"));
    }

    void playsOnFirstEligibleDeviceUntilStopped_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("wav") << m_long;
        QTest::newRow("mp3") << m_mp3;
    }
    void playsOnFirstEligibleDeviceUntilStopped()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(QString, file);
        const QByteArray device = expectedDevice();
        if (device.isEmpty())
            QSKIP("no output device of this server may carry the ring");
        // The test services' daemon lists speakers, headset, usbbox: its order, not the alphabet's.
        if (qEnvironmentVariableIsSet("DPX_TEST_RUNTIME"))
            QCOMPARE(device, QByteArray("speakers"));

        RingTonePlayer player;
        QSignalSpy messages(&player, &RingTonePlayer::messageRequested);
        QVERIFY(player.Play(file));
        QVERIFY(player.isHoldingPlayback());
        QCOMPARE(player.playbackDeviceId(), device);
        QTRY_COMPARE(ownSinkInputs().size(), 1);
        const SinkInput stream = ownSinkInputs().first();
        QCOMPARE(stream.sinkName, QString::fromUtf8(device));
        QVERIFY(!stream.corked);
        QVERIFY(player.holdsFile());
        QCOMPARE(messages.count(), 0);

        player.Stop();
        QVERIFY(!player.isHoldingPlayback());
        QCOMPARE(openHandlesTo(file), 0); // the settings window may replace it now
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        player.Stop(); // idle: nothing
    }

    void secondPlayRestartsOnAFreshStream()
    {
        REQUIRE_TEST_SERVER();
        RingTonePlayer player;
        QVERIFY(player.Play(m_long));
        QTRY_COMPARE(ownSinkInputs().size(), 1);
        const int first = ownSinkInputs().first().index;
        QVERIFY(player.Play(m_long));
        QTRY_VERIFY(ownSinkInputs().size() == 1 && ownSinkInputs().first().index != first);
        QCOMPARE(openHandlesTo(m_long), 1);
    }

    void ringStormLeavesOnePlayback()
    {
        REQUIRE_TEST_SERVER();
        RingTonePlayer player;
        // The first playback brings up the sound server connection, which stays.
        QVERIFY(player.Play(m_long));
        player.Stop();
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        const int handlesBefore = openFileCount();

        for (int i = 0; i < 100; ++i) {
            QVERIFY(player.Play(i % 2 ? m_long : m_mp3));
            QTest::qWait(10);
        }
        QTRY_COMPARE(ownSinkInputs().size(), 1);
        QCOMPARE(openHandlesTo(m_long), 1);
        QCOMPARE(openHandlesTo(m_mp3), 0);

        player.Stop();
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        QCOMPARE(openHandlesTo(m_long), 0);
        QTRY_COMPARE(openFileCount(), handlesBefore);
    }

    void fileIsReleasedAtItsEnd()
    {
        REQUIRE_TEST_SERVER();
        RingTonePlayer player;
        QVERIFY(player.Play(m_short));
        // Played once through: the file closes by itself, the finished playback stays held.
        QTRY_VERIFY(!player.holdsFile());
        QCOMPARE(openHandlesTo(m_short), 0);
        QVERIFY(player.isHoldingPlayback());
        player.Stop();
        QTRY_COMPARE(ownSinkInputs().size(), 0);
    }

    void unplayableFilePlaysNothingSilently_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("text named .mp3") << m_text;
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("gone.mp3"));
    }
    void unplayableFilePlaysNothingSilently()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(QString, file);
        RingTonePlayer player;
        QSignalSpy messages(&player, &RingTonePlayer::messageRequested);
        QVERIFY(player.Play(m_long));
        QVERIFY(player.Play(file)); // stops the ring, then finds nothing to render
        QVERIFY(!player.isHoldingPlayback());
        QCOMPARE(messages.count(), 0);
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        QCOMPARE(openHandlesTo(m_long), 0);
    }

    void destructionStops()
    {
        REQUIRE_TEST_SERVER();
        {
            RingTonePlayer player;
            QVERIFY(player.Play(m_long));
            QTRY_COMPARE(ownSinkInputs().size(), 1);
        }
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        QCOMPARE(openHandlesTo(m_long), 0);
    }

    // Device lists of a daemon of the test's own, played by a separate process.
    void deviceChoiceOnOwnServer_data()
    {
        QTest::addColumn<QStringList>("sinks"); // name=description, in load order
        QTest::addColumn<QString>("device");    // expected sink, empty = none eligible
        QTest::newRow("only the box and default entries")
            << QStringList{"box=ORVAN USB Phone", "dflt=Default Output", "ds=DirectSound: Speakers"}
            << QString();
        QTest::newRow("the box listed first is passed over")
            << QStringList{"box=ORVAN USB Phone", "headset=Headset", "spare=Spare Speakers"}
            << QStringLiteral("headset");
        QTest::newRow("Default without a blank is a name like any")
            << QStringList{"dflt=Default Output", "odd=Defaults-Out"} << QStringLiteral("odd");
    }
    void deviceChoiceOnOwnServer()
    {
        QFETCH(QStringList, sinks);
        QFETCH(QString, device);
        if (!PrivatePulse::available())
            QSKIP("pulseaudio is not installed: cannot start a daemon with these devices");
        QStringList config;
        for (const QString &sink : std::as_const(sinks)) {
            const QStringList parts = sink.split(u'=');
            config << QStringLiteral("load-module module-null-sink sink_name=%1 "
                                     "sink_properties='device.description=\"%2\"'")
                          .arg(parts[0], parts[1]);
        }
        PrivatePulse pulse;
        QVERIFY2(pulse.start(config), "the test's own PulseAudio daemon did not start");

        const QMap<QString, QString> answer = runProbe(pulse.server(), m_long);
        QVERIFY2(answer.contains(QStringLiteral("result")), "the probe did not answer");
        if (device.isEmpty()) {
            QCOMPARE(answer.value(QStringLiteral("message")), noRingDeviceMessage());
            QCOMPARE(answer.value(QStringLiteral("result")), QStringLiteral("0"));
            QCOMPARE(answer.value(QStringLiteral("eligible")), QString());
        } else {
            QVERIFY(!answer.contains(QStringLiteral("message")));
            QCOMPARE(answer.value(QStringLiteral("result")), QStringLiteral("1"));
            QCOMPARE(answer.value(QStringLiteral("device")), device);
        }
    }

    void noServerMeansNoDevice()
    {
        const QMap<QString, QString> answer = runProbe(
            QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("no-such-socket")), m_long);
        QCOMPARE(answer.value(QStringLiteral("result")), QStringLiteral("0"));
        QCOMPARE(answer.value(QStringLiteral("message")), noRingDeviceMessage());
    }
};

QTEST_GUILESS_MAIN(RingPlayerTest)
#include "tst_audio_ringplayer.moc"
