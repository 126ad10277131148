// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"

#include "audio/MasterOutputVolume.h"

#include <QSignalSpy>
#include <QTest>

#include <climits>

using namespace dpx;
using namespace dpx::test;

namespace {

constexpr int kNorm = 65536;

// The default sink's raw volume per channel, as pactl reports it.
QList<int> channelVolumes(const QString &server = {})
{
    QList<int> values;
    const QJsonArray sinks = pactlJson({QStringLiteral("list"), QStringLiteral("sinks")}, server);
    const auto out = pactl({QStringLiteral("get-default-sink")}, server);
    const QString name = out ? QString::fromUtf8(*out).trimmed() : QString();
    for (const QJsonValue &sink : sinks) {
        if (sink[QLatin1StringView("name")].toString() != name)
            continue;
        const QJsonObject volume = sink[QLatin1StringView("volume")].toObject();
        for (auto it = volume.begin(); it != volume.end(); ++it)
            values.append(it.value()[QLatin1StringView("value")].toInt());
    }
    return values;
}

bool defaultSinkMuted()
{
    const auto out = pactl({QStringLiteral("get-sink-mute"), QStringLiteral("@DEFAULT_SINK@")});
    return out && out->contains("yes");
}

// Points libpulse of this process at another server while the object lives.
class ServerOverride {
  public:
    explicit ServerOverride(const QString &server) : m_old(qgetenv("PULSE_SERVER"))
    {
        qputenv("PULSE_SERVER", server.toUtf8());
    }
    ~ServerOverride()
    {
        if (m_old.isEmpty())
            qunsetenv("PULSE_SERVER");
        else
            qputenv("PULSE_SERVER", m_old);
    }

  private:
    QByteArray m_old;
};

void expectNoVolume(const MasterOutputVolume &volume)
{
    QVERIFY(!volume.IsVolumeAvailable());
    QCOMPARE(volume.GetVolume(), -1);
    QCOMPARE(volume.GetMinVolume(), -1);
    QCOMPARE(volume.GetMaxVolume(), -1);
    QCOMPARE(volume.GetVolumeSteps(), -1);
}

} // namespace

class VolumeTest : public QObject {
    Q_OBJECT
    QList<int> m_savedVolume;
    bool m_savedMute = false;

