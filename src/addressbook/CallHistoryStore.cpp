// SPDX-License-Identifier: GPL-3.0-or-later
// The call history of AddressDatabase: one table beside the contact tables.
#include "addressbook/AddressDatabase.h"

#include "addressbook/AddressBookLog.h"
#include "addressbook/AddressDatabasePrivate.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

const QString kWriteAction = QStringLiteral("Could not keep the call in the call history");
const QString kReadAction = QStringLiteral("Could not read the call history");
const QString kDeleteAction = QStringLiteral("Could not delete from the call history");

// The file version once the call history is in it.
constexpr int kHistorySchemaVersion = 3;

// started_ms: the start in milliseconds since 1970-01-01 UTC; direction: in, intercom or out.
const QStringList kCreateStatements{
    u"CREATE TABLE IF NOT EXISTS call_history ("
    "id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "started_ms INTEGER NOT NULL, "
    "direction TEXT NOT NULL CHECK (direction IN ('in', 'intercom', 'out')), "
    "number TEXT NOT NULL DEFAULT '', "
    "name TEXT NOT NULL DEFAULT '', "
    "answered INTEGER NOT NULL CHECK (answered IN (0, 1)), "
    "talk_seconds INTEGER NOT NULL DEFAULT 0 CHECK (talk_seconds >= 0), "
    "interrupted INTEGER NOT NULL DEFAULT 0 CHECK (interrupted IN (0, 1)))"_s,
    u"CREATE INDEX IF NOT EXISTS call_history_by_start ON call_history (started_ms, id)"_s,
};

QString directionText(CallDirection direction)
{
    switch (direction) {
    case CallDirection::Intercom: return u"intercom"_s;
    case CallDirection::Outgoing: return u"out"_s;
    case CallDirection::Incoming: break;
    }
    return u"in"_s;
}

CallDirection directionFrom(const QString &text)
{
    if (text == u"intercom")
        return CallDirection::Intercom;
    if (text == u"out")
        return CallDirection::Outgoing;
    return CallDirection::Incoming;
}

// Qt binds a null text as NULL; the history keeps "no number" as an empty text.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

