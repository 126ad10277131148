// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// CSV rows of contact exports (the English desktop mail export, both forms of the webmail
// export) as ContactRecords, by header name.

#include "addressbook/ImportEntry.h"

#include <QHash>
#include <QMap>
#include <QList>
#include <QStringList>

namespace dpx {

class CsvContactLayout {
public:
    // Reads the header row (names trimmed, letter case ignored).
    explicit CsvContactLayout(const QStringList &header);

    // How many header names are known contact fields; 0 means the file holds no contacts.
    int knownColumns() const { return m_known; }
    int columnCount() const { return m_columnCount; }

    // One row (fields beyond the header's fail the row; missing ones count as empty).
    ImportEntry entry(const QStringList &fields, int line) const;

    enum class Field;

private:
    struct Phone {
        int type = -1; // "Phone N - Type" / "- Label"
        int value = -1;
    };
    struct Address {
        int type = -1;
        int street = -1, street2 = -1, street3 = -1, poBox = -1, extended = -1;
        int city = -1, region = -1, postalCode = -1, country = -1;
    };

    void readIndexedColumn(const QString &name, int column);

    QHash<int, int> m_fieldColumn; // Field -> column
    QMap<int, Phone> m_phones;     // the webmail export's numbered phones
    Address m_business, m_home;    // the desktop export's address columns
    QMap<int, Address> m_addresses; // the webmail export's numbered addresses
    QMap<int, int> m_emails, m_webPages; // number -> column (0: the desktop export's column)
    QList<std::pair<int, QString>> m_otherPhones; // numbers without a column: column, label
    int m_known = 0;
    int m_columnCount = 0;
};

} // namespace dpx
