// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/CallerMatch.h"
#include "addressbook/ContactRecord.h"
#include "addressbook/PhoneBookTreeEntry.h"
#include "addressbook/PhoneSettings.h"
#include "phone/CallRecord.h"

#include <QList>

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QSqlError;
class QSqlQuery;

namespace dpx {

class ContactCursor;

// One SQLite connection to the address database file (tables address_book and phone_setting).
// Each thread uses its own object with its own Qt connection name (see clone()); the object is
// opened, used and closed on that thread. Every value goes to SQLite as a bound parameter.
// Every data-changing operation first closes the cursors made on this object.
//
// Failures return false (or -1 / nullopt) and leave a readable text in lastError(); an
// operation clears it when it starts. A missing file is the one failure without a text: the
// program starts without an address book and says nothing.
class AddressDatabase {
public:
    static constexpr int kDefaultBusyTimeoutMs = 3000;

    AddressDatabase(const QString &filePath, const QString &connectionName);
    ~AddressDatabase(); // closes the connection if open
    AddressDatabase(const AddressDatabase &) = delete;
    AddressDatabase &operator=(const AddressDatabase &) = delete;

    // A second, closed connection to the same file for another thread.
    std::unique_ptr<AddressDatabase> clone(const QString &connectionName) const;

    QString filePath() const;
    QString connectionName() const;

    // How long a statement waits for another connection's write lock before it fails.
    // Takes effect at the next Open().
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const;

    // Opens the existing file (never creates one) and checks that it holds both tables.
    // True at once when already open. A missing file gives false with an empty lastError().
    bool Open();
    bool IsOpen() const;
    void Close();
    QString lastError() const;

    // Runs one data-changing statement with its values bound in order.
    bool Execute(const QString &statement, const QVariantList &values = {});

    // Contacts. The identity is the name and the eight listed columns; an empty name matches
    // the stored empty name, any other empty value matches NULL.
    bool insertContact(const ContactRecord &contact);
    int deleteContact(const ContactRecord &identity); // rows removed (duplicates included), -1 on failure
    // Deletes the rows of `identity` and inserts `contact` in one transaction: when anything
    // fails, the old rows stay as they were.
    bool replaceContact(const ContactRecord &identity, const ContactRecord &contact);
    // Imports write many contacts in one write transaction, committed in steps by the caller.
    enum class ImportOutcome { Added, Duplicate, Failed };
    bool beginImportBatch(); // takes the write lock (BEGIN IMMEDIATE)
    // Inserts the contact unless a row with the same kDuplicateColumns values is present
    // (uncommitted rows of this batch included). A failed insert changes nothing.
    ImportOutcome importContact(const ContactRecord &contact);
    // Commits what the batch wrote and ends it; when COMMIT fails it is all rolled back.
    bool commitImportBatch();
    void abortImportBatch(); // rolls back what is not committed
    bool importBatchActive() const;

    // The first contact in name order with `number` in one of its nine number columns
    // (ASCII letter case ignored). nullopt for no match, an empty number or a failure.
    std::optional<ContactRecord> findContactByNumber(const QString &number);

    // The contact a caller's number belongs to, tried in this order over the nine number
    // columns (kCallerNumberColumns), each time the first contact in name order winning:
    //  1. Exact: the same text, as findContactByNumber();
    //  2. Digits: the same numberDigits();
    //  3. Suffix: the shorter number, its leading zeros dropped, is the whole ending of the
    //     longer one and has kMinSuffixDigits or more digits; the longest ending wins, then
    //     name order.
    // nullopt for a number without digits, no match or a failure (lastError() tells). Opens the
    // connection when it is closed. Indexed (a few index look-ups) when the file holds the
    // number index; a read-only file from before the index is read row by row instead.
    std::optional<CallerMatch> lookUpCaller(const QString &number);
    // Whether lookups on this connection use the number index.
    bool hasNumberIndex() const;

    // Every contact in name order with the five columns of the main window's phone-book tree,
    // in one query. nullopt on failure.
    std::optional<QList<PhoneBookTreeEntry>> readPhoneBookTree();

