// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/AddressDatabase.h"
#include "app/DataFolder.h"
#include "app/MainPhoneWindow.h"
#include "app/CallerPopup.h"
#include "app/LcdPanel.h"
#include "app/PhoneBookTree.h"
#include "app/PhoneTray.h"
#include "app/SimEepromFile.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"
#include "transfer/TransferPlans.h"
#include "ui/Art.h"
#include "ui/FolderBar.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QAction>
#include "ui/GifAnimation.h"

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
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
    void transferTextsStayWhileItRuns();
    void closingTheTransferWindowBringsBackTheClock();
    void trayMenuEntries();
    void escapeAndEnterDoNotClose();
    void lampsAndKeyImagesFollowTheTelephone();
    void displayExplainsAMissingOrLockedBox();
    void longLine2IsDrawnOnce_data();
    void longLine2IsDrawnOnce();
    void settingsRowSetsTheFlags();
    void unreadableAddressBookIsSaid();
    void folderItemsOpenTheirOwnTool();
    void hidingAndFadingIn();
    void closeFromTheWindowManagerEndsWithoutATray();
    void oneMessageBoxPerText();
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

// A transfer's text stays on the line while it runs (here a long erase), and the line is
// free again when it has ended.
void MainWindowTest::transferTextsStayWhileItRuns()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QString error;
    QVERIFY2(SimEepromFile::load(phone.box, phone.root.filePath(QStringLiteral("new.img")), phone.data.path(), &error),
             qPrintable(error));
    phone.box.setEraseTimeMs(MainPhoneWindow::StatusTimerMs + 1000);
    const PlanOrRefusal plan = TransferPlans::slots({{phone.data.path() + QStringLiteral("/L01.raw"), 2, {}}}, false);
    QVERIFY(plan.plan);
    QVERIFY(phone.transfer->start(*plan.plan));
    QTRY_VERIFY(w.statusText().endsWith(QStringLiteral("擦除EEPROM...")));
    QTest::qWait(MainPhoneWindow::StatusTimerMs + 300);
    QVERIFY2(w.statusText().endsWith(QStringLiteral("擦除EEPROM...")), qPrintable(w.statusText()));
    phone.transfer->cancel();
    QVERIFY(phone.transfer->waitForIdle(5000));
    QVERIFY(!w.isTransferRunning());
    w.ShowStatusText(QStringLiteral("音檔傳輸..."));
    QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), QString(), MainPhoneWindow::StatusTimerMs + 1000);
}

// The transfer window leaves the display to the clock when it closes while the box is here.
void MainWindowTest::closingTheTransferWindowBringsBackTheClock()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(w.mirror().clockShown());
    phone.box.telephone().showText(1, QStringLiteral("LINE 1"));
    QTRY_VERIFY(!w.mirror().clockShown());
    ToolWindows::registerFactory(ToolWindow::Transfer, [](const AppServices &) { return new QWidget; });
    QWidget *transfer = w.toolWindows().open(ToolWindow::Transfer);
    QVERIFY(transfer && w.isTransferWindowOpen());
    transfer->close();
    QTRY_VERIFY(!w.isTransferWindowOpen());
    QTRY_VERIFY(w.mirror().clockShown());
    ToolWindows::registerFactory(ToolWindow::Transfer, nullptr);
}

void MainWindowTest::trayMenuEntries()
{
    Phone phone(false);
    QMenu *menu = phone.window->tray().menu();
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{QStringLiteral("檔轉換..."), QStringLiteral("檔傳輸..."),
                                 QStringLiteral("通訊簿"), QStringLiteral("通話記錄"),
                                 QStringLiteral("來電動作"), QStringLiteral("-"), QStringLiteral("語言 / Language"),
                                 QStringLiteral("-"), QStringLiteral("Exit")}));
    // A tool entry asks for its tool as the folder bar does.
    phone.window->tray().toolActions().at(1)->trigger();
    QVERIFY(phone.window->statusText().startsWith(QStringLiteral("音檔傳輸")));
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

void MainWindowTest::lampsAndKeyImagesFollowTheTelephone()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
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

void MainWindowTest::displayExplainsAMissingOrLockedBox()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    const QImage blank = LcdPanel().canvas().toImage();
    const QImage noBox = w.lcd().canvas().toImage();
    QVERIFY2(noBox != blank, "the display stays blank without a box");

    // Found but not to be opened: said on the status line, in one message and on the display;
    // the note stays on the free status line while the link retries.
    phone.box.setOpenRefused(true);
    phone.box.plug();
    QTRY_VERIFY(w.statusText().contains(QStringLiteral("udev")));
    QVERIFY(w.lastMessage().contains(QStringLiteral("udev")));
    const QImage locked = w.lcd().canvas().toImage();
    QVERIFY(locked != noBox && locked != blank);
    QTest::qWait(MainPhoneWindow::StatusTimerMs + 300);
    QVERIFY(w.statusText().contains(QStringLiteral("udev")));
    w.showMessage(QString());
    QTRY_VERIFY_WITH_TIMEOUT(phone.link->failedOpens() >= 2, 3000);
    QCOMPARE(w.lastMessage(), QString()); // told once

    phone.box.setOpenRefused(false);
    Q_EMIT phone.box.devicesChanged();
    QTRY_COMPARE(w.statusText(), QStringLiteral("Device has Detected!"));
    QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), QString(), 3000);
    QVERIFY(w.mirror().clockShown());
}

