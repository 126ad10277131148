// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RingRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

Q_DECLARE_METATYPE(dpx::RingAction)

class RingRulesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void deviceEligibility_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("eligible");
        QTest::newRow("plain device") << "Speakers (Realtek High Definition Audio)" << true;
        QTest::newRow("Default with blank") << "Default DirectSound Device" << false;
        QTest::newRow("default with blank") << "Built-in default output" << false;
        QTest::newRow("Default at the end, no blank") << "Output Default" << true;
        QTest::newRow("Default followed by a colon") << "Default:Speakers" << true;
        QTest::newRow("DEFAULT in capitals") << "DEFAULT Output" << true;
        QTest::newRow("Default with a tab") << "Default\tOutput" << true;
        QTest::newRow("DirectSound entry") << "DirectSound: Speakers" << false;
        QTest::newRow("directSound entry") << "directSound: Speakers" << false;
        QTest::newRow("DirectSound mid-name") << "My DirectSound:Speakers" << false;
        QTest::newRow("directsound, other spelling") << "directsound: Speakers" << true;
        QTest::newRow("DIRECTSOUND, other spelling") << "DIRECTSOUND: Speakers" << true;
        QTest::newRow("DirectSound without colon") << "DirectSound Speakers" << true;
        QTest::newRow("ORVAN alone") << "ORVAN" << false;
        QTest::newRow("ORVAN at the start") << "ORVAN USB Phone" << false;
        QTest::newRow("ORVAN inside a word") << "USB-XORVANX-Audio" << false;
        QTest::newRow("orvan lower case") << "orvan usb phone" << true;
        QTest::newRow("empty name") << "" << true;
        QTest::newRow("Chinese name") << "揚聲器 (USB Audio)" << true;
    }
    void deviceEligibility()
    {
        QFETCH(QString, description);
        QFETCH(bool, eligible);
        QCOMPARE(IsRingDeviceEligible(description), eligible);
    }

    void firstDevice_data()
    {
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<int>("first");
        QTest::newRow("no devices") << QStringList{} << -1;
        QTest::newRow("only excluded")
            << QStringList{"Default WaveOut Device", "DirectSound: Speakers", "ORVAN USB Phone"}
            << -1;
        QTest::newRow("order kept, first plain wins")
            << QStringList{"Default WaveOut Device", "Headset", "Speakers", "ORVAN Box"} << 1;
        QTest::newRow("box first, speakers after")
            << QStringList{"ORVAN USB Phone", "DirectSound: ORVAN", "Speakers"} << 2;
        QTest::newRow("first is plain") << QStringList{"Speakers", "Headset"} << 0;
    }
    void firstDevice()
    {
        QFETCH(QStringList, descriptions);
        QFETCH(int, first);
        QCOMPARE(FirstRingDevice(descriptions), qsizetype(first));
    }

    void ringRequest_data()
    {
        QTest::addColumn<bool>("outsideLine");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("coRing");
        QTest::addColumn<QString>("icmRing");
        QTest::addColumn<QStringList>("filesPresent");
        QTest::addColumn<RingAction>("action");
        QTest::addColumn<QString>("file"); // played file, or the message for ShowMessage

        const QString set = QStringLiteral("/home/user/ring.wav");
        const QStringList both{"co.mp3", "icm.mp3"};
        QTest::newRow("CO ring plays co.mp3")
            << true << false << set << QString() << both << RingAction::Play << "co.mp3";
        QTest::newRow("ICM ring plays icm.mp3 though coring is empty")
            << false << false << QString() << set << both << RingAction::Play << "icm.mp3";
        QTest::newRow("CO ring with coring empty: nothing")
            << true << false << QString() << set << both << RingAction::Nothing << QString();
        QTest::newRow("ICM ring with icmring empty: nothing")
            << false << false << set << QString() << both << RingAction::Nothing << QString();
        QTest::newRow("column names another file: the fixed file plays")
            << true << false << QStringLiteral("C:\\Music\\song.wav") << QString() << both
            << RingAction::Play << "co.mp3";
        QTest::newRow("CO file missing") << true << false << set << set << QStringList{"icm.mp3"}
                                         << RingAction::ShowMessage << ringFileMissingMessage();
        QTest::newRow("ICM file missing") << false << false << set << set << QStringList{"co.mp3"}
                                          << RingAction::ShowMessage << ringFileMissingMessage();
        QTest::newRow("a folder named co.mp3 is no ring file")
            << true << false << set << set << QStringList{"co.mp3/"} << RingAction::ShowMessage
            << ringFileMissingMessage();
        QTest::newRow("disabled and missing: still nothing")
            << true << false << QString() << QString() << QStringList{} << RingAction::Nothing
            << QString();
        QTest::newRow("stop wins over CO flag")
            << true << true << set << set << both << RingAction::Stop << QString();
        QTest::newRow("stop with nothing configured")
            << false << true << QString() << QString() << QStringList{} << RingAction::Stop
            << QString();
    }
    void ringRequest()
    {
        QFETCH(bool, outsideLine);
        QFETCH(bool, stop);
        QFETCH(QString, coRing);
        QFETCH(QString, icmRing);
        QFETCH(QStringList, filesPresent);
        QFETCH(RingAction, action);
        QFETCH(QString, file);

        QTemporaryDir data;
        QVERIFY(data.isValid());
        for (const QString &name : std::as_const(filesPresent)) {
            if (name.endsWith(u'/')) {
                QVERIFY(QDir(data.path()).mkdir(name.chopped(1)));
                continue;
            }
            QFile ring(data.filePath(name));
            QVERIFY(ring.open(QIODevice::WriteOnly));
        }

        const RingDecision decision =
            DecideRingRequest(outsideLine, stop, coRing, icmRing, data.path());
        QCOMPARE(decision.action, action);
        switch (action) {
        case RingAction::Play:
            QCOMPARE(decision.path, data.filePath(file));
            QVERIFY(decision.message.isEmpty());
            break;
        case RingAction::ShowMessage:
            QCOMPARE(decision.message, file);
            QVERIFY(decision.path.isEmpty());
            break;
        default:
            QVERIFY(decision.path.isEmpty() && decision.message.isEmpty());
        }
    }

    void texts()
    {
        QCOMPARE(noRingDeviceMessage(), QStringLiteral("没有找到放音设备"));
        QCOMPARE(ringFileMissingMessage(), QStringLiteral("找不到鈴聲文件!"));
    }
};

QTEST_GUILESS_MAIN(RingRulesTest)
#include "tst_audio_rules.moc"
