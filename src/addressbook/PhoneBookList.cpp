// SPDX-License-Identifier: GPL-3.0-or-later
// The phone book window's reads and deletes of AddressDatabase.
#include "addressbook/AddressDatabase.h"

#include "addressbook/ContactSql.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {
const QString kReadAction = QStringLiteral("Could not read the address book");
}

std::optional<QSqlQuery> AddressDatabase::prepareRead(const QString &statement, const QString &action)
{
    clearError();
    if (!IsOpen()) {
        fail(action + u": the address database is not open."_s);
        return std::nullopt;
    }
    QSqlQuery query = newQuery();
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        fail(action, query.lastError());
        return std::nullopt;
    }
    return query;
}

std::optional<QList<ContactRecord>> AddressDatabase::readPhoneBookList()
{
    QStringList names;
    for (ContactColumn column : kIdentityColumns)
        names << columnName(column);
    std::optional<QSqlQuery> query =
        prepareRead(u"SELECT "_s + names.join(u", "_s) + u" FROM address_book ORDER BY name, rowid"_s, kReadAction);
    if (!query || !runQuery(*query, kReadAction))
        return std::nullopt;
    QList<ContactRecord> rows;
    while (query->next()) {
        ContactRecord row;
        for (int i = 0; i < int(kIdentityColumns.size()); ++i) {
            const QVariant value = query->value(i);
            row.setText(kIdentityColumns[size_t(i)], value.isNull() ? QString() : value.toString());
        }
        rows.append(row);
    }
    return rows;
}

int AddressDatabase::deleteContacts(const QList<ContactRecord> &identities)
{
    const QString action = QStringLiteral("Could not delete the contacts");
    int removed = 0;
    const bool ok = runInTransaction(action, [&] {
        for (const ContactRecord &identity : identities) {
            const sql::BoundClause clause = sql::matchClause(kIdentityColumns, identity);
            int rows = 0;
            if (!runStatement(sql::deleteWhere(clause), clause.values, action, &rows))
                return false;
            removed += rows;
        }
        return true;
    });
    return ok ? removed : -1;
}

std::optional<bool> AddressDatabase::isPictureClaimed(const QString &name, const QString &mobileNumber)
{
    std::optional<QSqlQuery> query =
        prepareRead(u"SELECT 1 FROM address_book WHERE CAST(ishavepicture AS INTEGER) >= 1 "
                    "AND name || IFNULL(mobiletelephonenumber, '') = ? LIMIT 1"_s,
                    kReadAction);
    if (!query)
        return std::nullopt;
    query->addBindValue(name + mobileNumber);
    if (!runQuery(*query, kReadAction))
        return std::nullopt;
    return query->next();
}

} // namespace dpx
