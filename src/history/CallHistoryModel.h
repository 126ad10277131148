// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactColumns.h"
#include "phone/CallRecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

#include <functional>

namespace dpx {

class AddressDatabase;

// The call history as a table, newest first, read in one query. The name shown follows the
// phone book: it is looked up (once per number) when a row is first shown, with the name found
// at call time as the fallback. A filter and a search text choose the rows shown.
class CallHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, NameColumn, NumberColumn, ResultColumn, TalkColumn, ColumnCount };
    enum Filter { All, Missed, Incoming, Outgoing };
    // Roles beyond Qt's: the call's kind for the view's icon, and the row's id.
    enum Role { KindRole = Qt::UserRole + 1, IdRole };
    enum class Kind { Incoming, Missed, Outgoing, Intercom, IntercomMissed };
    // The contact's name for a number, empty when none.
    using NameLookup = std::function<QString(const QString &number)>;

    explicit CallHistoryModel(AddressDatabase *database, QObject *parent = nullptr);

    // Names come from the address book's caller lookup unless another lookup is set.
    void setNameLookup(NameLookup lookup) { m_lookup = std::move(lookup); }

    // Reads the history again (and forgets the names looked up). False when it cannot be read.
    bool refresh();
    void setFilter(Filter filter);
    Filter filter() const { return m_filter; }
    // Matches the name shown or the number; the digits of a search with digits match whatever
    // separators the number has.
    void setSearchText(const QString &text);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const CallRecord &callAt(int row) const;
    QString shownName(int row) const;
    // The rows shown, in order: for the export.
    QList<CallRecord> shownCalls() const;
    QStringList shownNames() const;
    int totalCount() const { return int(m_calls.size()); }

    static Kind kindOf(const CallRecord &call);
    static QString resultText(const CallRecord &call);
    static QString talkText(const CallRecord &call);
    // Where a number goes in a new contact: the mobile column for a mobile number (09 and
    // eight digits, also written +886 9...), else the home telephone.
    static ContactColumn contactColumnFor(const QString &number);

private:
    QString nameFor(const CallRecord &call) const;
    bool matches(const CallRecord &call) const;
    void applyFilter();

    AddressDatabase *m_database = nullptr;
    NameLookup m_lookup;
    QList<CallRecord> m_calls;
    QList<int> m_shown; // indexes into m_calls
    Filter m_filter = All;
    QString m_search;
    QString m_searchDigits;
    mutable QHash<QString, QString> m_names; // number -> name in the phone book ("" when none)
};

} // namespace dpx
