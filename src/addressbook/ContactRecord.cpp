// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactRecord.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace dpx {

int contactColumnIndex(QAnyStringView name)
{
    for (int i = 0; i < kContactColumnCount; ++i) {
        if (QAnyStringView::compare(name, kContactColumns[size_t(i)], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString ContactRecord::text(int column) const
{
    if (column < 0 || column >= kContactTextColumnCount)
        return {};
    return m_texts[size_t(column)];
}

void ContactRecord::setText(int column, const QString &value)
{
    if (column >= 0 && column < kContactTextColumnCount)
        m_texts[size_t(column)] = value;
}

QString ContactRecord::text(QAnyStringView columnName) const
{
    const int column = contactColumnIndex(columnName);
    if (column == columnIndex(ContactColumn::IsHavePicture))
        return m_hasPicture ? QStringLiteral("1") : QStringLiteral("0");
    return text(column);
}

bool ContactRecord::setText(QAnyStringView columnName, const QString &value)
{
    const int column = contactColumnIndex(columnName);
    if (column < 0)
        return false;
    if (column == columnIndex(ContactColumn::IsHavePicture))
        m_hasPicture = decimalValue(value) >= 1;
    else
        setText(column, value);
    return true;
}

void ContactRecord::clear()
{
    *this = ContactRecord();
}

int decimalValue(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max()) // clamp instead of overflowing
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

} // namespace dpx
