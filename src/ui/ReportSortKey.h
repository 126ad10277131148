// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace dpx {

// How cells of a report list compare when a heading sorts them. Every cell falls in one class
// and the classes come in this order: empty cells, numbers, dates, texts. Numbers are
// [sign] digits [.digits] [%], compared exactly at any length; dates follow the numeric short
// date format of the locale (and ISO yyyy-MM-dd); texts compare by the locale's collation.
// Within a class equal values are ordered by their text's code points, so the order is total.
class ReportSortContext {
public:
    explicit ReportSortContext(const QLocale &locale = QLocale::system());

    const QCollator &collator() const { return m_collator; }
    // The date a cell reads as, or an invalid date.
    QDate readDate(QStringView text) const;

private:
    struct DateField {
        QChar kind;     // 'y', 'M' or 'd'
        int maxDigits;  // 4 for a year, else 2
        QString before; // the literal text in front of the field
    };
    static std::optional<QDate> readDateWith(QStringView text, const QList<DateField> &fields);

    QCollator m_collator;
    QList<DateField> m_localeDate; // empty when the locale's short format is not numeric
    QList<DateField> m_isoDate;
};

class ReportSortKey {
public:
    enum class Kind { Empty, Number, Date, Text };

    ReportSortKey() = default;
    ReportSortKey(const QString &text, const ReportSortContext &context);

    Kind kind() const { return m_kind; }
    // Negative, zero or positive as this key sorts before, with or after the other.
    int compare(const ReportSortKey &other) const;
    bool operator<(const ReportSortKey &other) const { return compare(other) < 0; }

private:
    bool readNumber(const QString &text);

    Kind m_kind = Kind::Empty;
    QString m_text;
    // Number: sign, integer digits without leading zeros, fraction without trailing zeros.
    bool m_negative = false;
    QString m_integer;
    QString m_fraction;
    qint64 m_day = 0; // Date: the Julian day
    std::optional<QCollatorSortKey> m_collation;
};

} // namespace dpx
