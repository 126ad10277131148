// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// RFC 4180 records on decoded text: quoted fields, "" inside quotes, line breaks inside quotes,
// CRLF, LF or CR ending a record.

#include <QString>
#include <QStringList>

namespace dpx {

class CsvParser {
public:
    CsvParser(const QString &text, QChar delimiter);

    struct Record {
        QStringList fields;
        int line = 0;  // where the record starts (1-based)
        QString fault; // set for an unterminated quote (the record runs to the end of the text)
    };
    // The next record; false at the end of the text.
    bool next(Record &record);
    qsizetype position() const { return m_pos; }

private:
    QString m_text;
    QChar m_delimiter;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace dpx
