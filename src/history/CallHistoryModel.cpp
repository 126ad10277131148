// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/CallHistoryModel.h"

#include "addressbook/AddressDatabase.h"

#include <algorithm>

namespace dpx {

CallHistoryModel::CallHistoryModel(AddressDatabase *database, QObject *parent)
    : QAbstractTableModel(parent), m_database(database)
{
    m_lookup = [this](const QString &number) {
        if (!m_database)
            return QString();
        const std::optional<CallerMatch> match = m_database->lookUpCaller(number);
        return match ? match->contact.name() : QString();
    };
}

bool CallHistoryModel::refresh()
{
    std::optional<QList<CallRecord>> calls;
    if (m_database)
        calls = m_database->readCalls();
    beginResetModel();
    m_calls = calls.value_or(QList<CallRecord>());
    m_names.clear();
    applyFilter();
    endResetModel();
    return calls.has_value();
}

void CallHistoryModel::setFilter(Filter filter)
{
    if (filter == m_filter)
        return;
    beginResetModel();
    m_filter = filter;
    applyFilter();
    endResetModel();
}

void CallHistoryModel::setSearchText(const QString &text)
{
    const QString search = text.trimmed();
    if (search == m_search)
        return;
    beginResetModel();
    m_search = search;
    // Only a search that is a number (digits and separators) compares digits alone.
    static const QString separators = QStringLiteral(" -()+./");
    const bool numberLike = std::all_of(search.cbegin(), search.cend(), [](QChar c) {
        return c.isDigit() || separators.contains(c);
    });
    m_searchDigits = numberLike ? numberDigits(search) : QString();
    applyFilter();
    endResetModel();
}

void CallHistoryModel::applyFilter()
{
    m_shown.clear();
    m_shown.reserve(m_calls.size());
    for (int i = 0; i < m_calls.size(); ++i) {
        if (matches(m_calls.at(i)))
            m_shown.append(i);
    }
}

bool CallHistoryModel::matches(const CallRecord &call) const
{
    switch (m_filter) {
    case All: break;
    case Missed:
        if (!call.isMissed())
            return false;
        break;
    case Incoming:
        if (!call.isIncoming())
            return false;
        break;
    case Outgoing:
        if (call.isIncoming())
            return false;
        break;
    }
    if (m_search.isEmpty())
        return true;
    if (call.number.contains(m_search, Qt::CaseInsensitive)
        || nameFor(call).contains(m_search, Qt::CaseInsensitive))
        return true;
    // A search made of a number and separators matches the number's digits.
    return !m_searchDigits.isEmpty() && numberDigits(call.number).contains(m_searchDigits);
}

QString CallHistoryModel::nameFor(const CallRecord &call) const
{
    if (call.number.isEmpty() || !m_lookup)
        return call.name;
    auto found = m_names.constFind(call.number);
    if (found == m_names.cend())
        found = m_names.insert(call.number, m_lookup(call.number));
    return found->isEmpty() ? call.name : *found;
}

int CallHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int CallHistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const CallRecord &CallHistoryModel::callAt(int row) const
{
    return m_calls.at(m_shown.at(row));
}

QString CallHistoryModel::shownName(int row) const
{
    return nameFor(callAt(row));
}

QList<CallRecord> CallHistoryModel::shownCalls() const
{
    QList<CallRecord> calls;
    calls.reserve(m_shown.size());
    for (int i : m_shown)
        calls.append(m_calls.at(i));
    return calls;
}

QStringList CallHistoryModel::shownNames() const
{
    QStringList names;
    names.reserve(m_shown.size());
    for (int i : m_shown)
        names.append(nameFor(m_calls.at(i)));
    return names;
}

CallHistoryModel::Kind CallHistoryModel::kindOf(const CallRecord &call)
{
    switch (call.direction) {
    case CallDirection::Outgoing: return Kind::Outgoing;
    case CallDirection::Intercom: return call.answered ? Kind::Intercom : Kind::IntercomMissed;
    case CallDirection::Incoming: break;
    }
    return call.answered ? Kind::Incoming : Kind::Missed;
}

QString CallHistoryModel::resultText(const CallRecord &call)
{
    switch (kindOf(call)) {
    case Kind::Incoming: return tr("來電");
    case Kind::Missed: return tr("未接");
    case Kind::Outgoing: return tr("撥出");
    case Kind::Intercom: return tr("內線來電");
    case Kind::IntercomMissed: return tr("內線未接");
    }
    return {};
}

QString CallHistoryModel::talkText(const CallRecord &call)
{
    if (!call.answered)
        return call.interrupted ? tr("(中斷)") : QString();
    const int s = call.talkSeconds;
    QString text = s >= 3600 ? QStringLiteral("%1:%2:%3")
                                   .arg(s / 3600)
                                   .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                   .arg(s % 60, 2, 10, QLatin1Char('0'))
                             : QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0'))
                                   .arg(s % 60, 2, 10, QLatin1Char('0'));
    if (call.interrupted)
        text += tr(" (中斷)");
    return text;
}

ContactColumn CallHistoryModel::contactColumnFor(const QString &number)
{
    QString digits = numberDigits(number);
    for (const QString &international : {QStringLiteral("00886"), QStringLiteral("886")}) {
        if (digits.startsWith(international)) {
            digits = u'0' + digits.mid(international.size());
            break;
        }
    }
    const bool mobile = digits.size() == 10 && digits.startsWith(QStringLiteral("09"));
    return mobile ? ContactColumn::MobileTelephoneNumber : ContactColumn::HomeTelephoneNumber;
}

QVariant CallHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const CallRecord &call = callAt(index.row());
    switch (role) {
    case KindRole: return int(kindOf(call));
    case IdRole: return call.id;
    case Qt::TextAlignmentRole:
        return index.column() == TalkColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case Qt::DisplayRole: break;
    default: return {};
    }
    switch (index.column()) {
    case TimeColumn:
        return call.started.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case NameColumn: return nameFor(call);
    case NumberColumn: return call.number;
    case ResultColumn: return resultText(call);
    case TalkColumn: return talkText(call);
    default: return {};
    }
}

QVariant CallHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn: return tr("時間");
    case NameColumn: return tr("姓名");
    case NumberColumn: return tr("電話號碼");
    case ResultColumn: return tr("類型");
    case TalkColumn: return tr("通話時間");
    default: return {};
    }
}

} // namespace dpx
