// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Statement pieces shared by the database, the cursor and the writers (not installed).

#include "addressbook/ContactRecord.h"

#include <QString>
#include <QVariant>

#include <span>

class QSqlError;

namespace dpx::sql {

// A WHERE condition with its values in placeholder order.
struct BoundClause {
    QString condition;
    QVariantList values;
};

// Compares `columns` with the key: the name always as text (an empty name matches ''),
// every other empty value with IS NULL, every other value with "= ?".
BoundClause matchClause(std::span<const ContactColumn> columns, const ContactRecord &key);

QString selectAllByName();
QString selectWhere(const BoundClause &clause);
QString deleteWhere(const BoundClause &clause);
QString insertContact();
QVariantList insertValues(const ContactRecord &contact);

// An empty text is stored as NULL; the name is stored as text even when empty.
QVariant storedText(const QString &value);
QVariant storedName(const QString &value);

// A sentence for the user: what went wrong, from SQLite's result code and message.
QString describeError(const QSqlError &error);

} // namespace dpx::sql
