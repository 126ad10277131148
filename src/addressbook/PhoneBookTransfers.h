// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactImporter.h"
#include "addressbook/ContactRecord.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QProgressDialog;
class QWidget;

namespace dpx {

class AddressDatabase;
class ContactImportJob;

// The phone book's contact imports and exports: the two import buttons with their remembered
// sources, dropped files, the list's export entries, the progress dialog and the summary.
// Imports run as a ContactImportJob on a worker thread; the window stays usable.
class PhoneBookTransfers : public QObject {
    Q_OBJECT
public:
    static constexpr const char *NoVCardDefaultText = QT_TR_NOOP("No Default !");
    static constexpr const char *NoCsvDefaultText = QT_TR_NOOP("沒有發現默認的Outlook聯繫人文件夾﹗");
    static constexpr const char *NotContactsText = QT_TR_NOOP("不是聯繫人文件夾﹗");
    static constexpr const char *NoEntriesText = QT_TR_NOOP("不能得到聯繫人條目﹗");

    enum class Source { VCard, Csv };

    // The dialogs, replaceable for tests. An empty answer is a cancelled dialog.
    struct Choosers {
        std::function<QStringList(Source)> importFiles;
        std::function<QString()> exportFile;
        std::function<QByteArray(const QString &file)> legacyEncoding;
    };
    struct Callbacks {
        std::function<void()> refill;          // the phone book list
        std::function<void()> contactsChanged; // the main window's tree
        std::function<void(const QString &text, const QString &detail)> message;
        std::function<void(const QString &)> status;
    };

    PhoneBookTransfers(QWidget *window, AddressDatabase *database, Callbacks callbacks);
    ~PhoneBookTransfers() override;

    void setChoosers(Choosers choosers) { m_choosers = std::move(choosers); }

    // The import buttons: `browse` picks files and remembers them; otherwise the remembered
    // source is imported again.
    void importFrom(Source source, bool browse);
    // Dropped or otherwise given files, each read as what its content is.
    void importFiles(const QStringList &files, Source source, bool remember);
    // Writes the contacts (all when `identities` is nullopt) to a file the user picks.
    void exportContacts(const std::optional<QList<ContactRecord>> &identities);

    bool isImporting() const { return m_job != nullptr; }
    QString rememberedFile(Source source) const;
    QString toolTip(Source source) const;
    QList<ImportSummary> lastSummaries() const { return m_lastSummaries; }

Q_SIGNALS:
    void importFinished(int added);

private:
    QString settingsPath() const;
    void remember(Source source, const QString &file);
    void finishImport(int exitCode);
    void report(const ImportSummary &summary, Source source);

    QWidget *m_window;
    AddressDatabase *m_database;
    Callbacks m_callbacks;
    Choosers m_choosers;
    ContactImportJob *m_job = nullptr;
    QPointer<QProgressDialog> m_progress;
    Source m_source = Source::VCard;
    QList<ImportSummary> m_lastSummaries;
};

} // namespace dpx
