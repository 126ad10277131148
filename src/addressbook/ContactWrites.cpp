// SPDX-License-Identifier: GPL-3.0-or-later
// The contact writes of AddressDatabase.
#include "addressbook/AddressDatabase.h"

#include "addressbook/ContactSql.h"

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

} // namespace dpx
