// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactColumns.h"

#include <QString>

#include <array>

namespace dpx {

// One address_book row in memory: the 31 texts in column order and the has-picture flag.
// An empty text stands for "no value" (stored as NULL), except the name, which is stored
// as text even when empty.
class ContactRecord {
public:
    // Texts by position 0..30; positions outside that range read empty and are not written.
    QString text(int column) const;
    void setText(int column, const QString &value);

    QString text(ContactColumn column) const { return text(columnIndex(column)); }
    void setText(ContactColumn column, const QString &value) { setText(columnIndex(column), value); }

    // By column name, letter case ignored. "ishavepicture" reads "1" or "0" and is set from a
    // decimal text (1 or more means a picture). Returns false for an unknown name.
    QString text(QAnyStringView columnName) const;
    bool setText(QAnyStringView columnName, const QString &value);

    bool hasPicture() const { return m_hasPicture; }
    void setHasPicture(bool hasPicture) { m_hasPicture = hasPicture; }

    QString name() const { return m_texts[0]; }

    void clear();
    bool operator==(const ContactRecord &other) const = default;

private:
    std::array<QString, kContactTextColumnCount> m_texts;
    bool m_hasPicture = false;
};

// Decimal text-to-integer conversion as the settings and flag readers use it: leading blanks,
// an optional sign and the digits that follow; anything else (or nothing) gives 0.
int decimalValue(QStringView text);

} // namespace dpx
