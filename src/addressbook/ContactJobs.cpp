// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactJobs.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/VCardWriter.h"

#include <QCoreApplication>
#include <QAtomicInt>
#include <QThread>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

QString connectionName(const char *purpose)
{
    static QAtomicInt serial;
    return u"dpx-%1-%2"_s.arg(QString::fromLatin1(purpose)).arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

std::optional<QList<ContactRecord>> allContacts(AddressDatabase &database, QString *error)
{
    if (!database.IsOpen() && !database.Open()) {
        *error = database.lastError().isEmpty() ? QCoreApplication::translate("ContactImport", "找不到通訊錄資料庫") : database.lastError();
        return std::nullopt;
    }
    ContactCursor cursor(database);
    if (!cursor.QueryContacts(ContactQuery::AllByName)) {
        *error = database.lastError();
        return std::nullopt;
    }
    QList<ContactRecord> contacts;
    for (; !cursor.IsEOF(); cursor.MoveNext())
        contacts.append(cursor.record());
    return contacts;
}

ContactImportJob::ContactImportJob(const QString &databasePath, const QStringList &files,
                                   const QByteArray &legacyEncoding, QObject *parent)
    : Job(parent)
    , m_databasePath(databasePath)
    , m_files(files)
    , m_legacy(legacyEncoding)
{
}

ContactImportJob::~ContactImportJob()
{
    if (m_worker) {
        m_cancel = true;
        m_worker->wait();
        delete m_worker;
    }
}

int ContactImportJob::addedContacts() const
{
    int added = 0;
    for (const ImportSummary &summary : m_summaries)
        added += summary.added;
    return added;
}

int ContactImportJob::exitCodeOf(const QList<ImportSummary> &summaries)
{
    for (const ImportSummary &summary : summaries) {
        if (!summary.fileRead || !summary.error.isEmpty())
            return Failed;
    }
    return Done;
}

void ContactImportJob::start()
{
    m_worker = QThread::create([this] {
        AddressDatabase db(m_databasePath, connectionName("import"));
        ContactImporter importer(db);
        importer.setCancelFlag(&m_cancel);
        importer.setProgress([this](qint64 done, qint64 total) { Q_EMIT bytesRead(done, total); });
        for (const QString &file : std::as_const(m_files)) {
            if (m_cancel)
                break;
            const ImportSummary summary = importer.importFile(file, m_legacy);
            QMetaObject::invokeMethod(this, [this, summary] {
                m_summaries.append(summary);
                for (const QString &detail : summary.details)
                    Q_EMIT progress(summary.filePath + u": "_s + detail);
                Q_EMIT fileImported(summary);
            }, Qt::QueuedConnection);
        }
        db.Close();
        QMetaObject::invokeMethod(this, &ContactImportJob::finishOnOwnThread, Qt::QueuedConnection);
    });
    m_worker->start();
}

void ContactImportJob::cancel()
{
    m_cancel = true;
}

void ContactImportJob::finishOnOwnThread()
{
    m_worker->wait();
    QStringList lines;
    for (const ImportSummary &summary : std::as_const(m_summaries))
        lines.append(summary.filePath + u": "_s + summary.text());
    Q_EMIT finished(exitCodeOf(m_summaries), lines.join(u'\n'));
}

ContactExportJob::ContactExportJob(const QString &databasePath, const QString &file,
                                   std::optional<QList<ContactRecord>> contacts, QObject *parent)
    : Job(parent)
    , m_databasePath(databasePath)
    , m_file(file)
    , m_contacts(std::move(contacts))
{
}

void ContactExportJob::start()
{
    QString error;
    if (!m_contacts) {
        AddressDatabase db(m_databasePath, connectionName("export"));
        m_contacts = allContacts(db, &error);
    }
    if (!m_contacts || !writeVCardFile(m_file, *m_contacts, &error)) {
        Q_EMIT finished(Failed, error);
        return;
    }
    Q_EMIT finished(Done, exportedText(int(m_contacts->size())));
}

} // namespace dpx
