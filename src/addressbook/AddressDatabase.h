// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"
#include "addressbook/PhoneSettings.h"

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
    // The first contact in name order with `number` in one of its nine number columns
    // (ASCII letter case ignored). nullopt for no match, an empty number or a failure.
    std::optional<ContactRecord> findContactByNumber(const QString &number);

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

private:
    friend class ContactCursor;
    struct Private;

    void registerCursor(ContactCursor *cursor);
    void unregisterCursor(ContactCursor *cursor);
    void closeCursors();
    void clearError();
    QSqlQuery newQuery() const;

    // Checks the connection, clears the error and closes the cursors before a write.
    bool beginWrite(const QString &action);
    bool runQuery(QSqlQuery &query, const QString &action);
    bool runStatement(const QString &statement, const QVariantList &values, const QString &action,
                      int *rowsAffected = nullptr);
    bool runInTransaction(const QString &action, const std::function<bool()> &work);
    bool updateSetting(const QString &column, const QVariant &value, const QString &action);
    bool fail(const QString &action, const QSqlError &error);
    bool fail(const QString &message);

    std::unique_ptr<Private> d;
};

} // namespace dpx
