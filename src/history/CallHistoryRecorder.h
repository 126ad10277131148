// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/CallTracker.h"

#include <QObject>

namespace dpx {

class AddressDatabase;

// Keeps every call the tracker ends in the address database's call history and counts the
// calls missed since the history was last looked at. A database that cannot be written is
// told once (problem()) and changes nothing else: the telephone goes on working.
class CallHistoryRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr const char *NotKeptText = QT_TR_NOOP("通話記錄無法寫入,通話不會被保存");

    explicit CallHistoryRecorder(AddressDatabase *database, QObject *parent = nullptr);

    CallTracker &tracker() { return m_tracker; }
    AddressDatabase *database() const { return m_database; }

    int missedCount() const { return m_missed; }
    void clearMissedCount();
    // The newest call written (id 0 when none yet).
    const CallRecord &lastKept() const { return m_lastKept; }

Q_SIGNALS:
    void missedCountChanged(int count);
    // A call was written: the history changed.
    void callKept(const dpx::CallRecord &call);
    // Calls are not being kept; said once until a write works again.
    void problem(const QString &text);

private:
    void keep(const CallRecord &call);

    AddressDatabase *m_database = nullptr;
    CallTracker m_tracker;
    int m_missed = 0;
    bool m_problemTold = false;
    CallRecord m_lastKept;
};

} // namespace dpx
