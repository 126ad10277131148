// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"
#include "app/Options.h"
#include "app/SimScript.h"
#include "app/SingleInstance.h"
#include "../support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace dpx;

class AppCoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dataFolderPrecedence_data();
    void dataFolderPrecedence();
    void prepareSeedsOnceAndKeepsUserFiles();
    void unusableFolderIsReported();
    void earlierFolderAndUnfinishedFilesAreTidied();
    void workFolderIsPrivateAndRemoved();
    void options_data();
    void options();
    void scriptReadsEveryCommand();
    void scriptErrors_data();
    void scriptErrors();
    void secondInstanceHandsOverArguments();
};

void AppCoreTest::dataFolderPrecedence_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("command line wins") << "/tmp/a" << "/tmp/b" << true << "/tmp/a";
    QTest::newRow("environment next") << "" << "/tmp/b" << true << "/tmp/b";
    QTest::newRow("portable beside the program") << "" << "" << true << "EXE";
    QTest::newRow("user data location") << "" << "" << false << "/home/u/.local/share/dpx";
}

void AppCoreTest::dataFolderPrecedence()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, environment);
    QFETCH(bool, portable);
    QFETCH(QString, expected);
    QTemporaryDir exe;
    if (portable)
        QVERIFY(test::writeFile(exe.filePath(QStringLiteral("portable"))));
    if (expected == QLatin1String("EXE"))
        expected = QDir::cleanPath(exe.path());
    QCOMPARE(DataFolder::choose(commandLine, environment, exe.path(),
                                QStringLiteral("/home/u/.local/share/dpx")),
             expected);
}

void AppCoreTest::prepareSeedsOnceAndKeepsUserFiles()
{
    QTemporaryDir root;
    DataFolder data(root.filePath(QStringLiteral("nested/dpx")));
    QVERIFY2(data.prepare(), qPrintable(data.error()));
    QVERIFY(QFile::exists(data.databasePath()));
    QVERIFY(QFile::exists(data.filePath(QStringLiteral("info.ini"))));
    QVERIFY(QFile::exists(data.pictureFolder() + QStringLiteral("Default.bmp")));

    // A user's edited info.ini and database survive the next start.
    const QString ini = data.filePath(QStringLiteral("info.ini"));
    QVERIFY(test::writeFile(ini, "[info]\naddress=0x0300\n"));
    const qint64 dbSize = QFileInfo(data.databasePath()).size();
    QVERIFY(data.prepare());
    QCOMPARE(test::fileBytes(ini), QByteArray("[info]\naddress=0x0300\n"));
    QCOMPARE(QFileInfo(data.databasePath()).size(), dbSize);
    QVERIFY(!QFile::exists(data.filePath(QStringLiteral("info.ini.part"))));
}

void AppCoreTest::earlierFolderAndUnfinishedFilesAreTidied()
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("dpx"));
    const QString earlier = folder + QStringLiteral("/dpx");
    {
        DataFolder old(earlier);
        QVERIFY(old.prepare());
        QVERIFY(test::writeFile(old.filePath(QStringLiteral("co.mp3")), "ring"));
    }
    // Moved once into the folder above, the earlier folder gone.
    QVERIFY(DataFolder::adoptEarlierFolder(earlier, folder));
    QVERIFY(QFile::exists(folder + QStringLiteral("/Address.db")));
    QVERIFY(QFile::exists(folder + QStringLiteral("/co.mp3")));
    QVERIFY(QFile::exists(folder + QStringLiteral("/contact picture/Default.bmp")));
    QVERIFY(!QFileInfo::exists(earlier));
    // An earlier folder that appears again never overwrites the address book in use.
    QVERIFY(QDir().mkpath(earlier));
    QVERIFY(test::writeFile(earlier + QStringLiteral("/Address.db"), "x"));
    const qint64 size = QFileInfo(folder + QStringLiteral("/Address.db")).size();
    QVERIFY(DataFolder::adoptEarlierFolder(earlier, folder));
    QCOMPARE(QFileInfo(folder + QStringLiteral("/Address.db")).size(), size);

    // A first start cut short left its hidden work files: the next start removes them.
    DataFolder data(folder);
    for (const char *name : {".Address.db.aB3xYz", ".Address.db.aB3xYz-journal"})
        QVERIFY(test::writeFile(data.filePath(QString::fromLatin1(name))));
    QVERIFY(data.prepare());
    QCOMPARE(QDir(folder).entryList({QStringLiteral(".Address.db*")}, QDir::Files | QDir::Hidden),
             QStringList());
    QVERIFY(QFile::exists(data.databasePath()));

    QCOMPARE(DataFolder::simulatedDir(folder), folder + QStringLiteral("/simulated"));
}

