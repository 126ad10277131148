// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/AddressDatabase.h"
#include "app/DataFolder.h"
#include "app/MainPhoneWindow.h"
#include "app/PhoneTray.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"
#include "ui/Art.h"
#include "ui/FolderBar.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QAction>
#include "ui/GifAnimation.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTest>

using namespace dpx;

#include "PhoneFixture.h"

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowIsPhoneShaped();
    void statusTextClearsUnlessRecording();
    void trayMenuEntries();
    void escapeAndEnterDoNotClose();
    void boxArrivalAndRemoval();
    void displayAndLampsFollowTheTelephone();
    void settingsRowSetsTheFlags();
    void toolWindowsStayDocked();
    void folderItemsOpenTheirOwnTool();
    void hidingAndFadingIn();
};

void MainWindowTest::windowIsPhoneShaped()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QCOMPARE(w.size(), QSize(MainWindowWidth, MainWindowHeight));
    QCOMPARE(w.pos(), QPoint(0, 0));
    const QRegion shape = w.mask();
    QVERIFY(!shape.isEmpty());
    // The key colour of the background is cut away, the body stays.
    const QImage background = artPixmap(QStringLiteral("133")).toImage();
    int outside = 0;
    for (int y = 0; y < background.height(); y += 7) {
        for (int x = 0; x < background.width(); x += 7) {
            const bool key = background.pixel(x, y) == qRgb(0, 108, 255);
            if (shape.contains(QPoint(x, y)) == key)
                QFAIL(qPrintable(QStringLiteral("shape wrong at %1,%2").arg(x).arg(y)));
            outside += key;
        }
    }
    QVERIFY2(outside > 0, "the background has no area outside the telephone");
    QVERIFY(shape.contains(QPoint(MainWindowWidth / 2, MainWindowHeight / 2)));
}

void MainWindowTest::statusTextClearsUnlessRecording()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    w.ShowStatusText(QStringLiteral("音檔轉換..."));
    QCOMPARE(w.statusText(), QStringLiteral("音檔轉換..."));
    QTest::qWait(MainPhoneWindow::StatusTimerMs - 400);
    QCOMPARE(w.statusText(), QStringLiteral("音檔轉換..."));
    QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), QString(), 1500);

    w.setRecording(true);
    w.ShowStatusText(QStringLiteral("Recording"));
    QTest::qWait(MainPhoneWindow::StatusTimerMs * 2 + 200);
    QCOMPARE(w.statusText(), QStringLiteral("Recording"));
    w.setRecording(false);
    QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), QString(), 2000);
}

void MainWindowTest::trayMenuEntries()
{
    Phone phone(false);
    QMenu *menu = phone.window->tray().menu();
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{QStringLiteral("檔轉換..."), QStringLiteral("檔傳輸..."),
                                 QStringLiteral("通訊簿"), QStringLiteral("-"),
                                 QStringLiteral("Exit")}));
    QVERIFY(phone.window->tray().exitAction()->isEnabled());

    QSignalSpy exit(phone.window.get(), &MainPhoneWindow::exitRequested);
    phone.window->tray().exitAction()->trigger();
    QCOMPARE(exit.size(), 1);
    QVERIFY(!phone.window->isVisible());
}

void MainWindowTest::escapeAndEnterDoNotClose()
{
    Phone phone(false);
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(phone.window.get(), Qt::Key(key));
        QVERIFY(phone.window->isVisible());
    }
}

void MainWindowTest::boxArrivalAndRemoval()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    QVERIFY(!w.isBoxPresent());
    phone.box.plug();
    QTRY_COMPARE(w.statusText(), QStringLiteral("Device has Detected!"));
    QVERIFY(w.isBoxPresent());
    QTRY_VERIFY(phone.listening->size() > 0);

    phone.box.telephone().showText(2, QStringLiteral("HELLO"));
    QTRY_COMPARE(w.mirror().displayedLine2(), QStringLiteral("HELLO           "));

    phone.box.unplug();
    QTRY_COMPARE(w.statusText(), QStringLiteral("Device has Disconnected!"));
    QVERIFY(!w.isBoxPresent());
    QCOMPARE(w.mirror().displayedLine1(), QString(16, QLatin1Char(' ')));
    QCOMPARE(w.mirror().displayedLine2(), QString(16, QLatin1Char(' ')));
    QTRY_VERIFY(!phone.link->isReaderRunning());

    // Back again: found once more, the reader runs again.
    phone.box.plug();
    QTRY_COMPARE(w.statusText(), QStringLiteral("Device has Detected!"));
    QTRY_VERIFY(phone.link->isReaderRunning());
}

