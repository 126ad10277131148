// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/CallEvents.h"

#include "phone/CallTracker.h"

namespace dpx {

CallEvents::CallEvents(QObject *parent) : QObject(parent)
{
    m_callerWait.setSingleShot(true);
    connect(&m_callerWait, &QTimer::timeout, this, &CallEvents::announce);
}

void CallEvents::watch(const CallTracker &tracker)
{
    connect(&tracker, &CallTracker::ringing, this, [this](const CallRecord &call) {
        m_ringing = call;
        m_waiting = true;
        m_callerWait.start(CallerWaitMs);
        Q_EMIT ringStarted(call);
    });
    connect(&tracker, &CallTracker::callerChanged, this, [this](const CallRecord &call) {
        m_ringing = call;
        announce();
    });
    connect(&tracker, &CallTracker::answered, this, [this](const CallRecord &call) {
        announce();
        Q_EMIT answered(call);
    });
    connect(&tracker, &CallTracker::missed, this, [this](const CallRecord &call) {
        announce();
        Q_EMIT missed(call);
    });
    connect(&tracker, &CallTracker::ended, this, [this](const CallRecord &call) {
        announce();
        if (call.answered)
            Q_EMIT talkEnded(call);
    });
}

void CallEvents::announce()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_callerWait.stop();
    Q_EMIT incomingCall(m_ringing);
}

} // namespace dpx
