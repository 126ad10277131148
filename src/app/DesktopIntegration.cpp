// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopIntegration.h"

#include "app/CallActionsWindow.h"
#include "app/MainPhoneWindow.h"
#include "app/PhoneTray.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"

#include <QAction>
#include <QDesktopServices>
#include <QPointer>

namespace dpx {

DesktopIntegration::DesktopIntegration(const CallTracker &tracker, MainPhoneWindow &window,
                                       const QString &dataFolder, QObject *parent)
    : QObject(parent), m_store(dataFolder), m_bus([&window](const QString &request) {
          DialAnswer answer = checkDialRequest(request, window.isDialling(), window.isBoxPresent());
          if (answer.verdict == DialAnswer::Accepted)
              window.dialRequest(answer.number); // the tel: path: line code, one number at a time
          return answer;
      })
{
    m_events.watch(tracker);
    m_runner.watch(m_events);
    m_bus.watch(m_events);
    m_runner.setActions(m_store.load());
    m_runner.setRecordFile(qEnvironmentVariable("DPX_ACTION_RECORD"));
    m_runner.setUrlOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); });
    connect(&m_runner, &CallActionRunner::problem, &window, &MainPhoneWindow::ShowStatusText);

    const auto mirrorDisplay = [this, &window] {
        m_bus.setDisplay(window.mirror().displayedLine1(), window.mirror().displayedLine2());
        m_bus.setBoxPresent(window.isBoxPresent());
    };
    mirrorDisplay();
    connect(&window, &MainPhoneWindow::deviceEventApplied, this, mirrorDisplay);
    if (BoxLink *box = window.boxLink()) {
        connect(box, &BoxLink::boxFound, this, mirrorDisplay, Qt::QueuedConnection);
        connect(box, &BoxLink::boxLost, this, mirrorDisplay, Qt::QueuedConnection);
    }

    ToolWindows::registerFactory(ToolWindow::CallActions,
                                 [self = QPointer(this)](const AppServices &services) -> QWidget * {
                                     if (!self)
                                         return nullptr;
                                     auto *view = new CallActionsWindow(self->m_runner, self->m_store,
                                                                        services.mainWindow);
                                     view->setStatus([services](const QString &text) { services.status(text); });
                                     return view;
                                 });
    connect(window.tray().callActionsAction(), &QAction::triggered, &window,
            [&window] { window.toolWindows().open(ToolWindow::CallActions); });
}

bool DesktopIntegration::publish(const QDBusConnection &connection)
{
    return m_bus.publish(connection);
}

} // namespace dpx
