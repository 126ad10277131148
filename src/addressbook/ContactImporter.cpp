// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactImporter.h"

#include "addressbook/AddressDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

using namespace Qt::StringLiterals;

namespace dpx {

QString ImportSummary::text() const
{
    if (!fileRead)
        return error;
    QString text = (cancelled ? QCoreApplication::translate("ContactImport", "匯入已取消:") : QCoreApplication::translate("ContactImport", "匯入完成:"))
        + QCoreApplication::translate("ContactImport", "新增 %1 位連絡人,略過重複 %2 位,無法讀取 %3 筆。").arg(added).arg(duplicates).arg(failed);
    if (!error.isEmpty())
        text += u'\n' + error;
    return text;
}

void ImportSummary::addDetail(const QString &detail)
{
    if (details.size() < kMostDetails)
        details.append(detail);
}

ContactImporter::ContactImporter(AddressDatabase &database)
    : m_db(database)
{
}

ImportSummary ContactImporter::importFile(const QString &path, const QByteArray &legacyEncoding)
{
    ContactFileReader reader;
    if (!reader.open(path, legacyEncoding)) {
        ImportSummary summary;
        summary.filePath = path;
        summary.fileError = reader.error();
        summary.error = reader.errorText();
        return summary;
    }
    ImportSummary summary = importReader(reader);
    summary.filePath = path;
    return summary;
}

ImportSummary ContactImporter::importReader(ContactFileReader &reader)
{
    ImportSummary summary;
    if (reader.error() != ContactFileReader::Error::None) {
        summary.fileError = reader.error();
        summary.error = reader.errorText();
        return summary;
    }
    summary.fileRead = true;
    if (!m_db.IsOpen() && !m_db.Open()) {
        summary.error = m_db.lastError().isEmpty() ? QCoreApplication::translate("ContactImport", "找不到通訊錄資料庫") : m_db.lastError();
        return summary;
    }
    if (!m_db.beginImportBatch()) {
        summary.error = m_db.lastError();
        return summary;
    }
    int pending = 0; // added since the last commit
    QElapsedTimer sinceCommit;
    sinceCommit.start();
    // Only committed rows count as added: a failed COMMIT rolls the others back.
    const auto commit = [&] {
        const bool ok = m_db.commitImportBatch();
        if (ok)
            summary.added += pending;
        pending = 0;
        sinceCommit.restart();
        return ok;
    };

    ImportEntry entry;
    bool writeFailed = false;
    while (reader.next(entry)) {
        for (const QString &note : std::as_const(entry.notes))
            summary.addDetail(note);
        switch (entry.kind) {
        case ImportEntry::Kind::Failed:
            ++summary.failed;
            summary.addDetail(lineNote(entry.line, entry.reason));
            break;
        case ImportEntry::Kind::Skipped:
            ++summary.skipped;
            summary.addDetail(lineNote(entry.line, entry.reason));
            break;
        case ImportEntry::Kind::Contact:
            switch (m_db.importContact(entry.contact)) {
            case AddressDatabase::ImportOutcome::Added:
                ++pending;
                break;
            case AddressDatabase::ImportOutcome::Duplicate:
                ++summary.duplicates;
                break;
            case AddressDatabase::ImportOutcome::Failed:
                writeFailed = true;
                summary.error = m_db.lastError();
                break;
            }
            break;
        }
        if (writeFailed)
            break;
        if (pending >= kCommitEveryContacts || sinceCommit.elapsed() >= kCommitEveryMs) {
            if (!commit() || !m_db.beginImportBatch()) {
                writeFailed = true;
                summary.error = m_db.lastError();
                break;
            }
            if (m_progress)
                m_progress(reader.bytesRead(), reader.totalBytes());
        }
        if (m_cancel && m_cancel->load()) {
            summary.cancelled = true;
            break;
        }
    }
    if (m_db.importBatchActive()) {
        const QString writeError = summary.error;
        if (!commit() && writeError.isEmpty())
            summary.error = m_db.lastError();
    }
    if (m_progress)
        m_progress(reader.totalBytes(), reader.totalBytes());
    return summary;
}

} // namespace dpx