  private Q_SLOTS:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("PULSE_SERVER") && serverReachable()) {
            m_savedVolume = channelVolumes();
            m_savedMute = defaultSinkMuted();
        }
    }
    void cleanupTestCase()
    {
        if (!m_savedVolume.isEmpty()) {
            pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                   QString::number(m_savedVolume.first())});
            pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"),
                   m_savedMute ? QStringLiteral("1") : QStringLiteral("0")});
        }
    }

    void bounds()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume volume;
        QVERIFY(volume.IsVolumeAvailable());
        QCOMPARE(volume.GetMinVolume(), 0);
        QCOMPARE(volume.GetMaxVolume(), kNorm);
        QVERIFY(volume.GetVolumeSteps() > 1);
    }

    void setReadsBackOnEveryChannel_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("silent") << 0;
        QTest::newRow("lowest step") << 1;
        QTest::newRow("half") << kNorm / 2;
        QTest::newRow("full") << kNorm;
    }
    void setReadsBackOnEveryChannel()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(int, value);
        MasterOutputVolume volume;
        volume.SetVolume(value);
        QCOMPARE(volume.GetVolume(), value);
        const QList<int> channels = channelVolumes();
        QVERIFY(channels.size() >= 2); // the test sinks are stereo
        for (const int channel : channels)
            QCOMPARE(channel, value);
    }

    void outOfRangeIsIgnored_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("above maximum") << kNorm + 1;
        QTest::newRow("all ones") << -1;
        QTest::newRow("most negative") << INT_MIN;
        QTest::newRow("largest") << INT_MAX;
    }
    void outOfRangeIsIgnored()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(int, value);
        MasterOutputVolume volume;
        volume.SetVolume(12000);
        volume.SetVolume(value);
        QCOMPARE(volume.GetVolume(), 12000);
        QCOMPARE(channelVolumes(), QList<int>(channelVolumes().size(), 12000));
    }

    void outsideChangeReachesEveryObject()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume slider;
        MasterOutputVolume converterButtons;
        slider.SetVolume(20000);
        QSignalSpy sliderSpy(&slider, &MasterOutputVolume::volumeChanged);
        QSignalSpy buttonsSpy(&converterButtons, &MasterOutputVolume::volumeChanged);
        QVERIFY(slider.GetVolume() == 20000 && converterButtons.GetVolume() == 20000);
        QTest::qWait(200); // let the baseline settle before the outside change
        sliderSpy.clear();
        buttonsSpy.clear();

        QVERIFY(pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                       QStringLiteral("30000")}));
        QTRY_VERIFY(!sliderSpy.isEmpty() && !buttonsSpy.isEmpty());
        QCOMPARE(sliderSpy.last().first().toInt(), 30000);
        QCOMPARE(buttonsSpy.last().first().toInt(), 30000);

        // A mute change is no volume change.
        sliderSpy.clear();
        QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"),
                       QStringLiteral("toggle")}));
        QTest::qWait(300);
        QCOMPARE(sliderSpy.count(), 0);
        pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"),
               QStringLiteral("toggle")});
    }

    void lineSwitchesMute()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume volume;
        volume.DisableLine();
        QVERIFY(defaultSinkMuted());
        volume.EnableLine();
        QVERIFY(!defaultSinkMuted());
    }

    void noServerAnswersMinusOne()
    {
        QTemporaryDir nowhere;
        ServerOverride server(QStringLiteral("unix:") + nowhere.filePath(QStringLiteral("none")));
        MasterOutputVolume volume;
        QSignalSpy spy(&volume, &MasterOutputVolume::volumeChanged);
        expectNoVolume(volume);
        volume.SetVolume(1000);
        volume.EnableLine();
        volume.DisableLine();
        QCOMPARE(volume.GetVolume(), -1);
        QCOMPARE(spy.count(), 0);
    }

    // A daemon of the test's own that dies and comes back, and whose default sink changes.
    void serverLossAndReturn()
    {
        if (!PrivatePulse::available())
            QSKIP("pulseaudio is not installed: cannot start a daemon of the test's own");
        PrivatePulse pulse;
        QVERIFY2(pulse.start({QStringLiteral("load-module module-null-sink sink_name=one"),
                              QStringLiteral("load-module module-null-sink sink_name=two"),
                              QStringLiteral("set-default-sink one")}),
                 "the test's own PulseAudio daemon did not start");
        ServerOverride server(pulse.server());
        MasterOutputVolume volume;
        QSignalSpy spy(&volume, &MasterOutputVolume::volumeChanged);
        volume.SetVolume(10000);
        QCOMPARE(volume.GetVolume(), 10000);

        // Another sink becomes the default: its volume is the master volume now.
        QVERIFY(pactl(
            {QStringLiteral("set-sink-volume"), QStringLiteral("two"), QStringLiteral("40000")},
            pulse.server()));
        QVERIFY(pactl({QStringLiteral("set-default-sink"), QStringLiteral("two")}, pulse.server()));
        QTRY_VERIFY(!spy.isEmpty() && spy.last().first().toInt() == 40000);
        QCOMPARE(volume.GetVolume(), 40000);

        pulse.kill();
        QTRY_COMPARE(volume.GetVolume(), -1);
        expectNoVolume(volume);
        volume.SetVolume(5000); // nothing to set, nothing breaks
        volume.DisableLine();

        QVERIFY2(pulse.restart(), "the daemon did not come back");
        QTRY_VERIFY_WITH_TIMEOUT(volume.GetVolume() >= 0, 20000);
        QCOMPARE(volume.GetMaxVolume(), kNorm);
        spy.clear();
        QVERIFY(pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                       QStringLiteral("23456")},
                      pulse.server()));
        QTRY_VERIFY(!spy.isEmpty() && spy.last().first().toInt() == 23456);
    }

    // A server that stops answering must not hang the caller (the UI thread).
    void frozenServerIsGivenUp()
    {
        if (!PrivatePulse::available())
            QSKIP("pulseaudio is not installed: cannot start a daemon of the test's own");
        PrivatePulse pulse;
        QVERIFY2(pulse.start({QStringLiteral("load-module module-null-sink sink_name=one")}),
                 "the test's own PulseAudio daemon did not start");
        ServerOverride server(pulse.server());
        MasterOutputVolume volume;
        volume.SetVolume(30000);
        QCOMPARE(volume.GetVolume(), 30000);

        pulse.freeze(true);
        QCOMPARE(volume.GetVolume(), -1); // returns after the answer timeout
        QCOMPARE(volume.GetVolume(), -1);
        volume.SetVolume(1000);
        pulse.freeze(false);

        QTRY_VERIFY_WITH_TIMEOUT(volume.GetVolume() == 30000, 20000);
    }
};

QTEST_GUILESS_MAIN(VolumeTest)
#include "tst_audio_volume.moc"
