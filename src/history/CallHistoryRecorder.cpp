// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/CallHistoryRecorder.h"

#include "addressbook/AddressDatabase.h"

namespace dpx {

CallHistoryRecorder::CallHistoryRecorder(AddressDatabase *database, QObject *parent)
    : QObject(parent), m_database(database)
{
    connect(&m_tracker, &CallTracker::missed, this, [this] {
        ++m_missed;
        Q_EMIT missedCountChanged(m_missed);
    });
    connect(&m_tracker, &CallTracker::ended, this, &CallHistoryRecorder::keep);
}

void CallHistoryRecorder::clearMissedCount()
{
    if (m_missed == 0)
        return;
    m_missed = 0;
    Q_EMIT missedCountChanged(0);
}

void CallHistoryRecorder::keep(const CallRecord &call)
{
    qint64 id = 0;
    if (m_database && (m_database->IsOpen() || m_database->Open()))
        id = m_database->recordCall(call);
    if (id <= 0) {
        if (!m_problemTold) {
            m_problemTold = true;
            Q_EMIT problem(tr(NotKeptText));
        }
        return;
    }
    m_problemTold = false;
    m_lastKept = call;
    m_lastKept.id = id;
    Q_EMIT callKept(m_lastKept);
}

} // namespace dpx
