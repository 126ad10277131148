// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactSql.h"

#include <QSqlError>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace dpx::sql {

namespace {

QString allColumns()
{
    QStringList names;
    for (QLatin1StringView column : kContactColumns)
        names.append(column);
    return names.join(u", "_s);
}

// SQLite primary result codes (the low byte of an extended code).
enum : int {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoError = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteConstraint = 19,
    SqliteNotADatabase = 26,
};

} // namespace

BoundClause matchClause(std::span<const ContactColumn> columns, const ContactRecord &key)
{
    BoundClause clause;
    QStringList parts;
    for (ContactColumn column : columns) {
        const QString value = key.text(column);
        const QString name = columnName(column);
        if (column == ContactColumn::Name) {
            parts.append(name + u" = ?"_s);
            clause.values.append(storedName(value));
        } else if (value.isEmpty()) {
            parts.append(name + u" IS NULL"_s);
        } else {
            parts.append(name + u" = ?"_s);
            clause.values.append(value);
        }
    }
    clause.condition = parts.join(u" AND "_s);
    return clause;
}

QString selectAllByName()
{
    // rowid keeps rows of equal names in the order they were saved.
    return QStringLiteral("SELECT * FROM address_book ORDER BY name, rowid");
}

QString selectWhere(const BoundClause &clause)
{
    return u"SELECT * FROM address_book WHERE "_s + clause.condition;
}

QString deleteWhere(const BoundClause &clause)
{
    return u"DELETE FROM address_book WHERE "_s + clause.condition;
}

QString insertContact()
{
    static const QString statement = [] {
        QStringList marks;
        for (int i = 0; i < kContactColumnCount; ++i)
            marks.append(QStringLiteral("?"));
        return u"INSERT INTO address_book ("_s + allColumns() + u") VALUES ("_s + marks.join(u", "_s)
            + u')';
    }();
    return statement;
}

QVariantList insertValues(const ContactRecord &contact)
{
    QVariantList values;
    values.reserve(kContactColumnCount);
    values.append(storedName(contact.text(ContactColumn::Name)));
    for (int column = 1; column < kContactTextColumnCount; ++column)
        values.append(storedText(contact.text(column)));
    values.append(contact.hasPicture() ? 1 : 0);
    return values;
}

QVariant storedText(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

QVariant storedName(const QString &value)
{
    // A null QString would be bound as NULL; the name must stay text.
    return value.isNull() ? QVariant(QString::fromLatin1("", 0)) : QVariant(value);
}

QString describeError(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    QString reason;
    switch (code) {
    case SqliteBusy:
    case SqliteLocked:
        reason = QStringLiteral("the address database is in use by another program or window; "
                                "try again in a moment");
        break;
    case SqliteReadOnly:
        reason = QStringLiteral("the address database is read-only, changes cannot be saved");
        break;
    case SqliteIoError:
        reason = QStringLiteral("the address database file could not be read or written");
        break;
    case SqliteCorrupt:
        reason = QStringLiteral("the address database file is damaged");
        break;
    case SqliteFull:
        reason = QStringLiteral("the disk is full");
        break;
    case SqliteCantOpen:
        reason = QStringLiteral("the address database file cannot be opened");
        break;
    case SqliteConstraint:
        reason = QStringLiteral("the address database refused the values");
        break;
    case SqliteNotADatabase:
        reason = QStringLiteral("the file is not an address database");
        break;
    default:
        return detail.isEmpty() ? QStringLiteral("unknown database error") : detail;
    }
    return detail.isEmpty() ? reason : reason + u" ("_s + detail + u')';
}

} // namespace dpx::sql
