// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReportSortKey.h"

namespace dpx {

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

ReportSortContext::ReportSortContext(const QLocale &locale) : m_collator(locale)
{
    m_isoDate = {{u'y', 4, {}}, {u'M', 2, QStringLiteral("-")}, {u'd', 2, QStringLiteral("-")}};

    // The locale's short date format in numeric fields only ("yyyy/M/d", "M/d/yy", "dd.MM.yy").
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QList<DateField> fields;
    QString literal;
    bool numeric = true;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == u'y' || c == u'M' || c == u'd') {
            if ((c != u'y' && run > 2) || (c == u'y' && run != 2 && run != 4))
                numeric = false; // month or day names
            fields << DateField{c, c == u'y' ? 4 : 2, literal};
            literal.clear();
        } else if (c.isLetter() || c == u'\'') {
            numeric = false;
        } else {
            literal += QString(run, c);
        }
        i += run;
    }
    if (numeric && fields.size() == 3 && literal.isEmpty())
        m_localeDate = fields;
}

std::optional<QDate> ReportSortContext::readDateWith(QStringView text, const QList<DateField> &fields)
{
    if (fields.isEmpty())
        return std::nullopt;
    int year = -1, month = -1, day = -1;
    qsizetype at = 0;
    for (const DateField &field : fields) {
        if (!text.mid(at).startsWith(field.before))
            return std::nullopt;
        at += field.before.size();
        int value = 0, digits = 0;
        while (at < text.size() && isAsciiDigit(text[at]) && digits < field.maxDigits) {
            value = value * 10 + (text[at++].unicode() - u'0');
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        if (field.kind == u'y')
            year = digits <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
        else if (field.kind == u'M')
            month = value;
        else
            day = value;
    }
    if (at != text.size())
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QDate ReportSortContext::readDate(QStringView text) const
{
    if (text.size() < 5 || text.size() > 12 || !isAsciiDigit(text.front()) || !isAsciiDigit(text.back()))
        return {};
    if (auto date = readDateWith(text, m_localeDate))
        return *date;
    if (auto date = readDateWith(text, m_isoDate))
        return *date;
    return {};
}

ReportSortKey::ReportSortKey(const QString &text, const ReportSortContext &context) : m_text(text)
{
    if (text.isEmpty()) {
        m_kind = Kind::Empty;
    } else if (readNumber(text)) {
        m_kind = Kind::Number;
    } else if (const QDate date = context.readDate(text); date.isValid()) {
        m_kind = Kind::Date;
        m_day = date.toJulianDay();
    } else {
        m_kind = Kind::Text;
        m_collation = context.collator().sortKey(text);
    }
}

bool ReportSortKey::readNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype end = text.endsWith(u'%') ? text.size() - 1 : text.size();
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    const qsizetype integerStart = i;
    while (i < end && isAsciiDigit(text[i]))
        ++i;
    if (i == integerStart)
        return false;
    const qsizetype integerEnd = i;
    qsizetype fractionStart = i, fractionEnd = i;
    if (i < end && text[i] == u'.') {
        fractionStart = ++i;
        while (i < end && isAsciiDigit(text[i]))
            ++i;
        if (i == fractionStart)
            return false;
        fractionEnd = i;
    }
    if (i != end)
        return false;

    qsizetype firstSignificant = integerStart;
    while (firstSignificant < integerEnd && text[firstSignificant] == u'0')
        ++firstSignificant;
    while (fractionEnd > fractionStart && text[fractionEnd - 1] == u'0')
        --fractionEnd;
    m_integer = text.mid(firstSignificant, integerEnd - firstSignificant);
    m_fraction = text.mid(fractionStart, fractionEnd - fractionStart);
    m_negative = negative && !(m_integer.isEmpty() && m_fraction.isEmpty());
    return true;
}

int ReportSortKey::compare(const ReportSortKey &other) const
{
    if (m_kind != other.m_kind)
        return m_kind < other.m_kind ? -1 : 1;
    int order = 0;
    switch (m_kind) {
    case Kind::Empty:
        return 0;
    case Kind::Number:
        if (m_negative != other.m_negative) {
            order = m_negative ? -1 : 1;
        } else {
            int magnitude = sign(int(m_integer.size() - other.m_integer.size()));
            if (magnitude == 0)
                magnitude = sign(m_integer.compare(other.m_integer));
            if (magnitude == 0)
                magnitude = sign(m_fraction.compare(other.m_fraction));
            order = m_negative ? -magnitude : magnitude;
        }
        break;
    case Kind::Date:
        order = m_day < other.m_day ? -1 : (m_day > other.m_day ? 1 : 0);
        break;
    case Kind::Text:
        order = sign(m_collation->compare(*other.m_collation));
        break;
    }
    return order != 0 ? order : sign(m_text.compare(other.m_text));
}

} // namespace dpx