void MainWindowTest::displayAndLampsFollowTheTelephone()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.sendEvent({{0x24, 0x41}, {0x34, 0x42}});
    QTRY_COMPARE(w.mirror().displayedLine1().mid(4, 1), QStringLiteral("A"));
    QTRY_COMPARE(w.mirror().displayedLine2(), QStringLiteral("    B           "));

    // Key 3 lit red and steady: its lamp and its key images change; off restores them.
    const ControlPlace *key3 = findKey(36);
    QVERIFY(key3);
    QVERIFY(w.lamp(3));
    QCOMPARE(w.lampImage(3), 418); // off
    phone.box.sendEvent({{0x04, 3}});
    QTRY_COMPARE(w.keyButton(key3->id)->normalImageName(), QStringLiteral("543"));
    QCOMPARE(w.lampImage(3), 484); // red steady
    QVERIFY(w.lamp(3)->isLoaded());
    phone.box.sendEvent({{0x0B, 32}}); // the large indicator flashes green
    QTRY_COMPARE(w.lampImage(32), 494);
    QVERIFY(w.lamp(32)->isPlaying() && w.lamp(32)->frameCount() == 2);
    phone.box.sendEvent({{0x00, 3}});
    QTRY_COMPARE(w.keyButton(key3->id)->normalImageName(), QStringLiteral("331"));
    QCOMPARE(w.lampImage(3), 418);
}

void MainWindowTest::settingsRowSetsTheFlags()
{
    Phone phone(false);
    QVERIFY(phone.window->isDxPhone());
    QVERIFY(phone.window->showsCallerCard());
    QVERIFY(phone.db->updatePhoneType(PhoneType::SD));
    QVERIFY(phone.db->updateShowCallerCard(false));
    PhoneServices services;
    services.database = phone.db.get();
    MainPhoneWindow again(services);
    QVERIFY(!again.isDxPhone());
    QVERIFY(!again.showsCallerCard());
}

void MainWindowTest::toolWindowsStayDocked()
{
    Phone phone(false);
    QWidget converter(nullptr, Qt::Tool), transfer(nullptr, Qt::Tool);
    phone.window->dockToolWindow(&converter, QPoint(501, 30));
    phone.window->dockToolWindow(&transfer, QPoint(501, 313));
    phone.window->move(40, 70);
    QCOMPARE(converter.pos(), QPoint(541, 100));
    QCOMPARE(transfer.pos(), QPoint(541, 383));
}

void MainWindowTest::folderItemsOpenTheirOwnTool()
{
    Phone phone(false);
    CGfxOutBarCtrl &bar = *phone.window->folderBar();
    const auto clickItem = [&bar](int item) {
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.layoutGeometry().iconRect(item).center());
    };
    QWidget *settingsWindow = nullptr;
    ToolWindows::registerFactory(ToolWindow::Settings, [&](const AppServices &) {
        return settingsWindow = new QWidget;
    });

    // The user removed the converter: the first item is now the transfer, and says so.
    bar.SelectFolder(0);
    bar.DeleteFolderItem(0);
    clickItem(0);
    QTRY_VERIFY(phone.window->statusText().startsWith(QStringLiteral("音檔傳輸")));
    // A tool that is not built yet stops flashing at once.
    QCOMPARE(bar.selectedItem(), -1);

    // The settings item dragged into the tools folder still opens the settings window, which
    // keeps its item flashing until it closes.
    bar.SelectFolder(2);
    const quint32 settingsValue = bar.itemUserValue(2, 0);
    bar.DeleteFolderItem(0);
    bar.SelectFolder(0);
    bar.InsertFolderItem(0, 0, QStringLiteral("話機配置"), 5, settingsValue);
    clickItem(0);
    QTRY_VERIFY(settingsWindow && settingsWindow->isVisible());
    QCOMPARE(phone.window->toolWindows().window(ToolWindow::Settings), settingsWindow);
    QCOMPARE(bar.selectedItem(), 0);
    settingsWindow->close();
    QTRY_COMPARE(bar.selectedItem(), -1);
    ToolWindows::registerFactory(ToolWindow::Settings, nullptr);
}

void MainWindowTest::hidingAndFadingIn()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    // Offscreen there is no notification area: hiding minimises, so the window stays reachable.
    QVERIFY(!w.tray().available());
    w.hideToTray();
    QVERIFY(w.isMinimized() || w.isVisible());
    w.hide();
    w.fadeIn();
    QVERIFY(w.isVisible());
    QCOMPARE(w.fadeLevel(), 0);
    QList<int> levels;
    QElapsedTimer clock;
    clock.start();
    while (w.fadeLevel() < 100 && clock.elapsed() < 3000) {
        QTest::qWait(20);
        if (levels.isEmpty() || levels.last() != w.fadeLevel())
            levels << w.fadeLevel();
    }
    // Five steps of 20 %, one per 200 ms (a busy machine may hide a step from the sampling).
    QCOMPARE(levels.first(), 0);
    QCOMPARE(levels.last(), 100);
    for (int i = 1; i < levels.size(); ++i)
        QVERIFY(levels[i] > levels[i - 1] && levels[i] % 20 == 0);
    QVERIFY(clock.elapsed() >= 4 * MainPhoneWindow::FadeStepMs);
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