void MainWindowTest::longLine2IsDrawnOnce_data()
{
    QTest::addColumn<QString>("line2");
    QTest::addColumn<bool>("whole");
    QTest::newRow("long number") << QStringLiteral("0223456789012345") << true;
    QTest::newRow("dialled digits") << QStringLiteral("#302234567890123") << true;
    QTest::newRow("prefix, then number") << QStringLiteral("#3 0223456") << false;
    QTest::newRow("soft-key words") << QStringLiteral("DND   CFW   MSG") << false;
}

void MainWindowTest::longLine2IsDrawnOnce()
{
    QFETCH(QString, line2);
    QFETCH(bool, whole);
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.telephone().showText(1, QStringLiteral("LINE 1"));
    phone.box.telephone().showText(2, line2);
    QTRY_COMPARE(w.mirror().displayedLine2().trimmed(), line2);

    const Line1Drawing line1 = w.mirror().line1Drawing();
    LcdPanel asOneText, asWords;
    asOneText.showLinesWhole(line1.text, line1.cursorIndex, 0, w.mirror().displayedLine2());
    asWords.showLines(line1.text, line1.cursorIndex, 0, w.mirror().softKeyWords().toList());
    const QImage drawn = w.lcd().canvas().toImage();
    QCOMPARE(drawn == asOneText.canvas().toImage(), whole);
    QCOMPARE(drawn == asWords.canvas().toImage(), !whole);
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

void MainWindowTest::unreadableAddressBookIsSaid()
{
    QTemporaryDir root;
    const QString garbage = root.filePath(QStringLiteral("Address.db"));
    QVERIFY(test::writeFile(garbage, QByteArray(4096, 'x')));
    AddressDatabase db(garbage, QStringLiteral("corrupt-test"));
    PhoneServices services;
    services.database = &db;
    services.databaseProblem = QStringLiteral("通訊簿資料庫無法開啟");
    MainPhoneWindow w(services);
    w.show();
    QCOMPARE(w.statusText(), services.databaseProblem);
    QTRY_COMPARE(w.lastMessage(), services.databaseProblem);
    // Another text comes and goes; the problem comes back on the free line.
    w.ShowStatusText(QStringLiteral("Device has Detected!"));
    QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), services.databaseProblem, 3000);
    w.FillPhoneBookTree();
    QCOMPARE(w.phoneBookTree()->topLevelItemCount(), 1);
    QCOMPARE(w.phoneBookTree()->topLevelItem(0)->text(0), QStringLiteral("無法開啟通訊簿"));
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
    QSignalSpy levels(&w, &MainPhoneWindow::fadeLevelChanged);
    QElapsedTimer clock;
    clock.start();
    w.fadeIn();
    QVERIFY(w.isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(w.fadeLevel(), 100, 5000);
    // Every step of 20 %, one per timer tick, none skipped (however busy the machine).
    QList<int> seen;
    for (const QList<QVariant> &level : std::as_const(levels))
        seen << level.first().toInt();
    QCOMPARE(seen, (QList<int>{0, 20, 40, 60, 80, 100}));
    QVERIFY(clock.elapsed() >= 4 * MainPhoneWindow::FadeStepMs);
}

void MainWindowTest::closeFromTheWindowManagerEndsWithoutATray()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.sendEvent({{0x90, 0x02}});
    QTRY_VERIFY(w.isCallerAlertPending());
    QSignalSpy exit(&w, &MainPhoneWindow::exitRequested);
    // Offscreen there is no notification area: a close that is not ours ends the program
    // instead of leaving it running with no window and no icon.
    QVERIFY(!w.tray().available());
    QVERIFY(w.close());
    QTRY_COMPARE(exit.size(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.tray().isAlerting());
    QVERIFY(!w.callerPopup().isShown());
}

void MainWindowTest::oneMessageBoxPerText()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    for (int i = 0; i < 3; ++i) {
        w.PressKey(18); // no box
        w.showMessage(QStringLiteral("找不到鈴聲文件!"));
    }
    QCOMPARE(w.openMessageCount(), 2);
    const auto boxes = w.findChildren<QMessageBox *>();
    QCOMPARE(boxes.size(), 2);
    boxes.first()->close();
    QTRY_COMPARE(w.openMessageCount(), 1);
    w.showMessage(boxes.last()->text());
    QCOMPARE(w.openMessageCount(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
