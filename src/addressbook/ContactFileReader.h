// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An imported file, vCard or CSV (told apart by content), read card by card or row by row.

#include "addressbook/CsvContact.h"
#include "addressbook/CsvParser.h"
#include "addressbook/ImportEntry.h"
#include "addressbook/VCardParser.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace dpx {

enum class ContactFileFormat { VCard, Csv };

class ContactFileReader {
public:
    static constexpr qint64 kMostFileBytes = 128 * 1024 * 1024;

    enum class Error {
        None,
        Unreadable,   // missing, not a file, too large or unreadable
        Undecodable,  // a CSV file whose bytes are not text in its encoding
        NotContacts,  // a CSV file whose header row names no contact field
    };

    // Reads the file; `legacyEncoding` decodes text that is neither marked nor valid UTF-8.
    bool open(const QString &path, const QByteArray &legacyEncoding);
    bool openData(const QByteArray &data, const QByteArray &legacyEncoding);

    Error error() const { return m_error; }
    QString errorText() const { return m_errorText; }
    ContactFileFormat format() const { return m_format; }

    // The next card or row; false at the end.
    bool next(ImportEntry &entry);
    qint64 bytesRead() const;
    qint64 totalBytes() const { return m_totalBytes; }

private:
    bool fail(Error error, const QString &text);

    Error m_error = Error::None;
    QString m_errorText;
    ContactFileFormat m_format = ContactFileFormat::VCard;
    QByteArray m_legacy;
    qint64 m_totalBytes = 0;
    std::unique_ptr<VCardParser> m_vcards;
    std::unique_ptr<CsvParser> m_csv;
    std::unique_ptr<CsvContactLayout> m_layout;
    qsizetype m_textSize = 0;
};

} // namespace dpx
