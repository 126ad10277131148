// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/AddressSchema.h"

#include "addressbook/ContactColumns.h"
#include "addressbook/ContactNumberIndex.h"
#include "addressbook/ContactSql.h"
#include "addressbook/PhoneSettings.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

QStringList schemaStatements(QString *error)
{
    QFile file(QStringLiteral(":/addressbook/address_schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The address database schema is missing from the program.");
        return {};
    }
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u"--"_s))
            continue;
        current += line + u'\n';
        if (trimmed.endsWith(u';')) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    return statements;
}

// Builds the schema and seed row in the (empty) file on one private connection.
bool fillSchema(const QString &filePath, QString *error)
{
    const QStringList statements = schemaStatements(error);
    if (statements.isEmpty())
        return false;

    static QAtomicInt serial;
    const QString connection = QStringLiteral("dpx-addressbook-create-%1").arg(serial.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath);
        QSqlQuery query(db);
        auto failed = [&](const QSqlError &sqlError) {
            *error = u"Could not create the address database: "_s + sql::describeError(sqlError) + u'.';
            return false;
        };
        ok = db.open() || failed(db.lastError());
        ok = ok && (query.exec(QStringLiteral("BEGIN")) || failed(query.lastError()));
        for (const QString &statement : statements)
            ok = ok && (query.exec(statement) || failed(query.lastError()));
        if (ok) {
            query.prepare(QStringLiteral("INSERT INTO phone_setting (skin, linecode, phonetype, bshowinfo, "
                                         "coring, icmring, bvksring) VALUES (?, ?, ?, ?, NULL, NULL, ?)"));
            query.addBindValue(SeedPhoneSettings::skin);
            query.addBindValue(QString::fromLatin1(SeedPhoneSettings::lineCode));
            query.addBindValue(QString::fromLatin1(SeedPhoneSettings::phoneType));
            query.addBindValue(SeedPhoneSettings::showInfo);
            query.addBindValue(SeedPhoneSettings::vksRing);
            ok = query.exec() || failed(query.lastError());
        }
        ok = ok && (query.exec(duplicateIndexStatement()) || failed(query.lastError()));
        if (ok) {
            QStringList index = numberindex::installStatements();
            index.append(QStringLiteral("PRAGMA user_version = %1").arg(numberindex::kSchemaVersion));
            for (const QString &statement : index)
                ok = ok && (query.exec(statement) || failed(query.lastError()));
        }
        ok = ok && (query.exec(QStringLiteral("COMMIT")) || failed(query.lastError()));
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace

QString duplicateIndexStatement()
{
    QStringList columns;
    for (ContactColumn column : kDuplicateColumns)
        columns.append(columnName(column));
    return u"CREATE INDEX IF NOT EXISTS address_book_duplicate ON address_book ("_s
        + columns.join(u", "_s) + u')';
}

bool installDuplicateIndex(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (query.exec(u"SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = 'address_book_duplicate'"_s)
        && query.next())
        return true;
    query.finish();
    return query.exec(duplicateIndexStatement());
}

bool createAddressDatabase(const QString &filePath, QString *error)
{
    QString ignored;
    QString &message = error ? *error : ignored;
    message.clear();
    const QFileInfo target(filePath);
    if (target.exists() || target.isSymLink()) {
        message = u"Will not create the address database: "_s + filePath + u" already exists."_s;
        return false;
    }
    if (!QDir().mkpath(target.absolutePath())) {
        message = u"Could not create the folder "_s + target.absolutePath() + u'.';
        return false;
    }

    // Built under a temporary name and renamed into place, so a stop half-way never leaves
    // a partial address database behind. The empty file is a valid empty SQLite database.
    QTemporaryFile work(target.absolutePath() + u"/."_s + target.fileName() + u".XXXXXX"_s);
    if (!work.open()) {
        message = u"Could not create the address database: "_s + work.errorString() + u'.';
        return false;
    }
    work.close();
    if (!fillSchema(work.fileName(), &message))
        return false;
    // QFile::rename() refuses an existing target, so a file that appeared meanwhile stays.
    work.setAutoRemove(false);
    if (!QFile::rename(work.fileName(), filePath)) {
        QFile::remove(work.fileName());
        message = u"Could not create the address database "_s + filePath + u": the file exists or "_s
                  u"the folder is not writable."_s;
        return false;
    }
    return true;
}

} // namespace dpx
