// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the address database tests: a fresh database in a temporary folder and
// connections of "another program" that bypass the code under test.

#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactCursor.h"
#include "../support/TestFiles.h"

#include <QAtomicInt>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace dpx::test {

using namespace Qt::StringLiterals;
using Rows = QList<QVariantList>;

// Runs one statement on its own short-lived connection and returns the rows it produced.
inline Rows rawQuery(const QString &path, const QString &statement, const QVariantList &values = {})
{
    static QAtomicInt serial;
    const QString name = u"test-raw-%1"_s.arg(serial.fetchAndAddRelaxed(1));
    Rows rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
        QSqlQuery query(db);
        if (!db.open() || !query.prepare(statement))
            qWarning() << "raw statement failed:" << statement;
        for (const QVariant &value : values)
            query.addBindValue(value);
        query.exec();
        while (query.next()) {
            rows.append(QVariantList());
            for (int i = 0; i < query.record().count(); ++i)
                rows.last().append(query.value(i));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

inline int contactCount(const QString &path)
{
    return rawQuery(path, u"SELECT count(*) FROM address_book"_s).value(0).value(0).toInt();
}

// A contact whose every text column holds "<column>-<tag>".
inline ContactRecord filledContact(const QString &tag)
{
    ContactRecord contact;
    for (int column = 0; column < kContactTextColumnCount; ++column)
        contact.setText(column, QString(kContactColumns[size_t(column)]) + u'-' + tag);
    return contact;
}

// A temporary folder holding a freshly created Address.db.
struct FreshDatabase {
    QTemporaryDir dir;
    QString path = dir.filePath(u"Address.db"_s);
    bool created = createAddressDatabase(path);
};

// Makes a file read-only for as long as it lives; the superuser ignores permissions, so the
// file is then also made immutable.
struct ReadOnlyFile {
    QString path;
    bool immutable = QFile::setPermissions(path, QFile::ReadOwner) && isWritable()
        && QProcess::execute(u"chattr"_s, {u"+i"_s, path}) == 0;
    bool isWritable() const { return QFile(path).open(QIODevice::ReadWrite); }
    ~ReadOnlyFile()
    {
        if (immutable)
            QProcess::execute(u"chattr"_s, {u"-i"_s, path});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
};

} // namespace dpx::test
