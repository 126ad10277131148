// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RingRules.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

class RingRulesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Which output device carries the ring: the first one, in the system's order, whose
    // description holds none of the excluded words (case-sensitive, anywhere).
    void ringDevice_data()
    {
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<int>("first");
        QTest::newRow("Default with blank") << QStringList{"Default Output Device"} << -1;
        QTest::newRow("default with blank") << QStringList{"Built-in default output"} << -1;
        QTest::newRow("Default without a blank after") << QStringList{"Output Default"} << 0;
        QTest::newRow("DirectSound: entry") << QStringList{"DirectSound: Speakers"} << -1;
        QTest::newRow("directSound: mid-name") << QStringList{"My directSound:Out"} << -1;
        QTest::newRow("directsound: other spelling") << QStringList{"directsound: Out"} << 0;
        QTest::newRow("DirectSound without colon") << QStringList{"DirectSound Speakers"} << 0;
        QTest::newRow("ORVAN inside a word") << QStringList{"USB-XORVANX-Audio"} << -1;
        QTest::newRow("orvan lower case") << QStringList{"orvan usb phone"} << 0;
        QTest::newRow("only excluded")
            << QStringList{"Default WaveOut Device", "DirectSound: Speakers", "ORVAN Phone"} << -1;
        QTest::newRow("order kept, first plain wins")
            << QStringList{"ORVAN USB Phone", "Headset", "Speakers", "Default Out"} << 1;
    }
    void ringDevice()
    {
        QFETCH(QStringList, descriptions);
        QFETCH(int, first);
        QCOMPARE(FirstRingDevice(descriptions), qsizetype(first));
    }

    // The ring columns only switch the PC ring on; the fixed file in the data folder plays.
    void ringRequest_data()
    {
        QTest::addColumn<QString>("report"); // "CO" or "ICM" ring, or "stop"
        QTest::addColumn<QString>("coRing");
        QTest::addColumn<QString>("icmRing");
        QTest::addColumn<QStringList>("filesPresent");
        QTest::addColumn<RingAction>("action");
        QTest::addColumn<QString>("file"); // played file, or the message shown

        const QString set = QStringLiteral("/home/user/ring.wav");
        const QStringList both{"co.mp3", "icm.mp3"};
        QTest::newRow("CO ring plays co.mp3")
            << "CO" << set << QString() << both << RingAction::Play << "co.mp3";
        QTest::newRow("ICM ring plays icm.mp3 though coring is NULL")
            << "ICM" << QString() << set << both << RingAction::Play << "icm.mp3";
        QTest::newRow("CO ring with coring NULL: nothing")
            << "CO" << QString() << set << both << RingAction::Nothing << QString();
        QTest::newRow("ICM ring with icmring empty: nothing")
            << "ICM" << set << "" << both << RingAction::Nothing << QString();
        QTest::newRow("column names another file: the fixed file plays")
            << "CO"
            << "D:\\song.wav" << QString() << both << RingAction::Play << "co.mp3";
        QTest::newRow("CO file missing")
            << "CO" << set << set << QStringList{"icm.mp3"} << RingAction::ShowMessage
            << QStringLiteral("找不到鈴聲文件!");
        QTest::newRow("stop wins over a CO ring")
            << "stop" << set << set << both << RingAction::Stop << QString();
    }
    void ringRequest()
    {
        QFETCH(QString, report);
        QFETCH(QString, coRing);
        QFETCH(QString, icmRing);
        QFETCH(QStringList, filesPresent);
        QFETCH(RingAction, action);
        QFETCH(QString, file);

        QTemporaryDir data;
        for (const QString &name : std::as_const(filesPresent))
            QVERIFY(QFile(data.filePath(name)).open(QIODevice::WriteOnly));
        const RingDecision decision =
            DecideRingRequest(report != "ICM", report == "stop", coRing, icmRing, data.path());
        QCOMPARE(decision.action, action);
        QCOMPARE(decision.path, action == RingAction::Play ? data.filePath(file) : QString());
        QCOMPARE(decision.message, action == RingAction::ShowMessage ? file : QString());
    }
};

QTEST_GUILESS_MAIN(RingRulesTest)
#include "tst_audio_rules.moc"