void AddressDatabase::prepareCallHistory()
{
    QSqlQuery query(d->db);
    d->callHistory = query.exec(u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'call_history'"_s)
        && query.next();
    query.finish();
    if (d->callHistory)
        return;
    // IMMEDIATE: two connections opening an old file at once add the table once.
    bool ok = query.exec(u"BEGIN IMMEDIATE"_s);
    for (const QString &statement : kCreateStatements)
        ok = ok && query.exec(statement);
    int version = 0;
    if (ok && query.exec(u"PRAGMA user_version"_s) && query.next())
        version = query.value(0).toInt();
    query.finish();
    if (ok && version < kHistorySchemaVersion)
        ok = query.exec(u"PRAGMA user_version = %1"_s.arg(kHistorySchemaVersion));
    if (ok && query.exec(u"COMMIT"_s)) {
        d->callHistory = true;
        return;
    }
    qCDebug(lcAddressBook) << "call history not added:" << query.lastError().text();
    query.exec(u"ROLLBACK"_s);
}

bool AddressDatabase::hasCallHistory() const
{
    return IsOpen() && d->callHistory;
}

// A write of the history in one transaction. Unlike the contact writes it leaves the contact
// cursors open: the history is another table, and a call ending must not disturb the phone book.
bool AddressDatabase::runHistoryWrite(const QString &action, const std::function<bool()> &work)
{
    clearError();
    if (!IsOpen())
        return fail(action + u": the address database is not open."_s);
    if (!d->callHistory)
        return fail(action + u": the file has no call history and cannot be changed."_s);
    QSqlQuery control = newQuery();
    // The history is the machine's record, written on the window's thread at every call end:
    // its commits are not flushed to the disk one by one (a flush costs milliseconds). The file
    // stays whole whatever happens; a power cut may lose the last calls, which the next flushed
    // write (any contact change) makes safe.
    int synchronous = -1;
    if (control.exec(u"PRAGMA synchronous"_s) && control.next())
        synchronous = control.value(0).toInt();
    control.finish();
    if (synchronous > 1)
        control.exec(u"PRAGMA synchronous = NORMAL"_s);
    const auto restore = qScopeGuard([&] {
        if (synchronous > 1)
            control.exec(u"PRAGMA synchronous = %1"_s.arg(synchronous));
    });
    if (!control.exec(u"BEGIN IMMEDIATE"_s))
        return fail(action, control.lastError());
    if (work() && control.exec(u"COMMIT"_s))
        return true;
    if (d->error.isEmpty())
        fail(action, control.lastError());
    control.exec(u"ROLLBACK"_s);
    return false;
}

qint64 AddressDatabase::recordCall(const CallRecord &call)
{
    qint64 id = 0;
    const bool written = runHistoryWrite(kWriteAction, [&] {
        QSqlQuery *insert = preparedQuery(
            u"INSERT INTO call_history (started_ms, direction, number, name, answered, talk_seconds, "
            "interrupted) VALUES (?, ?, ?, ?, ?, ?, ?)"_s, kWriteAction);
        if (!insert)
            return false;
        insert->bindValue(0, call.started.toMSecsSinceEpoch());
        insert->bindValue(1, directionText(call.direction));
        insert->bindValue(2, notNull(call.number));
        insert->bindValue(3, notNull(call.name));
        insert->bindValue(4, call.answered ? 1 : 0);
        insert->bindValue(5, std::max(0, call.talkSeconds));
        insert->bindValue(6, call.interrupted ? 1 : 0);
        if (!runQuery(*insert, kWriteAction))
            return false;
        id = insert->lastInsertId().toLongLong();
        insert->finish();
        // The newest kCallHistoryLimit rows by id stay. SQLite counts a table from its pages,
        // so counting and dropping only the excess costs less than seeking the cut-off row.
        QSqlQuery *count = preparedQuery(u"SELECT count(*) FROM call_history"_s, kWriteAction);
        if (!count || !runQuery(*count, kWriteAction) || !count->next())
            return false;
        const qint64 excess = count->value(0).toLongLong() - kCallHistoryLimit;
        count->finish();
        if (excess <= 0)
            return true;
        QSqlQuery *trim = preparedQuery(
            u"DELETE FROM call_history WHERE id IN (SELECT id FROM call_history ORDER BY id LIMIT ?)"_s,
            kWriteAction);
        if (!trim)
            return false;
        trim->bindValue(0, excess);
        const bool trimmed = runQuery(*trim, kWriteAction);
        trim->finish();
        return trimmed;
    });
    return written ? id : 0;
}

std::optional<QList<CallRecord>> AddressDatabase::readCalls()
{
    clearError();
    if (!IsOpen() && !Open())
        return std::nullopt;
    if (!d->callHistory)
        return QList<CallRecord>(); // a read-only file from before the history: nothing kept
    QSqlQuery query = newQuery();
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT id, started_ms, direction, number, name, answered, talk_seconds, "
                    "interrupted FROM call_history ORDER BY started_ms DESC, id DESC"_s)) {
        fail(kReadAction, query.lastError());
        return std::nullopt;
    }
    QList<CallRecord> calls;
    while (query.next()) {
        CallRecord call;
        call.id = query.value(0).toLongLong();
        call.started = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong(), Qt::UTC);
        call.direction = directionFrom(query.value(2).toString());
        call.number = query.value(3).toString();
        call.name = query.value(4).toString();
        call.answered = query.value(5).toInt() != 0;
        call.talkSeconds = std::max(0, query.value(6).toInt());
        call.interrupted = query.value(7).toInt() != 0;
        calls.append(call);
    }
    if (query.lastError().isValid()) {
        fail(kReadAction, query.lastError());
        return std::nullopt;
    }
    return calls;
}

int AddressDatabase::countCalls()
{
    clearError();
    if (!hasCallHistory())
        return IsOpen() ? 0 : -1;
    QSqlQuery query = newQuery();
    if (query.exec(u"SELECT count(*) FROM call_history"_s) && query.next())
        return query.value(0).toInt();
    fail(kReadAction, query.lastError());
    return -1;
}

int AddressDatabase::deleteCalls(const QList<qint64> &ids)
{
    int removed = 0;
    const bool ok = runHistoryWrite(kDeleteAction, [&] {
        QSqlQuery *remove = preparedQuery(u"DELETE FROM call_history WHERE id = ?"_s, kDeleteAction);
        if (!remove)
            return false;
        for (qint64 id : ids) {
            remove->bindValue(0, id);
            if (!runQuery(*remove, kDeleteAction))
                return false;
            removed += remove->numRowsAffected();
        }
        return true;
    });
    return ok ? removed : -1;
}

bool AddressDatabase::clearCalls()
{
    return runHistoryWrite(kDeleteAction, [&] {
        QSqlQuery query = newQuery();
        return query.exec(u"DELETE FROM call_history"_s) || fail(kDeleteAction, query.lastError());
    });
}

} // namespace dpx
