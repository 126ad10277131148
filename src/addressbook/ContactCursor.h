// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"

#include <QString>

#include <array>
#include <memory>

class QSqlQuery;

namespace dpx {

class AddressDatabase;

enum class ContactQuery {
    AllByName, // every contact in name order
    Identity,  // the rows with the key's identity (name and the eight listed columns)
    Duplicate, // the rows an import counts as the same contact
};

// A forward read cursor over address_book on one AddressDatabase, re-opened for each query.
// The database closes its cursors before any data-changing statement, so a write never runs
// while a cursor holds a result; read again after writing. Use it on the database's thread.
class ContactCursor {
public:
    explicit ContactCursor(AddressDatabase &database);
    ~ContactCursor();
    ContactCursor(const ContactCursor &) = delete;
    ContactCursor &operator=(const ContactCursor &) = delete;

    // Closes the cursor, runs the query and stands on the first row (or at the end when there
    // are none). False, with the database's lastError(), when the query could not run.
    bool QueryContacts(ContactQuery query = ContactQuery::AllByName, const ContactRecord &key = {});
    bool IsOpen() const;
    bool IsEOF() const; // also true when closed
    void MoveNext();
    void Close();

    // The current row's column by name (letter case ignored): NULL reads as empty,
    // ishavepicture as "1" or "0". Empty at the end, when closed or for an unknown column.
    QString GetText(QAnyStringView columnName) const;
    QString GetText(ContactColumn column) const { return textAt(columnIndex(column)); }
    // All 32 columns of the current row.
    ContactRecord record() const;

private:
    friend class AddressDatabase;
    QString textAt(int contactColumn) const;

    AddressDatabase *m_db = nullptr;
    std::unique_ptr<QSqlQuery> m_query;
    std::array<int, kContactColumnCount> m_fieldOf{}; // contact column -> result field, -1 if absent
    bool m_atEnd = true;
};

} // namespace dpx
