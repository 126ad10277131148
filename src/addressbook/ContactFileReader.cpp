// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactFileReader.h"

#include "addressbook/TextDecoding.h"
#include "addressbook/VCardContact.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace dpx {

QString lineNote(int line, const QString &text)
{
    return QCoreApplication::translate("ContactImport", "第 %1 行:%2").arg(line).arg(text);
}

bool ContactFileReader::fail(Error error, const QString &text)
{
    m_error = error;
    m_errorText = text;
    return false;
}

bool ContactFileReader::open(const QString &path, const QByteArray &legacyEncoding)
{
    const QFileInfo info(path);
    if (!info.exists())
        return fail(Error::Unreadable, QCoreApplication::translate("ContactImport", "找不到檔案"));
    if (!info.isFile())
        return fail(Error::Unreadable, QCoreApplication::translate("ContactImport", "不是檔案"));
    if (info.size() > kMostFileBytes)
        return fail(Error::Unreadable, QCoreApplication::translate("ContactImport", "檔案超過 128 MiB"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Error::Unreadable, file.errorString());
    // Read with a bound: the file may have grown since it was measured.
    const QByteArray data = file.read(kMostFileBytes + 1);
    if (data.size() > kMostFileBytes)
        return fail(Error::Unreadable, QCoreApplication::translate("ContactImport", "檔案超過 128 MiB"));
    if (file.error() != QFileDevice::NoError)
        return fail(Error::Unreadable, file.errorString());
    return openData(data, legacyEncoding);
}

bool ContactFileReader::openData(const QByteArray &data, const QByteArray &legacyEncoding)
{
    m_error = Error::None;
    m_errorText.clear();
    m_legacy = legacyEncoding;
    m_totalBytes = data.size();
    m_vcards.reset();
    m_csv.reset();
    m_layout.reset();
    if (VCardParser::looksLikeVCard(data)) {
        m_format = ContactFileFormat::VCard;
        m_vcards = std::make_unique<VCardParser>(data);
        return true;
    }
    m_format = ContactFileFormat::Csv;
    const std::optional<QString> text = textdecoding::decodeFile(data, legacyEncoding);
    if (!text)
        return fail(Error::Undecodable,
                    QCoreApplication::translate("ContactImport", "內容不是有效的 %1 文字").arg(QString::fromLatin1(
                        textdecoding::byteOrderMark(data) ? textdecoding::byteOrderMark(data)->encoding
                        : legacyEncoding)));
    // The delimiter is the one whose header row names the most contact fields.
    int best = 0;
    for (QChar delimiter : {u',', u';', u'\t'}) {
        CsvParser parser(*text, delimiter);
        CsvParser::Record header;
        if (!parser.next(header) || !header.fault.isEmpty())
            continue;
        auto layout = std::make_unique<CsvContactLayout>(header.fields);
        if (layout->knownColumns() > best) {
            best = layout->knownColumns();
            m_layout = std::move(layout);
            m_csv = std::make_unique<CsvParser>(std::move(parser));
        }
    }
    if (!m_layout)
        return fail(Error::NotContacts, QCoreApplication::translate("ContactImport", "標題列沒有可辨識的欄位"));
    m_textSize = text->size();
    return true;
}

bool ContactFileReader::next(ImportEntry &entry)
{
    if (m_vcards) {
        VCardCard card;
        if (!m_vcards->next(card))
            return false;
        entry = vcardEntry(card, m_legacy);
        return true;
    }
    if (!m_csv)
        return false;
    CsvParser::Record record;
    while (m_csv->next(record)) {
        if (!record.fault.isEmpty()) {
            entry = ImportEntry{ImportEntry::Kind::Failed, record.line, {}, record.fault, {}};
            return true;
        }
        const bool blank = std::all_of(record.fields.cbegin(), record.fields.cend(),
                                       [](const QString &field) { return field.trimmed().isEmpty(); });
        if (blank) {
            entry = ImportEntry{ImportEntry::Kind::Skipped, record.line, {}, QCoreApplication::translate("ContactImport", "略過空白列"), {}};
            return true;
        }
        entry = m_layout->entry(record.fields, record.line);
        return true;
    }
    return false;
}

qint64 ContactFileReader::bytesRead() const
{
    if (m_vcards)
        return m_vcards->size() ? m_vcards->position() * m_totalBytes / m_vcards->size() : 0;
    if (m_csv && m_textSize)
        return m_csv->position() * m_totalBytes / m_textSize;
    return 0;
}

} // namespace dpx
