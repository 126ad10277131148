// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallHistoryHookup.h"

#include "app/MainPhoneWindow.h"
#include "app/PhoneTray.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "history/CallHistoryRecorder.h"
#include "history/CallHistoryWindow.h"

#include <QAction>

namespace dpx {

void connectCallHistory(CallHistoryRecorder &history, MainPhoneWindow &window, ToolWindows *tools)
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
    if (!tools)
        return;

    tools->setFactory(Tool::CallHistory, [&history, &window]() -> QWidget * {
        auto *view = new CallHistoryWindow(history.database());
        view->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(&history, &CallHistoryRecorder::callKept, view, &CallHistoryWindow::refresh);
        QObject::connect(view, &CallHistoryWindow::seen, &history, &CallHistoryRecorder::clearMissedCount);
        QObject::connect(view, &CallHistoryWindow::statusText, &window, &MainPhoneWindow::ShowStatusText);
        // The same path as dialling from the phone book: validity rule, outside-line code first.
        QObject::connect(view, &CallHistoryWindow::callBackRequested, &window,
                         &MainPhoneWindow::DialSelectedContact);
        window.dockToolWindow(view, QPoint(window.width(), 0));
        return view;
    });
    QObject::connect(window.tray().historyAction(), &QAction::triggered, tools,
                     [tools] { tools->open(Tool::CallHistory); });
}

} // namespace dpx
