// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "integration/CallActionRunner.h"
#include "integration/CallActionStore.h"
#include "integration/CallEvents.h"
#include "integration/PhoneBus.h"

#include <QObject>

namespace dpx {

class CallTracker;
class MainPhoneWindow;

// The telephone's events for other programs: the call actions of this data folder and the
// object on the session bus, both fed from the call tracker and the mirror. Registers the
// "來電動作" window (tray menu, the 設置 folder, script name "actions"). Without a session bus
// the program runs as before and says nothing.
class DesktopIntegration : public QObject {
    Q_OBJECT
public:
    DesktopIntegration(const CallTracker &tracker, MainPhoneWindow &window, const QString &dataFolder,
                       QObject *parent = nullptr);

    CallActionRunner &actions() { return m_runner; }
    CallActionStore &store() { return m_store; }
    PhoneBus &bus() { return m_bus; }

    // Publishes the bus object on connection (the session bus by default).
    bool publish(const QDBusConnection &connection);

private:
    CallEvents m_events;
    CallActionRunner m_runner;
    CallActionStore m_store;
    PhoneBus m_bus;
};

} // namespace dpx
