// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/CsvParser.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace dpx {

CsvParser::CsvParser(const QString &text, QChar delimiter)
    : m_text(text)
    , m_delimiter(delimiter)
{
}

bool CsvParser::next(Record &record)
{
    record = Record();
    if (m_pos >= m_text.size())
        return false;
    record.line = m_line;
    const QChar *text = m_text.constData();
    const qsizetype size = m_text.size();
    QString field;
    auto endOfLine = [&](qsizetype i) {
        // Steps over one CRLF, LF or CR at i; returns the position after it.
        ++m_line;
        return (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n') ? i + 2 : i + 1;
    };
    qsizetype i = m_pos;
    while (true) {
        if (i < size && text[i] == u'"') {
            // Quoted: runs to the quote not followed by another one.
            const int quoteLine = m_line;
            ++i;
            bool closed = false;
            while (i < size) {
                if (text[i] == u'"') {
                    if (i + 1 < size && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (text[i] == u'\r' || text[i] == u'\n') {
                    const qsizetype after = endOfLine(i);
                    field += QStringView(text + i, after - i);
                    i = after;
                    continue;
                }
                field += text[i++];
            }
            if (!closed) {
                record.fault = QCoreApplication::translate("ContactImport", "第 %1 行起的引號沒有結束").arg(quoteLine);
                record.fields.append(field);
                m_pos = size;
                return true;
            }
        }
        // Unquoted text (or what follows a closing quote) up to the delimiter or the line end.
        const qsizetype start = i;
        while (i < size && text[i] != m_delimiter && text[i] != u'\r' && text[i] != u'\n')
            ++i;
        field += QStringView(text + start, i - start);
        record.fields.append(field);
        field.clear();
        if (i >= size) {
            m_pos = size;
            return true;
        }
        if (text[i] == m_delimiter) {
            ++i;
            continue;
        }
        m_pos = endOfLine(i);
        return true;
    }
}

} // namespace dpx
