// SPDX-License-Identifier: GPL-3.0-or-later
// Finding and starting the chat client: lookup order, desktop-entry Exec lines, messages, and
// a real start of a fake client under temporary PATH, data and config folders.

#include "app/ChatClientLauncher.h"
#include "app/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace dpx;
using namespace Qt::StringLiterals;

namespace {

QString msg(const char *utf8) { return QString::fromUtf8(utf8); }

// A system of its own: PATH, XDG data folders and the program's settings file, all temporary.
struct FakeSystem {
    QTemporaryDir root;
    QString bin = root.filePath(u"bin"_s);
    QString optBin = root.filePath(u"opt"_s);
    QString apps = root.filePath(u"share/applications"_s);
    QString output = root.filePath(u"arguments.txt"_s);
    QSettings settings{root.filePath(u"dpx.conf"_s), QSettings::IniFormat};

    FakeSystem()
    {
        for (const QString &dir : {bin, optBin, apps})
            QDir().mkpath(dir);
        qputenv("PATH", bin.toLocal8Bit());
        qputenv("XDG_DATA_HOME", root.filePath(u"home-share"_s).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", root.filePath(u"share"_s).toLocal8Bit());
        qputenv("FAKE_CLIENT_OUT", output.toLocal8Bit());
    }
    // A client that writes each argument on a line of its own.
    QString client(const QString &path, bool executable = true, const QByteArray &interpreter = "/bin/sh",
                   const QByteArray &before = {})
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        // Shell builtins only: PATH holds nothing but the fake programs.
        file.write("#!" + interpreter + "\n" + before + "\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_CLIENT_OUT\"\n");
        file.close();
        file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                       : QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    void desktopEntry(const QString &id, const QString &exec)
    {
        QFile file(QDir(apps).filePath(id));
        file.open(QIODevice::WriteOnly);
        file.write("[Desktop Entry]\nType=Application\nName=Chat\nExec=" + exec.toUtf8() + "\n");
    }
    QStringList received() const
    {
        QFile file(output);
        if (!file.open(QIODevice::ReadOnly))
            return {u"<none>"_s};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

using Setup = std::function<void(FakeSystem &)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestChatClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void execLines_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("command"); // empty: refused
        QTest::newRow("plain with %U") << u"skypeforlinux %U"_s << QStringList{u"skypeforlinux"_s};
        QTest::newRow("quoted spaces") << u"\"/opt/My Chat/chat\" --x \"a b\""_s
                                       << QStringList{u"/opt/My Chat/chat"_s, u"--x"_s, u"a b"_s};
        QTest::newRow("quoted escapes") << u"chat \"a\\\"b\" \"c\\\\d\" \"\\$HOME\" \"\\`x\\`\""_s
                                        << QStringList{u"chat"_s, u"a\"b"_s, u"c\\d"_s, u"$HOME"_s, u"`x`"_s};
        QTest::newRow("percent") << u"chat --rate=100%% %f %F %i %c %k"_s
                                 << QStringList{u"chat"_s, u"--rate=100%"_s};
        QTest::newRow("field code inside a word") << u"chat --file=%u"_s
                                                  << QStringList{u"chat"_s, u"--file="_s};
        QTest::newRow("flatpak markers")
            << u"/usr/bin/flatpak run --branch=stable --command=skype --file-forwarding com.skype.Client @@u %U @@"_s
            << QStringList{u"/usr/bin/flatpak"_s, u"run"_s, u"--branch=stable"_s, u"--command=skype"_s,
                           u"--file-forwarding"_s, u"com.skype.Client"_s};
        QTest::newRow("env prefix") << u"env VAR=x prog --y"_s
                                    << QStringList{u"env"_s, u"VAR=x"_s, u"prog"_s, u"--y"_s};
        QTest::newRow("unterminated quote") << u"chat \"open"_s << QStringList{};
        QTest::newRow("only a field code") << u"%U"_s << QStringList{};
        QTest::newRow("empty quoted program") << u"\"\" x"_s << QStringList{};
    }
    void execLines()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, command);
        QCOMPARE(DesktopEntry::splitExec(exec).value_or(QStringList{}), command);
    }

