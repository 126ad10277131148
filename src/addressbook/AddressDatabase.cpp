// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/AddressDatabase.h"

#include "addressbook/AddressBookLog.h"
#include "addressbook/AddressDatabasePrivate.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/ContactSql.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <algorithm>

Q_LOGGING_CATEGORY(lcAddressBook, "dpx.addressbook", QtFatalMsg)

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

// "file:" URI with mode=rw so that SQLite never creates a missing file.
QString readWriteUri(const QString &filePath)
{
    return QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + u"?mode=rw"_s;
}

} // namespace

AddressDatabase::AddressDatabase(const QString &filePath, const QString &connectionName)
    : d(std::make_unique<Private>())
{
    d->filePath = filePath;
    d->connectionName = connectionName;
}

AddressDatabase::~AddressDatabase()
{
    Close();
    for (ContactCursor *cursor : d->cursors)
        cursor->m_db = nullptr;
}

std::unique_ptr<AddressDatabase> AddressDatabase::clone(const QString &connectionName) const
{
    auto copy = std::make_unique<AddressDatabase>(d->filePath, connectionName);
    copy->setBusyTimeout(d->busyTimeoutMs);
    return copy;
}

QString AddressDatabase::filePath() const { return d->filePath; }
QString AddressDatabase::connectionName() const { return d->connectionName; }
void AddressDatabase::setBusyTimeout(int milliseconds) { d->busyTimeoutMs = std::max(0, milliseconds); }
int AddressDatabase::busyTimeout() const { return d->busyTimeoutMs; }
QString AddressDatabase::lastError() const { return d->error; }

bool AddressDatabase::IsOpen() const
{
    return d->db.isValid() && d->db.isOpen();
}

bool AddressDatabase::Open()
{
    if (IsOpen())
        return true;
    d->error.clear();
    const QFileInfo file(d->filePath);
    if (!file.exists())
        return false; // no address book yet: not an error to show
    if (!file.isFile())
        return fail(u"The address database "_s + d->filePath + u" is not a file."_s);
    if (QSqlDatabase::contains(d->connectionName))
        return fail(u"The database connection name \""_s + d->connectionName + u"\" is already in use."_s);

    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionName);
    if (!d->db.isValid()) {
        d->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(d->connectionName);
        return fail(QStringLiteral("The SQLite driver for Qt (QSQLITE) is not installed."));
    }
    d->db.setDatabaseName(readWriteUri(d->filePath));
    d->db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(d->busyTimeoutMs));
    const QString action = u"Could not open the address database "_s + d->filePath;
    if (!d->db.open()) {
        fail(action, d->db.lastError());
        Close();
        return false;
    }

    // SQLite reads the file lazily: this first read is where garbage or a damaged file shows.
    // It runs before anything that could write, so a foreign file stays untouched.
    int tables = -1;
    QSqlError probeError;
    {
        QSqlQuery probe(d->db);
        if (probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                      "AND name IN ('address_book', 'phone_setting')"))
            && probe.next())
            tables = probe.value(0).toInt();
        else
            probeError = probe.lastError();
    }
    if (tables < 0) {
        Close();
        return fail(action, probeError);
    }
    if (tables != 2) {
        Close();
        return fail(action + u": the file does not hold the address book tables."_s);
    }

    // WAL lets the reader thread look callers up while the window thread writes. A read-only
    // file keeps its journal mode; reading still works and writes report the read-only error.
    QSqlQuery wal(d->db);
    if (!wal.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
        qCDebug(lcAddressBook) << "journal mode unchanged:" << wal.lastError().text();
    wal.finish(); // a statement still stepping would keep the index's transaction from committing
    prepareNumberIndex();
    prepareCallHistory();
    return true;
}

void AddressDatabase::Close()
{
    closeCursors();
    d->prepared.clear();
    if (!d->db.isValid())
        return;
    d->db.close();
    d->db = QSqlDatabase(); // drop our handle so the connection can be removed
    QSqlDatabase::removeDatabase(d->connectionName);
}

bool AddressDatabase::Execute(const QString &statement, const QVariantList &values)
{
    return runStatement(statement, values, QStringLiteral("Could not change the address database"));
}

void AddressDatabase::registerCursor(ContactCursor *cursor)
{
    d->cursors.push_back(cursor);
}

void AddressDatabase::unregisterCursor(ContactCursor *cursor)
{
    std::erase(d->cursors, cursor);
}

void AddressDatabase::closeCursors()
{
    for (ContactCursor *cursor : d->cursors)
        cursor->Close();
}

void AddressDatabase::clearError()
{
    d->error.clear();
}

QSqlQuery AddressDatabase::newQuery() const
{
    return QSqlQuery(d->db);
}

QSqlQuery *AddressDatabase::preparedQuery(const QString &statement, const QString &action)
{
    constexpr qsizetype kMostPrepared = 64; // statements built from values vary; keep it bounded
    auto found = d->prepared.find(statement);
    if (found != d->prepared.end())
        return &found.value();
    if (d->prepared.size() >= kMostPrepared)
        d->prepared.clear();
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        fail(action, query.lastError());
        return nullptr;
    }
    return &d->prepared.insert(statement, query).value();
}

bool AddressDatabase::beginWrite(const QString &action)
{
    d->error.clear();
    if (!IsOpen())
        return fail(action + u": the address database is not open."_s);
    closeCursors();
    return true;
}

bool AddressDatabase::runQuery(QSqlQuery &query, const QString &action)
{
    if (query.exec())
        return true;
    return fail(action, query.lastError());
}

bool AddressDatabase::runStatement(const QString &statement, const QVariantList &values,
                                   const QString &action, int *rowsAffected)
{
    if (!beginWrite(action))
        return false;
    QSqlQuery *query = preparedQuery(statement, action);
    if (!query)
        return false;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    const bool ok = runQuery(*query, action);
    if (ok && rowsAffected)
        *rowsAffected = query->numRowsAffected();
    query->finish(); // a statement that returned rows must not stay open
    return ok;
}

bool AddressDatabase::runInTransaction(const QString &action, const std::function<bool()> &work)
{
    if (!beginWrite(action))
        return false;
    QSqlQuery control = newQuery();
    // IMMEDIATE takes the write lock up front, so a busy database fails before any change.
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(action, control.lastError());
    if (work() && control.exec(QStringLiteral("COMMIT")))
        return true;
    if (d->error.isEmpty())
        fail(action, control.lastError());
    if (!control.exec(QStringLiteral("ROLLBACK")))
        qCDebug(lcAddressBook) << "rollback failed:" << control.lastError().text();
    return false;
}

bool AddressDatabase::fail(const QString &action, const QSqlError &error)
{
    qCDebug(lcAddressBook) << action << error.text() << error.nativeErrorCode();
    d->error = action + u": "_s + sql::describeError(error) + u'.';
    return false;
}

bool AddressDatabase::fail(const QString &message)
{
    qCDebug(lcAddressBook) << message;
    d->error = message;
    return false;
}

} // namespace dpx
