// SPDX-License-Identifier: GPL-3.0-or-later
// The batch writes of AddressDatabase used by the imports.
#include "addressbook/AddressDatabase.h"

#include "addressbook/AddressBookLog.h"
#include "addressbook/AddressDatabasePrivate.h"
#include "addressbook/ContactSql.h"

#include <QSqlError>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

const QString kImportAction = QStringLiteral("Could not import the contacts");

} // namespace

bool AddressDatabase::importBatchActive() const
{
    return d->importBatch;
}

bool AddressDatabase::beginImportBatch()
{
    if (!beginWrite(kImportAction))
        return false;
    QSqlQuery control = newQuery();
    if (!control.exec(u"BEGIN IMMEDIATE"_s))
        return fail(kImportAction, control.lastError());
    d->importBatch = true;
    return true;
}

AddressDatabase::ImportOutcome AddressDatabase::importContact(const ContactRecord &contact)
{
    clearError();
    if (!d->importBatch) {
        fail(kImportAction + u": no import is running."_s);
        return ImportOutcome::Failed;
    }
    // Both statements through the prepared cache: the duplicate test has one form per set of
    // empty columns, the insert one form.
    const sql::BoundClause clause = sql::matchClause(kDuplicateColumns, contact);
    QSqlQuery *present = preparedQuery(u"SELECT 1 FROM address_book WHERE "_s + clause.condition
                                           + u" LIMIT 1"_s, kImportAction);
    if (!present)
        return ImportOutcome::Failed;
    for (int i = 0; i < clause.values.size(); ++i)
        present->bindValue(i, clause.values.at(i));
    if (!runQuery(*present, kImportAction))
        return ImportOutcome::Failed;
    const bool duplicate = present->next();
    present->finish();
    if (duplicate)
        return ImportOutcome::Duplicate;

    QSqlQuery *insert = preparedQuery(sql::insertContact(), kImportAction);
    if (!insert)
        return ImportOutcome::Failed;
    const QVariantList values = sql::insertValues(contact);
    for (int i = 0; i < values.size(); ++i)
        insert->bindValue(i, values.at(i));
    const bool ok = runQuery(*insert, kImportAction);
    insert->finish();
    return ok ? ImportOutcome::Added : ImportOutcome::Failed;
}

bool AddressDatabase::commitImportBatch()
{
    if (!d->importBatch)
        return fail(kImportAction + u": no import is running."_s);
    QSqlQuery control = newQuery();
    if (!control.exec(u"COMMIT"_s)) {
        fail(kImportAction, control.lastError());
        abortImportBatch();
        return false;
    }
    d->importBatch = false;
    return true;
}

void AddressDatabase::abortImportBatch()
{
    if (!d->importBatch)
        return;
    d->importBatch = false;
    QSqlQuery control = newQuery();
    if (!control.exec(u"ROLLBACK"_s))
        qCDebug(lcAddressBook) << "rollback failed:" << control.lastError().text();
}

} // namespace dpx
