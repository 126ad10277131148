// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/PhoneBookTransfers.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/ContactJobs.h"
#include "addressbook/TextDecoding.h"
#include "ui/FileChooser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

QString settingsKey(PhoneBookTransfers::Source source)
{
    return source == PhoneBookTransfers::Source::VCard ? u"import/vcard"_s : u"import/csv"_s;
}

QStringList defaultImportChooser(QWidget *parent, PhoneBookTransfers::Source source)
{
    if (source == PhoneBookTransfers::Source::VCard)
        return chooseFiles(parent, {FileRequest::Mode::OpenMany, {}, {}, {},
                                    {u"vCard Files (*.vcf *.vcard)"_s, u"All Files (*)"_s}, {}});
    return chooseFiles(parent, {FileRequest::Mode::Open, {}, {}, {}, {u"CSV Files (*.csv)"_s, u"All Files (*)"_s}, {}});
}

QByteArray defaultEncodingChooser(QWidget *parent, const QString &file)
{
    bool ok = false;
    const QString choice = QInputDialog::getItem(
        parent, u"DPX"_s, PhoneBookTransfers::tr("%1 不是 UTF-8 文字,請選擇它的編碼:").arg(QFileInfo(file).fileName()),
        textdecoding::legacyEncodings(), 0, false, &ok);
    return ok ? choice.toLatin1() : QByteArray();
}

// Whether the file's text needs a legacy code page (no mark, not UTF-8).
bool needsLegacy(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || in.size() > ContactFileReader::kMostFileBytes)
        return false; // the import reports the file itself
    return textdecoding::needsLegacyEncoding(VCardParser::toUtf8Bytes(in.readAll()));
}

} // namespace

PhoneBookTransfers::PhoneBookTransfers(QWidget *window, AddressDatabase *database, Callbacks callbacks)
    : QObject(window), m_window(window), m_database(database), m_callbacks(std::move(callbacks))
{
    m_choosers.importFiles = [this](Source source) { return defaultImportChooser(m_window, source); };
    m_choosers.exportFile = [this] {
        return QFileDialog::getSaveFileName(m_window, QString(), u"contacts.vcf"_s,
                                            u"vCard Files (*.vcf *.vcard);;All Files (*)"_s);
    };
    m_choosers.legacyEncoding = [this](const QString &file) { return defaultEncodingChooser(m_window, file); };
}

PhoneBookTransfers::~PhoneBookTransfers()
{
    if (m_job)
        QApplication::restoreOverrideCursor();
    delete m_job; // waits for its worker
}

QString PhoneBookTransfers::settingsPath() const
{
    // Per data folder: the sources live beside the database they were imported into.
    return m_database ? QFileInfo(m_database->filePath()).absolutePath() + u"/import.ini"_s : QString();
}

QString PhoneBookTransfers::rememberedFile(Source source) const
{
    if (settingsPath().isEmpty())
        return {};
    return QSettings(settingsPath(), QSettings::IniFormat).value(settingsKey(source)).toStringList().join(u'\n');
}

QString PhoneBookTransfers::toolTip(Source source) const
{
    const QString files = rememberedFile(source);
    return files.isEmpty() ? tr("尚未選擇匯入的檔案") : tr("預設匯入:%1").arg(files);
}

void PhoneBookTransfers::remember(Source source, const QString &files)
{
    if (settingsPath().isEmpty())
        return;
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(settingsKey(source), files.split(u'\n'));
}

void PhoneBookTransfers::importFrom(Source source, bool browse)
{
    if (m_job)
        return;
    if (browse) {
        const QStringList files = m_choosers.importFiles(source);
        if (files.isEmpty()) {
            if (m_callbacks.refill)
                m_callbacks.refill(); // a cancelled chooser ends silently
            return;
        }
        importFiles(files, source, true);
        return;
    }
    const QStringList files = rememberedFile(source).split(u'\n', Qt::SkipEmptyParts);
    const bool gone = files.isEmpty()
        || std::any_of(files.cbegin(), files.cend(), [](const QString &file) { return !QFileInfo(file).isFile(); });
    if (gone) {
        m_callbacks.message(tr(source == Source::VCard ? NoVCardDefaultText : NoCsvDefaultText),
                            files.join(u'\n'));
        if (m_callbacks.refill)
            m_callbacks.refill();
        return;
    }
    importFiles(files, source, false);
}

