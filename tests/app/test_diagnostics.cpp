// SPDX-License-Identifier: GPL-3.0-or-later
// The diagnostics the user can turn on: --log (numbers masked, an unwritable place refused)
// and the trace and replay options.
#include "app/DiagnosticLog.h"
#include "app/Options.h"
#include "../support/TestFiles.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

Q_LOGGING_CATEGORY(lcTestDiagnostics, "dpx.testdiagnostics", QtFatalMsg)

class DiagnosticsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbersKeepTheirLastFourDigits_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("logged");
        QTest::newRow("plain number") << "ring from 0223456789" << "ring from ******6789";
        QTest::newRow("with separators") << "dial 02-2345-6789 now" << "dial **-****-6789 now";
        QTest::newRow("brackets and dots") << "(02) 2345.6789" << "(**) ****.6789";
        QTest::newRow("two numbers") << "0912345678 then 123456" << "******5678 then **3456";
        QTest::newRow("four digits stay") << "extension 2051, lamp 12" << "extension 2051, lamp 12";
        QTest::newRow("spaced groups are one number") << "1234 - 5678" << "**** - 5678";
        QTest::newRow("other characters end it") << "1234, 5678 and 12:30:45" << "1234, 5678 and 12:30:45";
    }
    void numbersKeepTheirLastFourDigits()
    {
        QFETCH(QString, message);
        QTEST(DiagnosticLog::withNumbersMasked(message), "logged");
    }

    // Every dpx category reaches the file, time-stamped, with the number masked; logging
    // stops with the object.
    void logsEveryCategoryIntoTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dpx.log"));
        {
            DiagnosticLog log;
            QVERIFY2(log.start(path), qPrintable(log.error()));
            qCDebug(lcTestDiagnostics) << "caller" << "0223456789";
        }
        qCDebug(lcTestDiagnostics) << "after the log";
        const QString text = QString::fromUtf8(test::fileBytes(path));
        QVERIFY2(text.contains(QStringLiteral("dpx.testdiagnostics debug: caller ******6789")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("0223456789")));
        QVERIFY(text.startsWith(QStringLiteral("20"))); // an ISO date
        QVERIFY(!text.contains(QStringLiteral("after the log")));
    }

    void unwritableLogIsRefused()
    {
        DiagnosticLog log;
        QVERIFY(!log.start(QStringLiteral("/nonexistent-folder/dpx.log")));
        QVERIFY(log.error().contains(QStringLiteral("/nonexistent-folder/dpx.log")));
    }

    void traceAndReplayOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("error");
        QTest::addColumn<double>("speed");
        QTest::newRow("trace and log") << QStringList{"--trace-hid", "t", "--log", "l"} << false << 1.0;
        QTest::newRow("replay faster") << QStringList{"--replay-hid", "t", "--replay-speed", "2.5"} << false << 2.5;
        QTest::newRow("speed zero") << QStringList{"--replay-speed", "0"} << true << 0.0;
        QTest::newRow("speed not a number") << QStringList{"--replay-speed", "fast"} << true << 0.0;
        QTest::newRow("trace without a file") << QStringList{"--trace-hid"} << true << 0.0;
    }
    void traceAndReplayOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, error);
        const Options o = Options::parse(QStringList{QStringLiteral("dpx")} + args);
        QCOMPARE(!o.error.isEmpty(), error);
        if (!error)
            QTEST(o.replaySpeed, "speed");
    }
};

QTEST_GUILESS_MAIN(DiagnosticsTest)
#include "test_diagnostics.moc"
