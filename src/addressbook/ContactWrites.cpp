// SPDX-License-Identifier: GPL-3.0-or-later
// The contact writes and the caller lookup of AddressDatabase.
#include "addressbook/AddressDatabase.h"

#include "addressbook/ContactSql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

const QString kSaveAction = QStringLiteral("Could not save the contact");
const QString kDeleteAction = QStringLiteral("Could not delete the contact");

} // namespace

bool AddressDatabase::insertContact(const ContactRecord &contact)
{
    return runStatement(sql::insertContact(), sql::insertValues(contact), kSaveAction);
}

int AddressDatabase::deleteContact(const ContactRecord &identity)
{
    const sql::BoundClause clause = sql::matchClause(kIdentityColumns, identity);
    int removed = 0;
    if (!runStatement(sql::deleteWhere(clause), clause.values, kDeleteAction, &removed))
        return -1;
    return removed;
}

bool AddressDatabase::replaceContact(const ContactRecord &identity, const ContactRecord &contact)
{
    const sql::BoundClause clause = sql::matchClause(kIdentityColumns, identity);
    return runInTransaction(kSaveAction, [&] {
        return runStatement(sql::deleteWhere(clause), clause.values, kSaveAction)
            && runStatement(sql::insertContact(), sql::insertValues(contact), kSaveAction);
    });
}

std::optional<ContactRecord> AddressDatabase::findContactByNumber(const QString &number)
{
    const QString action = QStringLiteral("Could not look the caller up");
    clearError();
    if (number.isEmpty())
        return std::nullopt;
    if (!IsOpen()) {
        fail(action + u": the address database is not open."_s);
        return std::nullopt;
    }

    // The same answer as walking all rows in name order and stopping at the first whose
    // number columns hold the number, without fetching every row.
    QStringList conditions;
    for (ContactColumn column : kCallerNumberColumns)
        conditions.append(QString(columnName(column)) + u" = ? COLLATE NOCASE"_s);
    QSqlQuery query = newQuery();
    query.setForwardOnly(true);
    if (!query.prepare(u"SELECT * FROM address_book WHERE "_s + conditions.join(u" OR "_s)
                       + u" ORDER BY name, rowid LIMIT 1"_s)) {
        fail(action, query.lastError());
        return std::nullopt;
    }
    for (qsizetype i = 0; i < conditions.size(); ++i)
        query.addBindValue(number);
    if (!runQuery(query, action) || !query.next())
        return std::nullopt;

    ContactRecord contact;
    const QSqlRecord row = query.record();
    for (int i = 0; i < row.count(); ++i) {
        const QVariant value = row.value(i);
        contact.setText(row.fieldName(i), value.isNull() ? QString() : value.toString());
    }
    return contact;
}

} // namespace dpx