    void entryFileEscapesAndGroups()
    {
        const DesktopEntry entry = DesktopEntry::parse(
            "# comment\n[Other]\nExec=wrong\n[Desktop Entry]\nName=A\\sB\nExec=\"/x y/c\" \\\\s\nExec=second\n");
        QCOMPARE(entry.value(u"Name"_s), u"A B"_s);
        QCOMPARE(DesktopEntry::splitExec(entry.value(u"Exec"_s)).value_or(QStringList{}),
                 (QStringList{u"/x y/c"_s, u"\\s"_s}));
        QVERIFY(!DesktopEntry::read(u"/nonexistent.desktop"_s));
    }

    void lookup_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("program");   // file name of the program found
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("messages");
        using S = ChatClientLocation::Status;
        const Setup everything = [](FakeSystem &s) {
            s.settings.setValue(u"ChatClient/Path"_s, s.client(s.optBin + u"/chosen"_s));
            s.client(s.bin + u"/skypeforlinux"_s);
            s.desktopEntry(u"skypeforlinux.desktop"_s, s.client(s.optBin + u"/fromentry"_s) + u" --e"_s);
        };
        QTest::newRow("settings first") << everything << int(S::Found) << u"chosen"_s << QStringList{} << QStringList{};
        QTest::newRow("then PATH") << Setup([everything](FakeSystem &s) {
            everything(s);
            s.settings.remove(u"ChatClient/Path"_s);
        }) << int(S::Found) << u"skypeforlinux"_s << QStringList{} << QStringList{};
        QTest::newRow("then the desktop entry") << Setup([everything](FakeSystem &s) {
            everything(s);
            s.settings.remove(u"ChatClient/Path"_s);
            QFile::remove(s.bin + u"/skypeforlinux"_s);
        }) << int(S::Found) << u"fromentry"_s << QStringList{u"--e"_s} << QStringList{};
        QTest::newRow("flatpak entry, program on PATH") << Setup([](FakeSystem &s) {
            s.client(s.bin + u"/flatpak"_s);
            s.desktopEntry(u"com.skype.Client.desktop"_s, u"flatpak run com.skype.Client @@u %U @@"_s);
        }) << int(S::Found) << u"flatpak"_s << QStringList{u"run"_s, u"com.skype.Client"_s} << QStringList{};
        QTest::newRow("nothing") << Setup([](FakeSystem &) {}) << int(S::NotInstalled) << QString()
                                 << QStringList{} << QStringList{msg(ChatClientText::NotInstalled)};
        QTest::newRow("entry names a missing program") << Setup([](FakeSystem &s) {
            s.desktopEntry(u"skypeforlinux.desktop"_s, u"no-such-program %U"_s);
        }) << int(S::NotInstalled) << QString() << QStringList{} << QStringList{msg(ChatClientText::NotInstalled)};
        QTest::newRow("chosen but not executable") << Setup([](FakeSystem &s) {
            s.settings.setValue(u"ChatClient/Path"_s, s.client(s.optBin + u"/plain"_s, false));
        }) << int(S::NoRights) << u"plain"_s << QStringList{} << QStringList{msg(ChatClientText::NoRights)};
        QTest::newRow("entry program not executable") << Setup([](FakeSystem &s) {
            s.desktopEntry(u"skype_skypeforlinux.desktop"_s, s.client(s.optBin + u"/snap"_s, false));
        }) << int(S::NoRights) << u"snap"_s << QStringList{} << QStringList{msg(ChatClientText::NoRights)};
    }
    void lookup()
    {
        QFETCH(Setup, setup);
        QFETCH(int, status);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, messages);
        FakeSystem system;
        setup(system);
        const ChatClientLocation found = ChatClientLocator(system.settings).locate();
        QCOMPARE(int(found.status), status);
        QCOMPARE(QFileInfo(found.program).fileName(), program);
        QCOMPARE(found.arguments, arguments);
        QCOMPARE(found.messages, messages);
    }

    void registryMessages_data()
    {
        QTest::addColumn<QString>("user");    // "-": no key, "": key without value, else the path
        QTest::addColumn<QString>("machine");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messages");
        using S = ChatClientLocation::Status;
        const QString open = msg(ChatClientText::KeyOpenFailed), query = msg(ChatClientText::QueryFailed);
        QTest::newRow("both hives: the user's, silently") << u"C:\\u.exe"_s << u"C:\\m.exe"_s << int(S::Found) << QStringList{};
        QTest::newRow("machine only") << u"-"_s << u"C:\\m.exe"_s << int(S::NoRights)
                                      << QStringList{open, u"C:\\m.exe"_s, msg(ChatClientText::NoRights)};
        QTest::newRow("no keys") << u"-"_s << u"-"_s << int(S::NotInstalled)
                                 << QStringList{open, open, msg(ChatClientText::NotInstalled)};
        QTest::newRow("keys without value") << u""_s << u""_s << int(S::NotInstalled)
                                            << QStringList{query, query, msg(ChatClientText::NotInstalled)};
    }
    void registryMessages()
    {
        QFETCH(QString, user);
        QFETCH(QString, machine);
        QFETCH(int, status);
        QFETCH(QStringList, messages);
        const ChatClientLocation found = ChatClientLocator::locateInRegistry(
            [&](bool localMachine, bool *opened) -> std::optional<QString> {
                const QString value = localMachine ? machine : user;
                *opened = value != u"-"_s;
                return value.isEmpty() || value == u"-"_s ? std::nullopt : std::optional<QString>(value);
            });
        QCOMPARE(int(found.status), status);
        QCOMPARE(found.messages, messages);
        if (status == int(ChatClientLocation::Status::Found))
            QCOMPARE(found.program, user);
    }

    void launchStartsWithoutWaiting()
    {
        FakeSystem system;
        system.desktopEntry(u"skypeforlinux.desktop"_s,
                            u"\""_s + system.client(system.optBin + u"/my client"_s, true, "/bin/sh", "/bin/sleep 0.5")
                                + u"\" \"first arg\" %U"_s);
        system.settings.setValue(u"ChatClient/Arguments"_s, QStringList{u"--tray"_s, u"a b  c"_s});
        ChatClientLauncher launcher(system.settings);
        QSignalSpy messages(&launcher, &ChatClientLauncher::messageRequested);
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(10);
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start();
        QVERIFY(launcher.launch());
        const int ticksAtReturn = ticks;
        QCOMPARE(system.received(), QStringList{u"<none>"_s}); // returned while the client runs
        QTRY_COMPARE(system.received(), (QStringList{u"first arg"_s, u"--tray"_s, u"a b  c"_s}));
        QVERIFY(ticks > ticksAtReturn); // the event loop ran while the client started
        QCOMPARE(messages.count(), 0);
        QVERIFY(!launcher.isClosePending()); // nothing may close another program's window here
    }

    void userArgumentsAsOneText()
    {
        FakeSystem system;
        system.settings.setValue(u"ChatClient/Arguments"_s, u"--a \"b c\""_s);
        QCOMPARE(ChatClientLocator(system.settings).userArguments(), (QStringList{u"--a"_s, u"b c"_s}));
    }

    void launchFailures_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("missing"); // clientMissing emitted
        QTest::newRow("not installed") << Setup([](FakeSystem &) {}) << QStringList{} << 1;
        QTest::newRow("no rights") << Setup([](FakeSystem &s) { s.client(s.bin + u"/x"_s);
            s.settings.setValue(u"ChatClient/Path"_s, s.client(s.optBin + u"/x"_s, false)); })
            << QStringList{msg(ChatClientText::NoRights)} << 0;
        QTest::newRow("start fails") << Setup([](FakeSystem &s) {
            s.settings.setValue(u"ChatClient/Path"_s, s.client(s.optBin + u"/x"_s, true, "/no/such/interpreter"));
        }) << QStringList{msg(ChatClientText::StartFailed)} << 0;
    }
    void launchFailures()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, messages);
        QFETCH(int, missing);
        FakeSystem system;
        setup(system);
        ChatClientLauncher launcher(system.settings);
        QSignalSpy shown(&launcher, &ChatClientLauncher::messageRequested);
        QSignalSpy notFound(&launcher, &ChatClientLauncher::clientMissing);
        QVERIFY(!launcher.launch());
        QStringList texts;
        for (const QList<QVariant> &call : shown)
            texts << call.value(0).toString();
        QCOMPARE(texts, messages);
        QCOMPARE(notFound.count(), missing);
        if (missing)
            QCOMPARE(notFound.value(0).value(0).toString(), msg(ChatClientText::NotInstalled));
    }
};

QTEST_GUILESS_MAIN(TestChatClient)
#include "test_chatclient.moc"