void AppCoreTest::unusableFolderIsReported()
{
    // A folder below a plain file can never be created, even by root.
    QTemporaryDir root;
    QVERIFY(test::writeFile(root.filePath(QStringLiteral("file"))));
    DataFolder data(root.filePath(QStringLiteral("file/dpx")));
    QVERIFY(!data.prepare());
    QVERIFY(data.error().contains(root.filePath(QStringLiteral("file/dpx"))));
}

void AppCoreTest::workFolderIsPrivateAndRemoved()
{
    QString work;
    {
        DataFolder data(QStringLiteral("/nonexistent"));
        work = data.workFolder();
        QVERIFY(!work.isEmpty());
        QVERIFY(QFileInfo(work).isDir());
        QVERIFY(QFileInfo(work).absolutePath() != QStringLiteral("/"));
        QCOMPARE(data.workFolder(), work);
    }
    QVERIFY(!QFileInfo::exists(work));
}

void AppCoreTest::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QString>("dial");
    QTest::addColumn<bool>("error");
    QTest::newRow("plain") << QStringList{} << false << "" << "" << false;
    QTest::newRow("simulate")
        << QStringList{"--simulate", "--data-dir", "/tmp/x"} << true << "/tmp/x" << "" << false;
    QTest::newRow("script implies simulate")
        << QStringList{"--sim-script", "a.txt"} << true << "" << "" << false;
    QTest::newRow("tel url") << QStringList{"tel:0223456789"} << false << "" << "tel:0223456789"
                             << false;
    QTest::newRow("dial") << QStringList{"--dial", "123"} << false << "" << "123" << false;
    QTest::newRow("stray argument") << QStringList{"hello"} << false << "" << "" << true;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << false << "" << "" << true;
}

void AppCoreTest::options()
{
    QFETCH(QStringList, args);
    args.prepend(QStringLiteral("dpx"));
    const Options o = Options::parse(args);
    QFETCH(bool, error);
    QCOMPARE(!o.error.isEmpty(), error);
    if (error)
        return;
    QTEST(o.simulate, "simulate");
    QTEST(o.dataDir, "dataDir");
    QTEST(o.dialNumber, "dial");
}

void AppCoreTest::scriptReadsEveryCommand()
{
    const ParsedScript s = parseSimScript(QStringLiteral(
        "# a demo\n"
        "wait 500   # ms\n"
        "unplug\nplug\n"
        "event 0x24 0x41 37 0x42\n"
        "ring co 0912345678\n"
        "ring ICM 12\n"
        "hangup\n"
        "display 2 \"HOLD \\\"A\\\" #1\"\n"
        "lamp 3 red-steady\n"
        "press 18\n"
        "expect lcd1 \"    A           \"\n"
        "expect lamp 32 green-fast\n"
        "expect status \"\"\n"
        "expect sent 01040493\n"
        "screenshot shot.png\n"
        "expect caller \"王大明\"\n"
        "expect alert ON\n"
        "quit\n"));
    QVERIFY2(s.error.isEmpty(), qPrintable(s.error));
    QCOMPARE(s.commands.size(), 18);
    QCOMPARE(s.commands[15].kind, ScriptCommand::ExpectCaller);
    QCOMPARE(s.commands[15].text, QStringLiteral("王大明"));
    QCOMPARE(s.commands[16].kind, ScriptCommand::ExpectAlert);
    QVERIFY(s.commands[16].flag);
    QCOMPARE(s.commands[0].kind, ScriptCommand::Wait);
    QCOMPARE(s.commands[0].line, 2);
    QCOMPARE(s.commands[3].numbers, (QList<int>{0x24, 0x41, 37, 0x42}));
    QVERIFY(s.commands[4].flag);
    QCOMPARE(s.commands[4].text, QStringLiteral("0912345678"));
    QVERIFY(!s.commands[5].flag);
    QCOMPARE(s.commands[7].text, QStringLiteral("HOLD \"A\" #1"));
    QCOMPARE(s.commands[10].text, QStringLiteral("    A           "));
    QCOMPARE(s.commands[12].text, QString());
    QCOMPARE(s.commands[13].text, QStringLiteral("01040493"));
    QCOMPARE(s.commands.last().kind, ScriptCommand::Quit);
}

