// SPDX-License-Identifier: GPL-3.0-or-later
// The tool-window owner (one window per kind, raised on a second request, docked, closed at the
// end) and the script commands that open and photograph tool windows.
#include "app/ScriptRunner.h"
#include "app/SimScript.h"
#include "app/ToolWindows.h"

#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

#include "PhoneFixture.h"

namespace {

int g_made = 0;

// A plain window standing in for a module's tool window.
QWidget *makeProbe(const AppServices &services)
{
    ++g_made;
    auto *window = new QWidget(services.mainWindow, Qt::Window);
    window->resize(120, 80);
    window->setProperty("contactName", QStringLiteral("Probe"));
    return window;
}

int runScript(Phone &phone, const QString &text)
{
    ScriptRunner runner(*phone.window, phone.box);
    QSignalSpy finished(&runner, &ScriptRunner::finished);
    if (!runner.startText(text))
        return -1;
    if (!finished.wait(10000))
        return -2;
    return finished.at(0).at(0).toInt();
}

} // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { g_made = 0; }
    void namesRoundTrip();
    void oneWindowPerKind();
    void dockedWindowFollowsTheMainWindow();
    void missingWindowIsNotOpened();
    void closedAtTheEnd();
    void scriptParsing_data();
    void scriptParsing();
    void scriptOpensAndPhotographs();
};

void ToolWindowsTest::namesRoundTrip()
{
    for (int i = 0; i < ToolWindowCount; ++i)
        QCOMPARE(toolWindowFromName(toolWindowName(ToolWindow(i))), ToolWindow(i));
    QCOMPARE(toolWindowFromName(u"PhoneBook"), ToolWindow::PhoneBook);
    QVERIFY(!toolWindowFromName(u"phone book"));
}

void ToolWindowsTest::oneWindowPerKind()
{
    Phone phone;
    ToolWindows::registerFactory(ToolWindow::History, makeProbe);
    ToolWindows &tools = phone.window->toolWindows();
    QSignalSpy opened(&tools, &ToolWindows::opened);
    QWidget *first = tools.open(ToolWindow::History);
    QVERIFY(first && first->isVisible());
    QCOMPARE(tools.open(ToolWindow::History), first);
    QCOMPARE(g_made, 1);
    QCOMPARE(opened.size(), 1);

    first->close(); // as the user closes it: gone at once, a new one on the next request
    QVERIFY(!tools.isOpen(ToolWindow::History));
    QWidget *second = tools.open(ToolWindow::History);
    QVERIFY(second && second->isVisible());
    QCOMPARE(g_made, 2);
    QTRY_VERIFY(tools.window(ToolWindow::History) == second);
}

void ToolWindowsTest::dockedWindowFollowsTheMainWindow()
{
    Phone phone;
    ToolWindows::registerFactory(ToolWindow::Converter, makeProbe, QPoint(501, 30));
    QWidget *window = phone.window->toolWindows().open(ToolWindow::Converter);
    QVERIFY(window);
    QCOMPARE(window->pos(), phone.window->pos() + QPoint(501, 30));
    phone.window->move(phone.window->pos() + QPoint(7, 9));
    QCOMPARE(window->pos(), phone.window->pos() + QPoint(501, 30));
}

void ToolWindowsTest::missingWindowIsNotOpened()
{
    Phone phone;
    ToolWindows::registerFactory(ToolWindow::SkinMenu, nullptr);
    QVERIFY(!ToolWindows::hasFactory(ToolWindow::SkinMenu));
    QVERIFY(!phone.window->toolWindows().open(ToolWindow::SkinMenu));
    ToolWindows::registerFactory(ToolWindow::SkinMenu, [](const AppServices &) { return nullptr; });
    QVERIFY(!phone.window->toolWindows().open(ToolWindow::SkinMenu));
}

void ToolWindowsTest::closedAtTheEnd()
{
    Phone phone;
    ToolWindows::registerFactory(ToolWindow::History, makeProbe);
    QPointer<QWidget> window = phone.window->toolWindows().open(ToolWindow::History);
    QVERIFY(window);
    phone.window->close();
    QVERIFY(!window);
}

void ToolWindowsTest::scriptParsing_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind"); // -1: refused
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("text");
    QTest::newRow("open") << "open phonebook" << int(ScriptCommand::OpenWindow)
                          << int(ToolWindow::PhoneBook) << QString();
    QTest::newRow("open skin menu") << "open skin-menu" << int(ScriptCommand::OpenWindow)
                                    << int(ToolWindow::SkinMenu) << QString();
    QTest::newRow("screenshot") << "screenshot-window card \"/tmp/a b.png\""
                                << int(ScriptCommand::ScreenshotWindow)
                                << int(ToolWindow::CallerCard) << QStringLiteral("/tmp/a b.png");
    QTest::newRow("expect card") << "expect card 陳美玲" << int(ScriptCommand::ExpectCard) << 0
                                 << QStringLiteral("陳美玲");
    QTest::newRow("unknown window") << "open phone-book" << -1 << 0 << QString();
    QTest::newRow("open without name") << "open" << -1 << 0 << QString();
    QTest::newRow("screenshot without file") << "screenshot-window editor" << -1 << 0 << QString();
}

void ToolWindowsTest::scriptParsing()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(int, window);
    QFETCH(QString, text);
    const ParsedScript script = parseSimScript(line);
    if (kind < 0) {
        QVERIFY(!script.error.isEmpty());
        return;
    }
    QVERIFY2(script.error.isEmpty(), qPrintable(script.error));
    const ScriptCommand &command = script.commands.at(0);
    QCOMPARE(int(command.kind), kind);
    if (kind != ScriptCommand::ExpectCard)
        QCOMPARE(command.numbers.value(0), window);
    QCOMPARE(command.text, text);
}

void ToolWindowsTest::scriptOpensAndPhotographs()
{
    Phone phone;
    ToolWindows::registerFactory(ToolWindow::History, makeProbe);
    ToolWindows::registerFactory(ToolWindow::CallerCard, makeProbe);
    ToolWindows::registerFactory(ToolWindow::Settings, nullptr);
    const QString shot = phone.root.filePath(QStringLiteral("history.png"));
    QCOMPARE(runScript(phone, QStringLiteral("expect card none\nopen history\nscreenshot-window history \"%1\"\n"
                                             "open card\nexpect card Probe\n").arg(shot)), 0);
    QCOMPARE(QImage(shot).size(), QSize(120, 80));
    QCOMPARE(g_made, 2);
    QCOMPARE(runScript(phone, QStringLiteral("open settings\n")), 1); // not part of this build
}

QTEST_MAIN(ToolWindowsTest)
#include "test_toolwindows.moc"
