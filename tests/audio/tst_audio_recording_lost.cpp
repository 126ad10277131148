// SPDX-License-Identifier: GPL-3.0-or-later
// The box's microphone vanishes mid-recording on a sound server that moves orphaned streams
// to another source: the recording still ends, says why and keeps what it had. A daemon of
// this test's own, since the source is taken away.
#include "../support/PrivateSoundServer.h"
#include "../support/TestFiles.h"

#include "audio/RecordingFiles.h"
#include "audio/SoundRecorder.h"

#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

using namespace dpx;

class RecordingLostTest : public QObject {
    Q_OBJECT
  public:
    explicit RecordingLostTest(test::PrivateSoundServer *server, QByteArray micModule)
        : m_server(server), m_micModule(std::move(micModule))
    {
    }

  private Q_SLOTS:
    void unpluggedMicrophoneEndsTheRecordingAndKeepsIt()
    {
        if (m_micModule.isEmpty())
            QSKIP("no private PulseAudio daemon with a box microphone could be started");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lost.wav"));
        QAudioDevice mic;
        for (const QAudioDevice &device : SoundRecorder::captureDevices())
            if (device.description() == QLatin1String("USB-Audio-Box-Mic"))
                mic = device;
        QVERIFY(!mic.isNull());
        SoundRecorder recorder;
        QSignalSpy interrupted(&recorder, &SoundRecorder::interrupted);
        QVERIFY2(recorder.start(mic, path), qPrintable(recorder.error()));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.dataLength() > 8000, 15000);
        QVERIFY(m_server->pactl({QStringLiteral("unload-module"), QString::fromLatin1(m_micModule)}));
        QTRY_COMPARE_WITH_TIMEOUT(interrupted.count(), 1, 5000);
        QVERIFY(interrupted.first().first().toString().contains(QStringLiteral("移除")));
        QVERIFY(!recorder.isRecording());
        const QByteArray bytes = test::fileBytes(path);
        QVERIFY(bytes.size() > 46 + 8000);
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 42), quint32(bytes.size() - 46));
    }

  private:
    test::PrivateSoundServer *m_server;
    QByteArray m_micModule;
};

int main(int argc, char **argv)
{
    test::PrivateSoundServer server;
    QByteArray micModule;
    if (test::PrivateSoundServer::installed() && server.start()) {
        server.pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"), QStringLiteral("sink_name=usbbox"),
                      QStringLiteral("sink_properties=device.description=USB-Audio-Box")});
        server.pactl({QStringLiteral("load-module"), QStringLiteral("module-rescue-streams")});
        micModule = server.pactl({QStringLiteral("load-module"), QStringLiteral("module-remap-source"),
                                  QStringLiteral("source_name=usbmic"), QStringLiteral("master=usbbox.monitor"),
                                  QStringLiteral("source_properties=device.description=USB-Audio-Box-Mic")})
                        .value_or(QByteArray())
                        .trimmed();
        qputenv("PULSE_SERVER", server.address());
    }
    QCoreApplication app(argc, argv);
    RecordingLostTest test(&server, micModule);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_audio_recording_lost.moc"
