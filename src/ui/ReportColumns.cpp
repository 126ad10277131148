// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReportColumns.h"

#include <limits>

namespace dpx {

int leadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'
                               || text[i] == u'\r' || text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

QList<ReportColumn> parseColumnSpec(QStringView spec)
{
    QList<ReportColumn> columns;
    for (QStringView entry : spec.split(u';', Qt::SkipEmptyParts)) {
        const QList<QStringView> fields = entry.split(u',', Qt::SkipEmptyParts);
        if (fields.isEmpty())
            continue;
        ReportColumn column;
        column.heading = fields.at(0).toString();
        if (fields.size() > 1)
            column.width = leadingInteger(fields.at(1));
        if (fields.size() > 2) {
            const int align = leadingInteger(fields.at(2));
            column.align = align == 1   ? ReportColumn::Align::Centre
                         : align == 2 ? ReportColumn::Align::Right
                                      : ReportColumn::Align::Left;
        }
        columns << column;
    }
    return columns;
}

} // namespace dpx
