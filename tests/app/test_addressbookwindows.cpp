// SPDX-License-Identifier: GPL-3.0-or-later
// The address book windows inside the program on the simulated telephone: the tray entry and
// the tree's "編輯" open the phone book, the tree follows a save, and a ringing caller who is
// found gets one read-only card, also while the phone book is open.
#include "addressbook/ContactEditor.h"
#include "addressbook/PhoneBookWindow.h"
#include "app/CallerPopup.h"
#include "app/PhoneBookTree.h"
#include "app/PhoneTray.h"
#include "app/ScriptRunner.h"
#include "app/ToolWindows.h"
#include "sim/SimTelephone.h"
#include "ui/ReportListCtrl.h"
#include "ui/SkinBitmapButton.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

using namespace dpx;

#include "PhoneFixture.h"

namespace {

QStringList treeNames(PhoneBookTree *tree)
{
    QStringList names;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        names << tree->topLevelItem(i)->text(0);
    return names;
}

int openCards()
{
    int cards = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *editor = qobject_cast<ContactEditor *>(window); editor && editor->isReadOnly() && editor->isVisible())
            ++cards;
    return cards;
}

} // namespace

class AddressBookWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void trayAndTreeOpenThePhoneBook();
    void treeFollowsASave();
    void ringingCallerGetsOneCard();
    void escapeClosesLikeTheCloseBox();
};

void AddressBookWindowsTest::trayAndTreeOpenThePhoneBook()
{
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Amy"), QStringLiteral("0911"))));
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Bob"), QStringLiteral("0922"))));
    phone.window->FillPhoneBookTree();
    ToolWindows &tools = phone.window->toolWindows();
    QAction *entry = phone.window->tray().phoneBookAction();
    QVERIFY(entry->isEnabled());
    entry->trigger();
    auto *book = tools.windowAs<PhoneBookWindow>(ToolWindow::PhoneBook);
    QVERIFY(book && book->isVisible());
    QCOMPARE(book->windowTitle(), QStringLiteral("電話簿"));
    entry->trigger(); // a second request brings the same one forward
    QCOMPARE(phone.window->findChildren<PhoneBookWindow *>().size(), 1);
    book->close();
    QVERIFY(!tools.isOpen(ToolWindow::PhoneBook));

    // "編輯" on a number line of Bob's opens the phone book on Bob.
    PhoneBookTree *tree = phone.window->phoneBookTree();
    tree->setCurrentItem(tree->topLevelItem(1)->child(1));
    Q_EMIT tree->editRequested();
    book = tools.windowAs<PhoneBookWindow>(ToolWindow::PhoneBook);
    QVERIFY(book);
    QCOMPARE(book->list()->selectedRows().size(), 1);
    QCOMPARE(book->list()->listModel()->cell(book->list()->selectedRows().at(0), 0), QStringLiteral("Bob"));
}

void AddressBookWindowsTest::treeFollowsASave()
{
    Phone phone;
    auto *book = qobject_cast<PhoneBookWindow *>(phone.window->toolWindows().open(ToolWindow::PhoneBook));
    QVERIFY(book);
    ContactEditor *editor = book->newContact();
    editor->field(ContactColumn::LastName)->setText(QStringLiteral("王"));
    editor->field(ContactColumn::FirstName)->setText(QStringLiteral("大明"));
    QVERIFY(editor->save());
    QTRY_COMPARE(treeNames(phone.window->phoneBookTree()), QStringList{QStringLiteral("王大明")});
    QCOMPARE(book->list()->rowCount(), 1);
    QCOMPARE(book->list()->selectedRows(), QList<int>{0}); // the saved contact stays selected
}

void AddressBookWindowsTest::ringingCallerGetsOneCard()
{
    Phone phone;
    QTRY_VERIFY(phone.listening->size() > 0);
    // The phone book is open and a contact is saved a moment before the call.
    auto *book = qobject_cast<PhoneBookWindow *>(phone.window->toolWindows().open(ToolWindow::PhoneBook));
    ContactEditor *editor = book->newContact();
    editor->field(ContactColumn::LastName)->setText(QStringLiteral("陳"));
    editor->field(ContactColumn::FirstName)->setText(QStringLiteral("美玲"));
    editor->field(ContactColumn::MobileTelephoneNumber)->setText(QStringLiteral("0223456789"));
    QVERIFY(editor->save());

    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    QTRY_COMPARE(openCards(), 1);
    auto *card = phone.window->toolWindows().windowAs<ContactEditor>(ToolWindow::CallerCard);
    QCOMPARE(card->contactName(), QStringLiteral("陳美玲"));
    QCOMPARE(card->field(ContactColumn::MobileTelephoneNumber)->text(), QStringLiteral("0223456789"));
    QVERIFY(!card->okButton()->isEnabled());
    QVERIFY(book->isVisible());

    // Each ring report restarts the capture: still one card.
    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    QTRY_VERIFY(!phone.window->isCapturingNumber());
    QTest::qWait(300);
    QCOMPARE(openCards(), 1);

    ScriptRunner runner(*phone.window, phone.box);
    QSignalSpy finished(&runner, &ScriptRunner::finished);
    QVERIFY(runner.startText(QStringLiteral("expect card 陳美玲\n")));
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    // The phone book is modal to the main window; the popup and the card are not blocked by it
    // (neither belongs to the main window's window hierarchy).
    QCOMPARE(book->windowModality(), Qt::WindowModal);
    for (QWidget *free : {static_cast<QWidget *>(card), static_cast<QWidget *>(&phone.window->callerPopup())}) {
        QVERIFY(free && free->windowHandle());
        for (QWindow *w = free->windowHandle(); w; w = w->transientParent() ? w->transientParent() : w->parent())
            QVERIFY(w != phone.window->windowHandle());
    }
    card->close();
    QVERIFY(!phone.window->toolWindows().isOpen(ToolWindow::CallerCard));
}

void AddressBookWindowsTest::escapeClosesLikeTheCloseBox()
{
    Phone phone;
    ToolWindows &tools = phone.window->toolWindows();
    QPointer<QWidget> first = tools.open(ToolWindow::PhoneBook);
    QTest::keyClick(first, Qt::Key_Escape);
    QVERIFY(!tools.isOpen(ToolWindow::PhoneBook));
    QWidget *second = tools.open(ToolWindow::PhoneBook);
    QVERIFY(second && second->isVisible());
    QTRY_VERIFY(!first);
    QVERIFY(tools.isOpen(ToolWindow::PhoneBook));
}

QTEST_MAIN(AddressBookWindowsTest)
#include "test_addressbookwindows.moc"
