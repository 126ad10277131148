// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the address database tests: a fresh database in a temporary folder and a
// private inspection connection that bypasses the code under test.

#include "addressbook/AddressSchema.h"
#include "addressbook/ContactRecord.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

namespace dpx::test {

using Rows = QList<QVariantList>;

// Runs one statement on its own short-lived connection and returns the rows it produced.
inline Rows rawQuery(const QString &path, const QString &statement, const QVariantList &values = {})
{
    static QAtomicInt serial;
    const QString name = QStringLiteral("test-inspect-%1").arg(serial.fetchAndAddRelaxed(1));
    Rows rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            qWarning() << "inspection open failed" << db.lastError().text();
        QSqlQuery query(db);
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec())
            qWarning() << "inspection failed" << statement << query.lastError().text();
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row.append(query.value(i));
            rows.append(row);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

inline QVariant rawValue(const QString &path, const QString &statement, const QVariantList &values = {})
{
    const Rows rows = rawQuery(path, statement, values);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

inline int contactCount(const QString &path)
{
    return rawValue(path, QStringLiteral("SELECT count(*) FROM address_book")).toInt();
}

// A contact whose every text column holds "<column>-<tag>".
inline ContactRecord filledContact(const QString &tag, bool hasPicture = false)
{
    ContactRecord contact;
    for (int column = 0; column < kContactTextColumnCount; ++column)
        contact.setText(column, QString(kContactColumns[size_t(column)]) + u'-' + tag);
    contact.setHasPicture(hasPicture);
    return contact;
}

// A temporary folder holding a freshly created Address.db.
struct FreshDatabase {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Address.db"));
    bool created = false;

    FreshDatabase()
    {
        QString error;
        created = dir.isValid() && createAddressDatabase(path, &error);
        if (!created)
            qWarning() << "could not create test database:" << error;
    }
};

} // namespace dpx::test
