// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactCursor.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactSql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace dpx {

ContactCursor::ContactCursor(AddressDatabase &database)
    : m_db(&database)
{
    m_db->registerCursor(this);
}

ContactCursor::~ContactCursor()
{
    Close();
    if (m_db)
        m_db->unregisterCursor(this);
}

bool ContactCursor::QueryContacts(ContactQuery query, const ContactRecord &key)
{
    Close();
    if (!m_db)
        return false;
    const QString action = QStringLiteral("Could not read the address book");
    m_db->clearError();
    if (!m_db->IsOpen())
        return m_db->fail(action + u": the address database is not open."_s);

    sql::BoundClause clause;
    QString statement;
    switch (query) {
    case ContactQuery::AllByName:
        statement = sql::selectAllByName();
        break;
    case ContactQuery::Identity:
        clause = sql::matchClause(kIdentityColumns, key);
        statement = sql::selectWhere(clause);
        break;
    case ContactQuery::Duplicate:
        clause = sql::matchClause(kDuplicateColumns, key);
        statement = sql::selectWhere(clause);
        break;
    }

    auto result = std::make_unique<QSqlQuery>(m_db->newQuery());
    result->setForwardOnly(true);
    if (!result->prepare(statement))
        return m_db->fail(action, result->lastError());
    for (const QVariant &value : clause.values)
        result->addBindValue(value);
    if (!m_db->runQuery(*result, action))
        return false;

    const QSqlRecord fields = result->record();
    for (int column = 0; column < kContactColumnCount; ++column)
        m_fieldOf[size_t(column)] = fields.indexOf(kContactColumns[size_t(column)]);
    m_query = std::move(result);
    m_atEnd = !m_query->next();
    return true;
}

bool ContactCursor::IsOpen() const
{
    return m_query != nullptr;
}

bool ContactCursor::IsEOF() const
{
    return !m_query || m_atEnd;
}

void ContactCursor::MoveNext()
{
    if (m_query && !m_atEnd)
        m_atEnd = !m_query->next();
}

void ContactCursor::Close()
{
    m_query.reset();
    m_atEnd = true;
}

QString ContactCursor::textAt(int contactColumn) const
{
    if (IsEOF() || contactColumn < 0)
        return {};
    const int field = m_fieldOf[size_t(contactColumn)];
    if (field < 0)
        return {};
    const QVariant value = m_query->value(field);
    if (contactColumn == columnIndex(ContactColumn::IsHavePicture))
        return decimalValue(value.toString()) >= 1 ? QStringLiteral("1") : QStringLiteral("0");
    return value.isNull() ? QString() : value.toString();
}

QString ContactCursor::GetText(QAnyStringView columnName) const
{
    return textAt(contactColumnIndex(columnName));
}

ContactRecord ContactCursor::record() const
{
    ContactRecord contact;
    for (int column = 0; column < kContactTextColumnCount; ++column)
        contact.setText(column, textAt(column));
    contact.setHasPicture(textAt(columnIndex(ContactColumn::IsHavePicture)) == u"1"_s);
    return contact;
}

} // namespace dpx