void AppCoreTest::scriptErrors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("error"); // each faulty line, with the part that says what was expected
    QTest::newRow("unknown verb") << "wait 1\nbogus 1\n" << "line 2: unknown command \"bogus\": expected wait,";
    QTest::newRow("odd event bytes") << "event 1 2 3" << "line 1: event needs";
    QTest::newRow("four pairs") << "event 1 2 3 4 5 6 7 8" << "line 1: event needs";
    QTest::newRow("byte too big") << "event 0x100 1" << "line 1: event bytes";
    QTest::newRow("bad ring line") << "ring pbx 12" << "line 1: ring needs co or icm";
    QTest::newRow("ring without number") << "ring co" << "line 1: expected: ring co";
    QTest::newRow("unterminated quote") << "expect lcd1 \"abc" << "line 1: unterminated";
    QTest::newRow("bad hex") << "expect sent 0104x" << "line 1: expect sent needs";
    QTest::newRow("negative wait") << "wait -5" << "line 1: wait needs";
    QTest::newRow("no lamp 99") << "lamp 99 red-steady" << "line 1: a lamp number is";
    QTest::newRow("no lamp 0") << "lamp 0 off" << "line 1: a lamp number is";
    QTest::newRow("unknown colour") << "expect lamp 3 purple" << "line 1: unknown lamp state \"purple\"";
    QTest::newRow("alert maybe") << "expect alert maybe" << "line 1: expect alert needs on or off";
    QTest::newRow("unknown expectation") << "expect colour \"x\"" << "line 1: expected: expect lcd1";
    QTest::newRow("every line") << "bogus\nwait 1\nlamp 0 off\n" << "line 1: unknown command|line 3: a lamp";
}

void AppCoreTest::scriptErrors()
{
    QFETCH(QString, script);
    QFETCH(QString, error);
    const ParsedScript s = parseSimScript(script);
    QVERIFY(s.commands.isEmpty());
    const QStringList lines = s.error.split(u'\n');
    const QStringList wanted = error.split(u'|');
    QCOMPARE(lines.size(), wanted.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i].startsWith(wanted[i]), qPrintable(lines[i]));
}

void AppCoreTest::secondInstanceHandsOverArguments()
{
    QTemporaryDir folder, other;
    SingleInstance first(folder.path());
    QVERIFY(first.claim({}));
    QSignalSpy activated(&first, &SingleInstance::activated);

    // The second start runs its client side while the first serves from the event loop.
    bool secondIsFirst = true;
    QTimer::singleShot(0, [&] {
        SingleInstance second(folder.path());
        secondIsFirst = second.claim({QStringLiteral("tel:123")});
    });
    QTRY_COMPARE(activated.size(), 1);
    QVERIFY(!secondIsFirst);
    QCOMPARE(activated.first().first().toStringList(), QStringList{QStringLiteral("tel:123")});

    SingleInstance elsewhere(other.path());
    QVERIFY(elsewhere.claim({}));

    // The socket is a path in the user's own runtime folder, which nobody else may enter.
    const QFileInfo socket(first.serverName());
    QCOMPARE(socket.absolutePath(), QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    QVERIFY(socket.exists());
    QCOMPARE(QFileInfo(socket.absolutePath()).permissions()
                 & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                    | QFile::WriteOther | QFile::ExeOther),
             QFile::Permissions());
}

QTEST_GUILESS_MAIN(AppCoreTest)
#include "test_appcore.moc"
