// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The contact import and vCard export as jobs: the command line (headless or handed to the
// running program) and the phone book window run the same objects.

#include "addressbook/ContactImporter.h"
#include "addressbook/ContactRecord.h"
#include "job/Job.h"

#include <QList>
#include <QStringList>

#include <atomic>
#include <optional>

class QThread;

namespace dpx {

class AddressDatabase;

// Every contact of the database in name order; nullopt (with `error`) on failure.
std::optional<QList<ContactRecord>> allContacts(AddressDatabase &database, QString *error);

// Imports files one after the other on a worker thread with its own database connection; the
// caller's connection (and the caller lookup) read the committed rows meanwhile.
class ContactImportJob : public Job {
    Q_OBJECT
public:
    ContactImportJob(const QString &databasePath, const QStringList &files,
                     const QByteArray &legacyEncoding, QObject *parent = nullptr);
    ~ContactImportJob() override; // cancels and waits for the worker

    void start() override;
    void cancel() override;

    QList<ImportSummary> summaries() const { return m_summaries; }
    int addedContacts() const;

    // Ends 0 when every file was read (rows that failed or were skipped included), 1 when a
    // file could not be read or writing stopped. The message holds each file's summary.
    static int exitCodeOf(const QList<ImportSummary> &summaries);

Q_SIGNALS:
    void bytesRead(qint64 done, qint64 total); // of the file being read
    void fileImported(const dpx::ImportSummary &summary);

private:
    void finishOnOwnThread();

    QString m_databasePath;
    QStringList m_files;
    QByteArray m_legacy;
    std::atomic_bool m_cancel = false;
    QThread *m_worker = nullptr;
    QList<ImportSummary> m_summaries;
};

// Writes contacts as a vCard file: the given ones, or every contact of the database.
class ContactExportJob : public Job {
    Q_OBJECT
public:
    ContactExportJob(const QString &databasePath, const QString &file,
                     std::optional<QList<ContactRecord>> contacts = std::nullopt, QObject *parent = nullptr);
    void start() override;

private:
    QString m_databasePath;
    QString m_file;
    std::optional<QList<ContactRecord>> m_contacts;
};

} // namespace dpx
