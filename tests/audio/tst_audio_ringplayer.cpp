// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"

#include <QTimer>

#include <cstdio>

using namespace dpx;
using namespace dpx::test;

class RingPlayerTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_long = m_dir.filePath(QStringLiteral("co.wav")); // still playing when looked at
    QString m_mp3 = m_dir.filePath(QStringLiteral("icm.mp3"));

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeTone(m_long, 10.0, 22050, 1));
        QVERIFY(writeTone(m_mp3, 10.0, 44100, 2, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III));
    }

    void playsOnFirstEligibleSinkRestartsAndStops()
    {
        REQUIRE_TEST_SERVER();
        qsizetype filesBefore = 0;
        {
            RingTonePlayer player;
            QSignalSpy messages(&player, &RingTonePlayer::messageRequested);
            QVERIFY(player.Play(m_mp3));
            QTRY_COMPARE(ownSinkInputs().size(), 1);
            QCOMPARE(ownSinkInputs().first().sinkName, "speakers"); // the daemon's first sink
            QCOMPARE(openFileCount(m_mp3), 1);
            player.Stop();
            QCOMPARE(openFileCount(m_mp3), 0); // the settings window may replace it now
            QTRY_COMPARE(ownSinkInputs().size(), 0);
            QCOMPARE(messages.count(), 0);

            // Every Play starts the ring afresh on a new stream; a storm leaves one stream.
            filesBefore = openFileCount(); // the server connection stays up from here on
            QVERIFY(player.Play(m_long));
            QTRY_COMPARE(ownSinkInputs().size(), 1);
            const int first = ownSinkInputs().first().index;
            for (int i = 0; i < 100; ++i) {
                QVERIFY(player.Play(m_long));
                QTest::qWait(10);
            }
            QTRY_VERIFY(ownSinkInputs().size() == 1 && ownSinkInputs().first().index != first);
            QCOMPARE(openFileCount(m_long), 1);
        } // destroying the player stops the ring
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        QTRY_COMPARE(openFileCount(), filesBefore);
    }

    // Never a crash, a message or a file kept open: the ring just stays silent.
    void unplayableFilePlaysNothingSilently_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::newRow("text named .mp3") << QByteArray("This is not a sound file.\n");
        QTest::newRow("RIFF header cut short") << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
        QTest::newRow("missing file") << QByteArray();
    }
    void unplayableFilePlaysNothingSilently()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(QByteArray, content);
        const QString file = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".mp3"));
        QVERIFY(content.isNull() || test::writeFile(file, content));
        RingTonePlayer player;
        QSignalSpy messages(&player, &RingTonePlayer::messageRequested);
        QVERIFY(player.Play(m_long));
        QVERIFY(player.Play(file)); // stops the ring, then finds nothing to render
        QVERIFY(!player.isHoldingPlayback());
        QTRY_COMPARE(ownSinkInputs().size(), 0);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(openFileCount(file) + openFileCount(m_long), 0);
    }

    // Device lists the shared daemon does not have, on a daemon of the test's own, played by
    // a process of its own: Qt's audio back end stays with the first server it reaches.
    void deviceChoiceOnOwnServer_data()
    {
        QTest::addColumn<QStringList>("sinks"); // name=description in the daemon's order
        QTest::addColumn<QString>("answer");    // what the probe prints
        QTest::newRow("every device excluded")
            << QStringList{"box=ORVAN USB Phone", "dflt=Default Output", "ds=DirectSound: Speakers"}
            << QStringLiteral("message: 没有找到放音设备\n");
        QTest::newRow("the box listed first is passed over")
            << QStringList{"box=ORVAN USB Phone", "headset=Headset"} << "device: headset\n";
    }
    void deviceChoiceOnOwnServer()
    {
        QFETCH(QStringList, sinks);
        QFETCH(QString, answer);
        REQUIRE_TEST_SERVER(); // pulseaudio is there
        QTemporaryDir dir;
        const QString socket = dir.filePath(QStringLiteral("native"));
        QStringList arguments{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                              "--realtime=no", "--high-priority=no", "--log-target=file:" + dir.filePath("log")};
        for (const QString &sink : std::as_const(sinks))
            arguments << "-L"
                      << QStringLiteral("module-null-sink sink_name=%1 sink_properties="
                                        "'device.description=\"%2\"'")
                             .arg(sink.section(u'=', 0, 0), sink.section(u'=', 1));
        // The socket comes last: once it is there, so are the sinks.
        arguments += {"-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), dir.path());
        // Off any session bus: a second daemon on one bus dies, its D-Bus name being taken.
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + dir.filePath("no-bus"));
        env.insert(QStringLiteral("PULSE_SERVER"), "unix:" + socket);
        env.insert(QStringLiteral("DPX_RING_PROBE"), m_long);
        QProcess pulse, probe;
        pulse.setProcessEnvironment(env);
        probe.setProcessEnvironment(env);
        // A daemon that has not made its socket in time on a busy machine gets one more try.
        for (int attempt = 0; attempt < 2 && !QFile::exists(socket); ++attempt) {
            if (pulse.state() != QProcess::NotRunning) {
                pulse.kill();
                pulse.waitForFinished(2000);
            }
            pulse.start(QStringLiteral("pulseaudio"), arguments);
            for (int waited = 0; waited < 15000 && !QFile::exists(socket); waited += 50)
                QTest::qWait(50);
        }
        if (!QFile::exists(socket)) {
            QFile log(dir.filePath("log"));
            if (log.open(QIODevice::ReadOnly))
                qWarning("pulseaudio log: %s", log.readAll().right(2000).constData());
        }
        QVERIFY(QFile::exists(socket));
        probe.start(QCoreApplication::applicationFilePath(), QStringList{});
        QVERIFY(probe.waitForFinished(20000));
        QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()), answer);
        pulse.close();
    }
};

// With DPX_RING_PROBE set, plays that file once and prints what the player did.
static int runProbe(const QString &file)
{
    // Flushed at once: a process ended by a sanitizer at exit must not lose its answer.
    const auto print = [](const QString &line) {
        std::fputs(line.toUtf8().constData(), stdout);
        std::fflush(stdout);
    };
    RingTonePlayer player;
    QObject::connect(&player, &RingTonePlayer::messageRequested,
                     [&](const QString &text) { print("message: " + text + u'\n'); });
    if (player.Play(file))
        print("device: " + QString::fromUtf8(player.playbackDeviceId()) + u'\n');
    // (qApp would name a QGuiApplication, which this process does not have)
    QTimer::singleShot(200, QCoreApplication::instance(), &QCoreApplication::quit); // the ring ends with the player
    return QCoreApplication::exec();
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("DPX_RING_PROBE"))
        return runProbe(qEnvironmentVariable("DPX_RING_PROBE"));
    RingPlayerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_audio_ringplayer.moc"
