// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Imports a vCard or CSV file into the address database: each card or row becomes a new
// contact unless one with the same name, nickname and four numbers is present.

#include "addressbook/ContactFileReader.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace dpx {

class AddressDatabase;

struct ImportSummary {
    static constexpr int kMostDetails = 500;

    QString filePath;
    bool fileRead = false; // false: the file could not be read at all (fileError says why)
    ContactFileReader::Error fileError = ContactFileReader::Error::None;
    QString error;         // why the file could not be read, or why writing stopped
    bool cancelled = false;
    int added = 0;         // rows really stored (committed)
    int duplicates = 0;
    int failed = 0;        // cards or rows that could not be read
    int skipped = 0;       // groups, empty cards and rows
    QStringList details;   // failures, skipped items and numbers without a column, in file order

    // "匯入完成:新增 …" or "匯入已取消:新增 …"; the error follows on its own line. For a file
    // that could not be read, only why.
    QString text() const;
    void addDetail(const QString &detail);
};

class ContactImporter {
public:
    static constexpr int kCommitEveryContacts = 500;
    static constexpr int kCommitEveryMs = 250;

    explicit ContactImporter(AddressDatabase &database);

    // Called now and then with bytes read and the file's size.
    void setProgress(std::function<void(qint64, qint64)> progress) { m_progress = std::move(progress); }
    // When set and true the import stops; what it committed stays.
    void setCancelFlag(const std::atomic_bool *cancel) { m_cancel = cancel; }

    ImportSummary importFile(const QString &path, const QByteArray &legacyEncoding);
    ImportSummary importReader(ContactFileReader &reader);

private:
    AddressDatabase &m_db;
    std::function<void(qint64, qint64)> m_progress;
    const std::atomic_bool *m_cancel = nullptr;
};

} // namespace dpx
