// SPDX-License-Identifier: GPL-3.0-or-later
// Call actions without a display: template rules and filling, the store, and the runner fed by
// the call tracker, starting a real program that writes down its arguments.
#include "integration/CallActionRunner.h"
#include "integration/CallActionStore.h"
#include "integration/CallEvents.h"
#include "phone/CallTracker.h"
#include "../support/TestFiles.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

namespace {

CallFacts facts(const QString &number, const QString &name, bool co = true, int duration = 0)
{
    CallFacts f;
    f.number = number;
    f.name = name;
    f.outsideLine = co;
    f.time = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
    f.durationSeconds = duration;
    return f;
}

QStringList readLines(const QString &path)
{
    return QString::fromUtf8(test::fileBytes(path)).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestCallActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void templateRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problemPart"); // empty: accepted
        const int url = int(ActionKind::Url), program = int(ActionKind::Program);
        QTest::newRow("crm search") << url << "https://crm.example.com/search?phone={digits}" << "";
        QTest::newRow("every placeholder")
            << url << "http://x/{number}/{digits}/{name}/{line}/{time}/{duration}" << "";
        QTest::newRow("mailto") << url << "mailto:desk@example.com?subject={name}" << "";
        QTest::newRow("unknown placeholder") << url << "https://x/?q={caller}" << "unknown placeholder {caller}";
        QTest::newRow("placeholder case matters") << url << "https://x/?q={Number}" << "unknown placeholder";
        QTest::newRow("unclosed brace") << url << "https://x/?q={number" << "unbalanced";
        QTest::newRow("stray closing brace") << url << "https://x/?q=number}" << "unbalanced";
        QTest::newRow("nested braces") << url << "https://x/?q={{number}}" << "unbalanced";
        QTest::newRow("file scheme") << url << "file:///etc/passwd" << "http:, https: or mailto:";
        QTest::newRow("javascript scheme") << url << "javascript:alert({name})" << "http:, https: or mailto:";
        QTest::newRow("scheme from the caller") << url << "{name}://x" << "http:, https: or mailto:";
        QTest::newRow("no scheme") << url << "crm.example.com/{digits}" << "http:, https: or mailto:";
        QTest::newRow("empty url") << url << "  " << "empty";
        QTest::newRow("program") << program << "/usr/bin/crm-lookup --phone {number} {name}" << "";
        QTest::newRow("program from the caller") << program << "{name} --x" << "cannot be a placeholder";
        QTest::newRow("program with unknown placeholder") << program << "notify {who}" << "unknown placeholder";
        QTest::newRow("empty program") << program << "" << "empty";
    }
    void templateRules()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, problemPart);
        const QString problem = templateProblem(ActionKind(kind), text);
        if (problemPart.isEmpty())
            QCOMPARE(problem, QString());
        else
            QVERIFY2(problem.contains(problemPart), qPrintable(problem));
    }

    // The filled result: a URL (encoded) or the argument list as "[a][b]".
    void filling_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const int url = int(ActionKind::Url), program = int(ActionKind::Program);
        QTest::newRow("digits only") << url << "https://crm.example.com/search?phone={digits}"
                                     << "(02) 2345-6789" << "" << "https://crm.example.com/search?phone=0223456789";
        QTest::newRow("number encoded") << url << "https://x/?n={number}" << "02 2345#6*" << ""
                                        << "https://x/?n=02%202345%236%2A";
        QTest::newRow("name in UTF-8") << url << "https://x/?who={name}" << "1" << "王小明"
                                       << "https://x/?who=%E7%8E%8B%E5%B0%8F%E6%98%8E";
        QTest::newRow("query smuggling stays one value") << url << "https://x/?who={name}&k=1" << "1" << "&x=1"
                                                         << "https://x/?who=%26x%3D1&k=1";
        QTest::newRow("fragment and path tricks") << url << "https://x/?who={name}" << "1" << "a/../#b?c"
                                                  << "https://x/?who=a%2F..%2F%23b%3Fc";
        QTest::newRow("line time duration") << url << "https://x/?l={line}&t={time}&d={duration}" << "1" << ""
                                            << "https://x/?l=co&t=2026-03-04T05%3A06%3A07Z&d=42";
        QTest::newRow("empty name") << url << "https://x/?who={name}&n={number}" << "123" << ""
                                    << "https://x/?who=&n=123";
        QTest::newRow("arguments as text") << program << "crm --phone={number} {name}" << "02 2345" << "Lee Ann"
                                           << "[--phone=02 2345][Lee Ann]";
        QTest::newRow("shell text is inert") << program << "crm {name}" << "1" << "\"; rm -rf ~"
                                             << "[\"; rm -rf ~]";
        QTest::newRow("command substitution is inert") << program << "crm {name} {digits}" << "1" << "$(reboot)"
                                                       << "[$(reboot)][1]";
        QTest::newRow("empty name keeps its argument") << program << "crm {name} {number}" << "5" << ""
                                                       << "[][5]";
        QTest::newRow("blanks in the template split words") << program << "crm   a\tb {line}" << "1" << ""
                                                            << "[a][b][co]";
    }
    void filling()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const ActionLaunch launch = fillAction({ActionWhen::Ring, ActionKind(kind), text}, facts(number, name, true, 42));
        QCOMPARE(launch.error, QString());
        if (ActionKind(kind) == ActionKind::Url) {
            QCOMPARE(QString::fromUtf8(launch.url.toEncoded()), expected);
        } else {
            QCOMPARE(launch.program, QStringLiteral("crm"));
            QString args;
            for (const QString &a : launch.arguments)
                args += QLatin1Char('[') + a + QLatin1Char(']');
            QCOMPARE(args, expected);
        }
    }

    void storeKeepsValidActionsPerFolder()
    {
        QTemporaryDir one, two;
        const QList<CallAction> actions{{ActionWhen::Ring, ActionKind::Url, QStringLiteral("https://x/?p={digits}")},
                                        {ActionWhen::Missed, ActionKind::Program, QStringLiteral("notify-send {name}")}};
        QCOMPARE(CallActionStore(one.path()).save(actions), QString());
        QCOMPARE(CallActionStore(one.path()).load(), actions);
        QVERIFY(CallActionStore(two.path()).load().isEmpty());

        // A refused list stores nothing; a hand-edited file keeps only what is valid.
        const QString refused = CallActionStore(one.path()).save(
            {actions[0], {ActionWhen::End, ActionKind::Url, QStringLiteral("ftp://x/{number}")}});
        QVERIFY2(refused.startsWith(QStringLiteral("動作 2:")), qPrintable(refused));
        QCOMPARE(CallActionStore(one.path()).load(), actions);
        QVERIFY(!CallActionStore(one.path()).save(QList<CallAction>(5, actions[0])).isEmpty());
        QSettings raw(CallActionStore(one.path()).path(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("actions/2/template"), QStringLiteral("{name} x"));
        raw.sync();
        QCOMPARE(CallActionStore(one.path()).load(), QList<CallAction>{actions[0]});
    }

    // Through the tracker as the mirror drives it: a real program records its arguments.
    void oneActionPerCall()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("args"));
        const QString recorder = QFINDTESTDATA("record-args.sh");
        QVERIFY(!recorder.isEmpty());
        qint64 clock = 1'000'000;
        CallTracker tracker;
        tracker.setClock([&clock] { return clock; });
        CallEvents events;
        events.watch(tracker);
        CallActionRunner runner;
        runner.watch(events);
        for (const char *when : {"ring", "answer", "end", "missed"})
            runner.addAction({*actionWhenFromName(QString::fromLatin1(when)), ActionKind::Program,
                              recorder + QStringLiteral(" ") + out + QStringLiteral(" ") + QLatin1String(when)
                                  + QStringLiteral(" {number} {name} {line} {duration}")});

        // A missed call with a storm of ring reports.
        tracker.ringStarted(true);
        tracker.ringStarted(true);
        tracker.callerIdentified(QStringLiteral("0223456789"), QStringLiteral("$(reboot)"));
        tracker.ringEnded();
        tracker.ringStarted(true); // rang again within the grace: the same call
        tracker.ringEnded();
        clock += CallTracker::AnswerGraceMs;
        tracker.settle();
        // An intercom call answered and talked for 75 s; its caller never shows.
        tracker.ringStarted(false);
        tracker.ringEnded();
        clock += 500;
        tracker.callTimerShown(QString());
        clock += 75'000;
        tracker.callTimerStopped();

        QCOMPARE(runner.actionsTaken(), 5);
        QTRY_COMPARE(readLines(out).size(), 5);
        QStringList lines = readLines(out);
        lines.sort(); // detached programs may finish in any order
        QCOMPARE(lines, (QStringList{
            QStringLiteral("[answer][][][icm][0]"),
            QStringLiteral("[end][][][icm][75]"),
            QStringLiteral("[missed][0223456789][$(reboot)][co][0]"),
            QStringLiteral("[ring][0223456789][$(reboot)][co][0]"),
            QStringLiteral("[ring][][][icm][0]"),
        }));
    }

    // A ring action that does not name the caller runs at once; one that does waits for it,
    // at most CallerWaitMs.
    void ringActionsWaitForTheCallerOnlyWhenTheyNameIt()
    {
        QTemporaryDir dir;
        CallTracker tracker;
        CallEvents events;
        events.watch(tracker);
        CallActionRunner runner;
        runner.watch(events);
        runner.setRecordFile(dir.filePath(QStringLiteral("record")));
        runner.addAction({ActionWhen::Ring, ActionKind::Url, QStringLiteral("https://x/ring?l={line}")});
        runner.addAction({ActionWhen::Ring, ActionKind::Url, QStringLiteral("https://x/who?n={digits}")});
        QSignalSpy announced(&events, &CallEvents::incomingCall);

        tracker.ringStarted(true);
        QCOMPARE(runner.actionsTaken(), 1);
        QVERIFY(QTest::qWaitFor([&] { return announced.size() == 1; }, CallEvents::CallerWaitMs + 2000));
        QCOMPARE(runner.actionsTaken(), 2);
        tracker.callerIdentified(QStringLiteral("0912"), QString()); // too late: announced once
        QCOMPARE(announced.size(), 1);

        const QStringList lines = readLines(runner.recordFile());
        QCOMPARE(lines.size(), 2);
        const QJsonObject first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
        QCOMPARE(first.value(QStringLiteral("when")).toString(), QStringLiteral("ring"));
        QCOMPARE(first.value(QStringLiteral("kind")).toString(), QStringLiteral("url"));
        QCOMPARE(first.value(QStringLiteral("url")).toString(), QStringLiteral("https://x/ring?l=co"));
        QCOMPARE(QJsonDocument::fromJson(lines[1].toUtf8()).object().value(QStringLiteral("url")).toString(),
                 QStringLiteral("https://x/who?n="));
    }

    void failuresAreReportedOnceAndCountNothing_data()
    {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("recordFile");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such program") << "dpx-no-such-program-xyz {number}" << "" << "no such program";
        QTest::newRow("not executable") << "@PLAIN@ {number}" << "" << "not executable";
        QTest::newRow("a folder") << "/tmp {number}" << "" << "not executable";
        QTest::newRow("record file unwritable") << "true {number}" << "/nonexistent/dir/record" << "cannot write";
    }
    void failuresAreReportedOnceAndCountNothing()
    {
        QFETCH(QString, templateText);
        QFETCH(QString, recordFile);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        templateText.replace(QStringLiteral("@PLAIN@"), plain.fileName());
        CallActionRunner runner;
        runner.setRecordFile(recordFile);
        QSignalSpy problems(&runner, &CallActionRunner::problem);
        QVERIFY(!runner.run({ActionWhen::Ring, ActionKind::Program, templateText}, CallFacts::sample()));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0][0].toString().contains(reason), qPrintable(problems[0][0].toString()));
        QCOMPARE(runner.actionsTaken(), 0);
    }

    void webAddressesGoToTheDesktopOpener()
    {
        CallActionRunner runner;
        QList<QUrl> opened;
        runner.setUrlOpener([&opened](const QUrl &url) { opened << url; return true; });
        QVERIFY(runner.run({ActionWhen::Answer, ActionKind::Url, QStringLiteral("https://x/?n={digits}")},
                           facts(QStringLiteral("02-1"), QString())));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://x/?n=021"))});
        runner.setUrlOpener([](const QUrl &) { return false; });
        QSignalSpy problems(&runner, &CallActionRunner::problem);
        QVERIFY(!runner.run({ActionWhen::Answer, ActionKind::Url, QStringLiteral("https://x/")}, CallFacts()));
        QCOMPARE(problems.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCallActions)
#include "tst_callactions.moc"