void PhoneBookTransfers::importFiles(const QStringList &files, Source source, bool rememberFiles)
{
    if (m_job || files.isEmpty())
        return;
    if (!m_database) {
        m_callbacks.message(tr(source == Source::VCard ? NoVCardDefaultText : NoEntriesText),
                            u"The address database is not open."_s);
        return;
    }
    // Asked once per import, only when a file is not Unicode text.
    QByteArray legacy = textdecoding::defaultLegacyEncoding();
    for (const QString &file : files) {
        if (needsLegacy(file)) {
            legacy = m_choosers.legacyEncoding(file);
            if (legacy.isEmpty()) {
                if (m_callbacks.refill)
                    m_callbacks.refill();
                return;
            }
            break;
        }
    }
    if (rememberFiles)
        remember(source, files.join(u'\n'));
    m_source = source;
    m_lastSummaries.clear();
    m_job = new ContactImportJob(m_database->filePath(), files, legacy);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto *progress = new QProgressDialog(tr("匯入連絡人..."), tr("取消"), 0, 1000, m_window);
    progress->setObjectName(u"importProgress"_s);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setValue(0);
    m_progress = progress;
    connect(progress, &QProgressDialog::canceled, m_job, &Job::cancel);
    connect(m_job, &ContactImportJob::bytesRead, progress, [progress](qint64 done, qint64 total) {
        progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
    });
    connect(m_job, &ContactImportJob::fileImported, this,
            [this](const ImportSummary &summary) { m_lastSummaries.append(summary); });
    connect(m_job, &Job::finished, this, &PhoneBookTransfers::finishImport);
    m_job->start();
}

void PhoneBookTransfers::finishImport(int)
{
    const int added = m_job->addedContacts();
    m_job->deleteLater();
    m_job = nullptr;
    if (m_progress)
        m_progress->deleteLater();
    QApplication::restoreOverrideCursor();

    // One summary for all files; files that could not be read get their own message.
    ImportSummary total;
    total.fileRead = false;
    for (const ImportSummary &summary : std::as_const(m_lastSummaries)) {
        if (!summary.fileRead) {
            report(summary, m_source);
            continue;
        }
        total.fileRead = true;
        total.added += summary.added;
        total.duplicates += summary.duplicates;
        total.failed += summary.failed;
        total.cancelled = total.cancelled || summary.cancelled;
        if (!summary.error.isEmpty())
            total.error += (total.error.isEmpty() ? QString() : u"\n"_s) + summary.error;
        for (const QString &detail : summary.details)
            total.addDetail(m_lastSummaries.size() > 1 ? QFileInfo(summary.filePath).fileName() + u": "_s + detail
                                                       : detail);
    }
    if (total.fileRead)
        m_callbacks.message(total.text(), total.details.join(u'\n'));
    if (m_callbacks.refill)
        m_callbacks.refill();
    if (added > 0 && m_callbacks.contactsChanged)
        m_callbacks.contactsChanged();
    Q_EMIT importFinished(added);
}

void PhoneBookTransfers::report(const ImportSummary &summary, Source source)
{
    QString text;
    if (source == Source::VCard && !summary.filePath.endsWith(u".csv"_s, Qt::CaseInsensitive))
        text = QString::fromUtf8(NoVCardDefaultText);
    else if (summary.fileError == ContactFileReader::Error::NotContacts)
        text = tr(NotContactsText);
    else
        text = tr(NoEntriesText);
    m_callbacks.message(text, summary.filePath + u": "_s + summary.error);
}

void PhoneBookTransfers::exportContacts(const std::optional<QList<ContactRecord>> &identities)
{
    if (!m_database)
        return;
    const QString file = m_choosers.exportFile();
    if (file.isEmpty())
        return;
    std::optional<QList<ContactRecord>> contacts;
    if (identities) {
        // The list holds the listed columns; the file gets whole rows.
        contacts.emplace();
        ContactCursor cursor(*m_database);
        for (const ContactRecord &identity : *identities) {
            if (cursor.QueryContacts(ContactQuery::Identity, identity))
                for (; !cursor.IsEOF(); cursor.MoveNext())
                    contacts->append(cursor.record());
        }
    }
    ContactExportJob job(m_database->filePath(), file, contacts);
    connect(&job, &Job::finished, this, [this](int code, const QString &message) {
        if (code == Job::Done && m_callbacks.status)
            m_callbacks.status(message);
        else if (code != Job::Done)
            m_callbacks.message(message, QString());
    });
    job.start();
}

} // namespace dpx
