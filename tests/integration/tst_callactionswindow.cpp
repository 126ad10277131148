// SPDX-License-Identifier: GPL-3.0-or-later
// The "來電動作" window as the user reaches and uses it: from the tray menu and the 設置
// folder, a refused template with its reason, saving for the data folder, and "試用".
#include "../app/PhoneFixture.h"

#include "app/CallActionsWindow.h"
#include "app/CallHistoryHookup.h"
#include "app/DesktopIntegration.h"
#include "app/FolderCommand.h"
#include "app/PhoneTray.h"
#include "history/CallHistoryRecorder.h"
#include "ui/FolderBar.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace dpx;

class TestCallActionsWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void reachedFromTrayAndSettingsFolder()
    {
        Phone phone(false);
        CallHistoryRecorder history(phone.db.get());
        DesktopIntegration integration(history.tracker(), *phone.window, phone.data.path());
        ToolWindows &tools = phone.window->toolWindows();

        phone.window->tray().callActionsAction()->trigger();
        QVERIFY(tools.windowAs<CallActionsWindow>(ToolWindow::CallActions));
        QCOMPARE(tools.window(ToolWindow::CallActions)->windowTitle(), QStringLiteral("來電動作"));
        tools.close(ToolWindow::CallActions);
        QVERIFY(!tools.isOpen(ToolWindow::CallActions));

        // The 設置 folder holds an item that carries this tool.
        CGfxOutBarCtrl &bar = *phone.window->folderBar();
        int settings = -1, item = -1;
        for (int f = 0; f < bar.folderCount() && item < 0; ++f) {
            if (FolderKind(bar.folderUserValue(f)) != FolderKind::Settings)
                continue;
            settings = f;
            for (int i = 0; i < bar.itemCount(f); ++i)
                if (Tool(bar.itemUserValue(f, i)) == Tool::CallActions)
                    item = i;
        }
        QVERIFY(settings >= 0 && item >= 0);
        bar.SelectFolder(settings);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.layoutGeometry().iconRect(item).center());
        QTRY_VERIFY(tools.isOpen(ToolWindow::CallActions));
    }

    void savesForTheDataFolderAndTries()
    {
        Phone phone(false);
        CallHistoryRecorder history(phone.db.get());
        DesktopIntegration integration(history.tracker(), *phone.window, phone.data.path());
        const QString record = phone.root.filePath(QStringLiteral("record"));
        integration.actions().setRecordFile(record);
        phone.window->toolWindows().open(ToolWindow::CallActions);
        auto *view = phone.window->toolWindows().windowAs<CallActionsWindow>(ToolWindow::CallActions);
        QVERIFY(view);

        view->templateEdit(0)->setText(QStringLiteral("https://crm.example.com/search?phone={digits}"));
        view->whenBox(1)->setCurrentIndex(int(ActionWhen::Missed));
        view->kindBox(1)->setCurrentIndex(int(ActionKind::Program));
        view->templateEdit(1)->setText(QStringLiteral("{name} --now"));
        view->templateEdit(2)->setText(QStringLiteral("javascript:alert(1)"));
        QVERIFY(!view->save());
        QVERIFY(view->rowProblem(0).isEmpty());
        QVERIFY(view->rowProblem(1).contains(QStringLiteral("placeholder")));
        QVERIFY(view->rowProblem(2).contains(QStringLiteral("https:")));
        QVERIFY(CallActionStore(phone.data.path()).load().isEmpty());

        view->templateEdit(1)->setText(QStringLiteral("notify-send 未接 {number} {name}"));
        view->templateEdit(2)->clear();
        QVERIFY(view->save());
        QVERIFY(view->rowProblem(1).isEmpty());
        const QList<CallAction> stored{
            {ActionWhen::Ring, ActionKind::Url, QStringLiteral("https://crm.example.com/search?phone={digits}")},
            {ActionWhen::Missed, ActionKind::Program, QStringLiteral("notify-send 未接 {number} {name}")}};
        QCOMPARE(CallActionStore(phone.data.path()).load(), stored);
        QCOMPARE(integration.actions().actions(), stored);

        // 試用 runs the row once with the sample caller; an empty row says why it does nothing.
        QVERIFY(!view->tryRow(3));
        QVERIFY(view->rowProblem(3).contains(QStringLiteral("empty")));
        QTest::mouseClick(view->tryButton(0), Qt::LeftButton);
        QCOMPARE(test::fileBytes(record),
                 QByteArray("{\"kind\":\"url\",\"url\":\"https://crm.example.com/search?phone=0223456789\","
                            "\"when\":\"ring\"}\n"));
        QCOMPARE(integration.actions().actionsTaken(), 1);

        // The window shows what is stored when it opens again.
        phone.window->toolWindows().close(ToolWindow::CallActions);
        QTRY_VERIFY(!phone.window->toolWindows().isOpen(ToolWindow::CallActions));
        phone.window->toolWindows().open(ToolWindow::CallActions);
        auto *again = phone.window->toolWindows().windowAs<CallActionsWindow>(ToolWindow::CallActions);
        QVERIFY(again);
        QCOMPARE(again->templateEdit(1)->text(), stored[1].templateText);
        QCOMPARE(again->whenBox(1)->currentIndex(), int(ActionWhen::Missed));
    }
};

QTEST_MAIN(TestCallActionsWindow)
#include "tst_callactionswindow.moc"
