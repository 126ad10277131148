// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"
#include "../support/PrivateSoundServer.h"

#include "audio/MasterOutputVolume.h"

#include <QElapsedTimer>
#include <QScopeGuard>

#include <climits>

using namespace dpx;
using namespace dpx::test;

namespace {

constexpr int kNorm = 65536; // the server's 100 %

// pactl's word on the default sink's "volume" or "mute".
QString defaultSink(const char *what)
{
    const auto out = pactl({"get-sink-" + QString::fromLatin1(what), "@DEFAULT_SINK@"});
    return QString::fromUtf8(out.value_or(QByteArray()));
}

} // namespace

class VolumeTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void setReadsBackOnEveryChannel_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected"); // out of range: the volume set before stays
        QTest::newRow("silent") << 0 << 0;
        QTest::newRow("half") << kNorm / 2 << kNorm / 2;
        QTest::newRow("full") << kNorm << kNorm;
        QTest::newRow("above maximum") << kNorm + 1 << 12000;
        QTest::newRow("all ones") << -1 << 12000;
        QTest::newRow("most negative") << INT_MIN << 12000;
    }
    void setReadsBackOnEveryChannel()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(int, value);
        QFETCH(int, expected);
        MasterOutputVolume volume;
        QVERIFY(volume.IsVolumeAvailable());
        QCOMPARE(volume.GetMaxVolume(), kNorm);
        volume.SetVolume(12000);
        volume.SetVolume(value);
        QCOMPARE(volume.GetVolume(), expected);
        // "front-left: 12000 / 18% / ...,   front-right: 12000 / 18% / ..."
        QCOMPARE(defaultSink("volume").count(QStringLiteral(" %1 / ").arg(expected)), 2);
    }

    void outsideChangeReachesEveryObject()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume slider;
        MasterOutputVolume converterButtons;
        QVERIFY(slider.IsVolumeAvailable() && converterButtons.IsVolumeAvailable());
        slider.SetVolume(20000);
        QSignalSpy sliderSpy(&slider, &MasterOutputVolume::volumeChanged);
        QSignalSpy buttonsSpy(&converterButtons, &MasterOutputVolume::volumeChanged);
        QVERIFY(pactl({"set-sink-volume", "@DEFAULT_SINK@", "30000"}));
        QTRY_VERIFY(!sliderSpy.isEmpty() && sliderSpy.last().first().toInt() == 30000);
        QTRY_VERIFY(!buttonsSpy.isEmpty() && buttonsSpy.last().first().toInt() == 30000);
    }

    void lineSwitchesMute()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume volume;
        volume.DisableLine();
        QCOMPARE(defaultSink("mute"), "Mute: yes\n");
        volume.EnableLine();
        QCOMPARE(defaultSink("mute"), "Mute: no\n");
    }

    // The volume is set from the UI thread while a slider moves: a server that stops answering
    // must never hold it up, and one that comes back (or restarts) is used again.
    void serverThatStopsAnsweringOrRestarts()
    {
        if (!PrivateSoundServer::installed())
            QSKIP("pulseaudio is not installed");
        PrivateSoundServer server;
        QVERIFY(server.start());
        const QByteArray saved = qgetenv("PULSE_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("PULSE_SERVER", saved); });
        qputenv("PULSE_SERVER", server.address());
        const auto serverVolume = [&] {
            return QString::fromUtf8(server.pactl({"get-sink-volume", "@DEFAULT_SINK@"}).value_or(""));
        };
        MasterOutputVolume volume;
        QVERIFY(volume.IsVolumeAvailable());

        QSignalSpy heard(&volume, &MasterOutputVolume::volumeChanged);
        server.pause();
        QElapsedTimer clock;
        clock.start();
        for (int value = 1000; value <= 5000; value += 1000) {
            QCOMPARE(volume.GetMaxVolume(), kNorm);
            volume.SetVolume(value);
        }
        const qint64 blocked = clock.elapsed();
        server.resume();
        QVERIFY2(blocked < 1000, qPrintable(QStringLiteral("blocked %1 ms").arg(blocked)));
        QTRY_VERIFY(serverVolume().contains(QStringLiteral(" 5000 / ")));
        // The late answers to our own changes are no news: a slider would jump back through them.
        QTest::qWait(300);
        for (const QList<QVariant> &news : std::as_const(heard))
            QVERIFY2(news.first().toInt() % 1000 != 0, qPrintable(news.first().toString()));

        // Stopped and started again on the same socket: found again, and obeyed.
        server.stop();
        QTRY_COMPARE(volume.GetMaxVolume(), -1);
        QVERIFY(server.start());
        QTRY_VERIFY_WITH_TIMEOUT(volume.GetMaxVolume() == kNorm, 15000);
        volume.SetVolume(7000);
        QTRY_VERIFY(serverVolume().contains(QStringLiteral(" 7000 / ")));
    }

    void noServerAnswersMinusOne()
    {
        QTemporaryDir nowhere;
        const QByteArray saved = qgetenv("PULSE_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("PULSE_SERVER", saved); });
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(nowhere.filePath("none")));
        MasterOutputVolume volume;
        QSignalSpy spy(&volume, &MasterOutputVolume::volumeChanged);
        volume.SetVolume(1000);
        volume.DisableLine();
        QVERIFY(!volume.IsVolumeAvailable());
        const QList<int> answers{volume.GetVolume(), volume.GetMinVolume(), volume.GetMaxVolume(),
                                 volume.GetVolumeSteps()};
        QCOMPARE(answers, QList<int>(4, -1));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_GUILESS_MAIN(VolumeTest)
#include "tst_audio_volume.moc"