    // Every contact in name order with the nine columns of its identity (the phone book's
    // list), in one query. nullopt on failure.
    std::optional<QList<ContactRecord>> readPhoneBookList();
    // Deletes the rows of every identity in one transaction: all or nothing. The rows removed,
    // -1 on failure (then nothing is deleted).
    int deleteContacts(const QList<ContactRecord> &identities);
    // Whether a row with a picture has this name and mobile number joined (the key its picture
    // file is named after). nullopt on failure.
    std::optional<bool> isPictureClaimed(const QString &name, const QString &mobileNumber);

    // The phone_setting row with the readers' conversions; defaults when nothing can be read.
    PhoneSettings ReadSettingsRow();
    // The settings updates change the single row (re-created with the seed values first if
    // someone removed it, so that a saved setting is never silently dropped).
    bool updateSkin(int skin);
    bool updateLineCode(const QString &lineCode);     // empty is stored as "0"
    bool updatePhoneType(PhoneType type);             // "DX" or "SD"
    bool updateShowCallerCard(bool show);             // 1 or 0
    bool updateCoRing(const QString &ringFilePath);   // empty is stored as NULL
    bool updateIcmRing(const QString &ringFilePath);  // empty is stored as NULL
    // Writes the columns the change holds in one transaction: all of them or none.
    // An empty change writes nothing and succeeds.
    bool savePhoneSettings(const PhoneSettingsChange &change);

    // The call history: table call_history, which Open() adds to a file that lacks it (the
    // contact tables stay as they are). Calls are read newest first; times are UTC.
    bool hasCallHistory() const;
    // Writes one ended call and, in the same transaction, drops the calls beyond the newest
    // kCallHistoryLimit. The new row's id, or 0 on failure.
    qint64 recordCall(const CallRecord &call);
    // Every kept call, newest first, in one query. nullopt on failure.
    std::optional<QList<CallRecord>> readCalls();
    int countCalls(); // -1 on failure
    // Removes the calls with these ids; the number removed, -1 on failure.
    int deleteCalls(const QList<qint64> &ids);
    bool clearCalls();

private:
    friend class ContactCursor;
    struct Private;

    struct IndexedOutcome;
    struct IndexedStep;

    void prepareNumberIndex();
    void prepareCallHistory();
    bool runHistoryWrite(const QString &action, const std::function<bool()> &work);
    std::optional<CallerMatch> matchNumber(const QString &number, const QString &digits,
                                           bool exactOnly);
    IndexedOutcome matchByIndex(const QString &number, const QString &digits, bool exactOnly);
    IndexedOutcome runIndexedStep(const IndexedStep &step);
    IndexedOutcome runSuffixStep(const QString &digits);
    std::optional<CallerMatch> matchByScan(const QString &number, const QString &digits,
                                           bool exactOnly);

    void registerCursor(ContactCursor *cursor);
    void unregisterCursor(ContactCursor *cursor);
    void closeCursors();
    void clearError();
    QSqlQuery newQuery() const;
    // A forward-only read prepared on the open connection; nullopt (and the error set) when
    // the connection is closed or the statement does not prepare.
    std::optional<QSqlQuery> prepareRead(const QString &statement, const QString &action);
    // The statement prepared on this connection, kept for the next call; nullptr (and the
    // error set) when it does not prepare. Reset it with finish() once its rows are read.
    QSqlQuery *preparedQuery(const QString &statement, const QString &action);

    // Checks the connection, clears the error and closes the cursors before a write.
    bool beginWrite(const QString &action);
    bool runQuery(QSqlQuery &query, const QString &action);
    bool runStatement(const QString &statement, const QVariantList &values, const QString &action,
                      int *rowsAffected = nullptr);
    bool runInTransaction(const QString &action, const std::function<bool()> &work);
    bool updateSetting(const QString &column, const QVariant &value, const QString &action);
    bool writeSettingColumn(const QString &column, const QVariant &value, const QString &action);
    bool fail(const QString &action, const QSqlError &error);
    bool fail(const QString &message);

    std::unique_ptr<Private> d;
};

} // namespace dpx
