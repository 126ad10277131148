// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallHistoryHookup.h"

#include "addressbook/ContactEditor.h"
#include "app/MainPhoneWindow.h"
#include "app/PhoneTray.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "history/CallHistoryRecorder.h"
#include "history/CallHistoryWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>

namespace dpx {

namespace {

QWidget *makeHistoryWindow(const AppServices &services, QPointer<CallHistoryRecorder> history,
                           QPointer<MainPhoneWindow> phone)
{
    auto *view = new CallHistoryWindow(services.database, services.mainWindow);
    if (history) {
        QObject::connect(history, &CallHistoryRecorder::callKept, view, &CallHistoryWindow::refresh);
        QObject::connect(view, &CallHistoryWindow::seen, history, &CallHistoryRecorder::clearMissedCount);
    }
    QObject::connect(view, &CallHistoryWindow::statusText, view,
                     [services](const QString &text) { services.status(text); });
    // The same path as "外撥" in the phone book: its validity rule, the outside-line code first.
    QObject::connect(view, &CallHistoryWindow::callBackRequested, view, [phone](const QString &number) {
        if (phone)
            phone->DialSelectedContact(number);
    });
    // A new contact's editor with the number filled in; the user can move it elsewhere.
    QObject::connect(view, &CallHistoryWindow::addContactRequested, view, [services](const QString &number) {
        if (!services.toolWindows)
            return;
        auto *editor = qobject_cast<ContactEditor *>(services.toolWindows->open(ToolWindow::ContactEditor));
        if (!editor)
            return;
        QLineEdit *field = editor->field(CallHistoryModel::contactColumnFor(number));
        if (field && field->text().isEmpty())
            field->setText(number);
    });
    return view;
}

} // namespace

void connectCallHistory(CallHistoryRecorder &history, MainPhoneWindow &window)
{
    CallTracker &tracker = history.tracker();
    QObject::connect(&window, &MainPhoneWindow::deviceEventApplied, &tracker,
                     [&tracker, &window](const DeviceEventEffects &fx) { tracker.observe(fx, window.mirror()); });
    QObject::connect(&window, &MainPhoneWindow::callerNumberRead, &tracker, &CallTracker::callerIdentified);
    QObject::connect(&window, &MainPhoneWindow::diallingStarted, &tracker, &CallTracker::dialled);
    if (BoxLink *box = window.boxLink())
        QObject::connect(box, &BoxLink::boxLost, &tracker, &CallTracker::closeInterrupted);
    QObject::connect(&history, &CallHistoryRecorder::problem, &window, &MainPhoneWindow::ShowStatusText);
    QObject::connect(&history, &CallHistoryRecorder::missedCountChanged, &window,
                     [&window](int count) { window.tray().setMissedCalls(count); });

    // The window needs this run's recorder, so it is registered here rather than in the catalog.
    ToolWindows::registerFactory(
        ToolWindow::History,
        [recorder = QPointer(&history), phone = QPointer(&window)](const AppServices &services) {
            return makeHistoryWindow(services, recorder, phone);
        },
        QPoint(window.width(), 0));
    QObject::connect(window.tray().historyAction(), &QAction::triggered, &window,
                     [&window] { window.toolWindows().open(ToolWindow::History); });
}

} // namespace dpx
