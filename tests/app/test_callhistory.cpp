// SPDX-License-Identifier: GPL-3.0-or-later
// The call history through the simulated telephone and the real windows, offscreen.
#include "PhoneFixture.h"

#include "../addressbook/AddressTestSupport.h"
#include "addressbook/ContactEditor.h"
#include "app/CallHistoryHookup.h"
#include "app/FolderCommand.h"
#include "app/PhoneTray.h"
#include "history/CallHistoryRecorder.h"
#include "history/CallHistoryWindow.h"
#include "sim/SimTelephone.h"
#include "ui/FolderBar.h"

#include <QAction>
#include <QLineEdit>
#include <QTableView>

using namespace dpx;

namespace {

struct HistoryPhone : Phone {
    std::unique_ptr<CallHistoryRecorder> recorder;
    CallHistoryRecorder &history;
    explicit HistoryPhone(AddressDatabase *database = nullptr)
        : recorder(std::make_unique<CallHistoryRecorder>(database ? database : db.get())),
          history(*recorder)
    {
        connectCallHistory(history, *window);
    }
    SimTelephone &telephone() { return box.telephone(); }
    void missedCall(const QString &number)
    {
        QTRY_VERIFY(listening->size() > 0);
        const int before = history.missedCount();
        telephone().ring(true, number);
        QTRY_COMPARE(history.tracker().currentCall().number, number);
        telephone().hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(history.missedCount() == before + 1, CallTracker::AnswerGraceMs + 3000);
    }
};

} // namespace

class CallHistoryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missedCallShowsOnTheIconUntilTheHistoryIsOpened()
    {
        HistoryPhone phone;
        QVERIFY(phone.db->insertContact(contact(QStringLiteral("陳小姐"), QStringLiteral("0912-345-678"))));
        PhoneTray &tray = phone.window->tray();
        const QImage plain = applicationIcon().pixmap(32).toImage();

        phone.missedCall(QStringLiteral("0912345678"));
        phone.missedCall(QStringLiteral("0287654321"));
        QCOMPARE(tray.toolTip(), QStringLiteral("2 通未接來電"));
        QVERIFY(tray.currentIcon().pixmap(32).toImage() != plain); // the badge is drawn

        auto *view = qobject_cast<CallHistoryWindow *>(phone.window->toolWindows().open(ToolWindow::History));
        QVERIFY(view && view->isVisible());
        QCOMPARE(phone.history.missedCount(), 0);
        QCOMPARE(tray.toolTip(), phone.window->windowTitle());
        QCOMPARE(tray.currentIcon().pixmap(32).toImage(), plain);
        QCOMPARE(view->model().rowCount(), 2);
        QCOMPARE(view->model().shownName(1), QStringLiteral("陳小姐")); // found when it rang

        // A call kept while the window is open shows at once.
        phone.missedCall(QStringLiteral("203"));
        QTRY_COMPARE(view->model().rowCount(), 3);
    }

    void folderItemAndTrayMenuOpenTheHistory()
    {
        HistoryPhone phone;
        CGfxOutBarCtrl &bar = *phone.window->folderBar();
        int item = -1;
        for (int i = 0; i < bar.itemCount(0); ++i)
            if (Tool(bar.itemUserValue(0, i)) == Tool::CallHistory)
                item = i;
        QVERIFY(item >= 0);
        QCOMPARE(bar.itemText(0, item), QStringLiteral("通話記錄"));
        bar.SelectFolder(0);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.layoutGeometry().iconRect(item).center());
        QTRY_VERIFY(phone.window->toolWindows().isOpen(ToolWindow::History));
        phone.window->toolWindows().close(ToolWindow::History);
        QTRY_VERIFY(!phone.window->toolWindows().isOpen(ToolWindow::History));
        phone.window->tray().historyAction()->trigger();
        QVERIFY(phone.window->toolWindows().isOpen(ToolWindow::History));
    }

    void callBackDialsThroughTheOutsideLine()
    {
        HistoryPhone phone;
        phone.missedCall(QStringLiteral("0912345678"));
        auto *view = qobject_cast<CallHistoryWindow *>(phone.window->toolWindows().open(ToolWindow::History));
        QVERIFY(view);
        view->table()->selectRow(0);
        QTest::keyClick(view->table(), Qt::Key_Return);
        // The telephone echoes the outside-line code and the number as the box presses them.
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromLatin1(phone.telephone().line(2)).trimmed(),
                                  QStringLiteral("00912345678"), 15000);
        QTRY_VERIFY(!phone.window->isDialling());
        // The far end answers: an outgoing call numbered by what DPX dialled.
        phone.telephone().connectCall();
        QTRY_COMPARE(phone.history.tracker().state(), CallTracker::State::Talking);
        phone.telephone().hangUp();
        QTRY_COMPARE(phone.history.lastKept().resultName(), QStringLiteral("outgoing"));
        QCOMPARE(phone.history.lastKept().number, QStringLiteral("0912345678"));
    }

    void callBackRefusesWhatIsNotANumber()
    {
        HistoryPhone phone;
        QTRY_VERIFY(phone.listening->size() > 0);
        CallRecord odd;
        odd.started = QDateTime::currentDateTimeUtc();
        odd.number = QStringLiteral("12AB-34");
        QVERIFY(phone.db->recordCall(odd) > 0);
        auto *view = qobject_cast<CallHistoryWindow *>(phone.window->toolWindows().open(ToolWindow::History));
        QVERIFY(view);
        QCOMPARE(view->model().index(0, CallHistoryModel::NumberColumn).data().toString(), odd.number);
        const int reports = int(phone.box.outputReports().size());
        view->table()->selectRow(0);
        view->callBackSelected();
        QCOMPARE(phone.window->lastMessage(), QString::fromUtf8(MainPhoneWindow::InvalidNumberText));
        QTest::qWait(300);
        QCOMPARE(int(phone.box.outputReports().size()), reports);
    }

    void addToPhoneBookOpensTheEditorWithTheNumber()
    {
        HistoryPhone phone;
        for (const char *number : {"02-2345-6789", "0912345678"}) {
            CallRecord call;
            call.started = QDateTime::currentDateTimeUtc();
            call.number = QString::fromLatin1(number);
            QVERIFY(phone.db->recordCall(call) > 0);
        }
        auto *view = qobject_cast<CallHistoryWindow *>(phone.window->toolWindows().open(ToolWindow::History));
        QVERIFY(view);
        view->table()->selectRow(0); // the newest: the mobile number
        view->addSelectedToPhoneBook();
        auto *editor = phone.window->toolWindows().windowAs<ContactEditor>(ToolWindow::ContactEditor);
        QVERIFY(editor && editor->isVisible() && !editor->isReadOnly());
        QCOMPARE(editor->field(ContactColumn::MobileTelephoneNumber)->text(), QStringLiteral("0912345678"));
        QCOMPARE(editor->field(ContactColumn::HomeTelephoneNumber)->text(), QString());
        editor->close();
        QTRY_VERIFY(!phone.window->toolWindows().isOpen(ToolWindow::ContactEditor));
        view->table()->selectRow(1);
        view->addSelectedToPhoneBook();
        editor = phone.window->toolWindows().windowAs<ContactEditor>(ToolWindow::ContactEditor);
        QVERIFY(editor);
        QCOMPARE(editor->field(ContactColumn::HomeTelephoneNumber)->text(), QStringLiteral("02-2345-6789"));
        QCOMPARE(editor->field(ContactColumn::MobileTelephoneNumber)->text(), QString());
    }

    void unwritableHistoryIsToldOnceAndTheMirrorGoesOn()
    {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("Address.db"));
        QVERIFY(createAddressDatabase(copy));
        const test::ReadOnlyFile readOnly{copy};
        if (readOnly.isWritable())
            QSKIP("cannot make a file read-only for this user");
        AddressDatabase database(copy, QStringLiteral("read-only-history"));
        HistoryPhone phone(&database);
        QSignalSpy problems(&phone.history, &CallHistoryRecorder::problem);
        phone.missedCall(QStringLiteral("0912345678"));
        QTRY_COMPARE(phone.window->statusText(), QString::fromUtf8(CallHistoryRecorder::NotKeptText));
        phone.missedCall(QStringLiteral("0287654321"));
        QCOMPARE(problems.size(), 1);
        QCOMPARE(phone.window->tray().toolTip(), QStringLiteral("2 通未接來電"));
        phone.telephone().showText(2, QStringLiteral("STILL HERE"));
        QTRY_COMPARE(phone.window->mirror().displayedLine2(), QStringLiteral("STILL HERE      "));
    }
};

QTEST_MAIN(CallHistoryTest)
#include "test_callhistory.moc"
