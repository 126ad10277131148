// SPDX-License-Identifier: GPL-3.0-or-later
// The caller lookup of AddressDatabase: exact text, then digits, then a number's ending.
#include "addressbook/AddressDatabase.h"

#include "addressbook/AddressBookLog.h"
#include "addressbook/AddressDatabasePrivate.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactNumberIndex.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

const QString kLookupAction = QStringLiteral("Could not look the caller up");

// SQLite's NOCASE: only the ASCII letters fold.
bool equalIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const auto fold = [](QChar c) {
        return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

// The digits a suffix match rests on, or 0 when there is none: the shorter number, its leading
// zeros dropped, must be the whole ending of the longer one and at least kMinSuffixDigits long.
// A local number is found from its national form ("23456789" in "0223456789") and the national
// form from the international one ("223456789" in "886223456789"), but two numbers that only
// share their last digits ("0223456789", "0323456789") are different lines. Equal strings are
// a Digits match, not a suffix.
int commonSuffix(QStringView a, QStringView b)
{
    if (a == b)
        return 0;
    const auto significant = [](QStringView digits) {
        qsizetype zeros = 0;
        while (zeros < digits.size() && digits[zeros] == u'0')
            ++zeros;
        return digits.mid(zeros);
    };
    const QStringView shortA = significant(a), shortB = significant(b);
    const bool aShorter = shortA.size() <= shortB.size();
    const QStringView ending = aShorter ? shortA : shortB;
    const QStringView whole = aShorter ? b : a;
    if (ending.size() < kMinSuffixDigits || !whole.endsWith(ending))
        return 0;
    return int(ending.size());
}

ContactRecord contactFrom(const QSqlRecord &row)
{
    ContactRecord contact;
    for (int i = 0; i < row.count(); ++i) {
        const QVariant value = row.value(i);
        contact.setText(row.fieldName(i), value.isNull() ? QString() : value.toString());
    }
    return contact;
}

ContactColumn columnOfSlot(int slot)
{
    return kCallerNumberColumns[size_t(std::clamp(slot, 0, int(kCallerNumberColumns.size()) - 1))];
}

} // namespace

QString numberDigits(QStringView text)
{
    QString digits;
    int characters = 0;
    for (qsizetype i = 0; i < text.size() && characters < kNumberDigitsScanLength; ++i, ++characters) {
        const char16_t c = text[i].unicode();
        if (c == 0)
            break; // SQLite's length() ends there too
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character, and no digit
        else if (c >= u'0' && c <= u'9')
            digits.append(QChar(c));
        else if (c >= 0xFF10 && c <= 0xFF19)
            digits.append(QChar(u'0' + (c - 0xFF10)));
    }
    return digits;
}

struct AddressDatabase::IndexedStep {
    CallerMatchKind kind;
    QString condition; // SQL over contact_number AS n with one placeholder
    QString value;
};

struct AddressDatabase::IndexedOutcome {
    enum State { Found, NotFound, Stale, Failed } state = NotFound;
    std::optional<CallerMatch> match;
};

void AddressDatabase::prepareNumberIndex()
{
    d->numberIndexDistrusted = false;
    d->numberIndex = numberindex::isInstalled(d->db);
    if (!d->numberIndex)
        d->numberIndex = numberindex::install(d->db, false); // fails on a read-only or locked file
    installDuplicateIndex(d->db); // the same SQL runs without it, only slower
}

bool AddressDatabase::hasNumberIndex() const
{
    return IsOpen() && d->numberIndex && !d->numberIndexDistrusted;
}

std::optional<CallerMatch> AddressDatabase::lookUpCaller(const QString &number)
{
    clearError();
    const QString digits = numberDigits(number);
    if (digits.isEmpty())
        return std::nullopt;
    if (!IsOpen() && !Open())
        return std::nullopt; // a missing file leaves no text: nothing to look in
    return matchNumber(number, digits, false);
}

std::optional<ContactRecord> AddressDatabase::findContactByNumber(const QString &number)
{
    clearError();
    if (number.isEmpty())
        return std::nullopt;
    if (!IsOpen()) {
        fail(kLookupAction + u": the address database is not open."_s);
        return std::nullopt;
    }
    const std::optional<CallerMatch> match = matchNumber(number, numberDigits(number), true);
    return match ? std::optional(match->contact) : std::nullopt;
}

std::optional<CallerMatch> AddressDatabase::matchNumber(const QString &number, const QString &digits,
                                                        bool exactOnly)
{
    // Another connection may have added the index since this one opened a read-only view.
    if (!d->numberIndex)
        d->numberIndex = numberindex::isInstalled(d->db);
    for (int attempt = 0; d->numberIndex && !d->numberIndexDistrusted && attempt < 2; ++attempt) {
        const IndexedOutcome outcome = matchByIndex(number, digits, exactOnly);
        if (outcome.state == IndexedOutcome::Found || outcome.state == IndexedOutcome::NotFound)
            return outcome.match;
        if (outcome.state == IndexedOutcome::Failed) {
            d->numberIndex = false; // dropped behind our back, perhaps: read the rows
            break;
        }
        // The index points at rows that hold other numbers: the rowids moved (VACUUM) or the
        // file was edited with the triggers gone. Build it anew once; else stop trusting it.
        qCDebug(lcAddressBook) << "number index out of step; rebuilding";
        if (attempt > 0 || !numberindex::install(d->db, true))
            d->numberIndexDistrusted = true;
    }
    clearError();
    return matchByScan(number, digits, exactOnly);
}

AddressDatabase::IndexedOutcome AddressDatabase::matchByIndex(const QString &number,
                                                              const QString &digits, bool exactOnly)
{
    const IndexedStep steps[] = {
        {CallerMatchKind::Exact, u"n.number = ?"_s, number},
        {CallerMatchKind::Digits, u"n.digits = ?"_s, digits},
    };
    for (const IndexedStep &step : steps) {
        if (exactOnly && step.kind != CallerMatchKind::Exact)
            break;
        IndexedOutcome outcome = runIndexedStep(step);
        if (outcome.state != IndexedOutcome::NotFound)
            return outcome;
    }
    if (exactOnly || digits.size() < kMinSuffixDigits)
        return {};
    return runSuffixStep(digits);
}

namespace {

// Every candidate is checked against its row: an entry whose row no longer holds its number
// shows an index that fell out of step, and it is never taken for a match.
QString staleEntry()
{
    return u"(a.rowid IS NULL OR n.number IS NOT ("_s + numberindex::slotValue(u"a"_s, u"n.slot"_s)
        + u") COLLATE BINARY)"_s;
}

} // namespace

AddressDatabase::IndexedOutcome AddressDatabase::runIndexedStep(const IndexedStep &step)
{
    // A stale candidate sorts first, so it is seen whatever its name.
    QSqlQuery *query = preparedQuery(
        u"SELECT n.slot AS match_slot, "_s + staleEntry() + u" AS match_stale, a.* "
        "FROM contact_number AS n LEFT JOIN address_book AS a ON a.rowid = n.contact WHERE "_s
            + step.condition + u" ORDER BY match_stale DESC, a.name, n.contact, n.slot LIMIT 1"_s,
        kLookupAction);
    if (!query)
        return {IndexedOutcome::Failed, {}};
    const auto done = qScopeGuard([query] { query->finish(); });
    query->bindValue(0, step.value);
    if (!runQuery(*query, kLookupAction))
        return {IndexedOutcome::Failed, {}};
    if (!query->next())
        return {};
    const QSqlRecord row = query->record();
    if (row.value(u"match_stale"_s).toInt() != 0)
        return {IndexedOutcome::Stale, {}};
    CallerMatch match;
    match.contact = contactFrom(row);
    match.kind = step.kind;
    match.column = columnOfSlot(row.value(u"match_slot"_s).toInt());
    return {IndexedOutcome::Found, match};
}

AddressDatabase::IndexedOutcome AddressDatabase::runSuffixStep(const QString &digits)
{
    // Numbers that end alike over kMinSuffixDigits share their last kMinSuffixDigits digits:
    // the tail index finds every candidate; the common ending is measured here. Candidates come
    // in name order, so the first of the longest wins.
    QSqlQuery *query = preparedQuery(
        u"SELECT n.slot AS match_slot, "_s + staleEntry() + u" AS match_stale, "
        "n.digits AS match_digits, a.* FROM contact_number AS n "
        "LEFT JOIN address_book AS a ON a.rowid = n.contact WHERE n.tail = ? AND n.digits <> ? "
        "ORDER BY a.name, n.contact, n.slot"_s,
        kLookupAction);
    if (!query)
        return {IndexedOutcome::Failed, {}};
    const auto done = qScopeGuard([query] { query->finish(); });
    query->bindValue(0, digits.right(kMinSuffixDigits));
    query->bindValue(1, digits);
    if (!runQuery(*query, kLookupAction))
        return {IndexedOutcome::Failed, {}};
    QSqlRecord best;
    int bestLength = 0;
    while (query->next()) {
        if (query->value(1).toInt() != 0)
            return {IndexedOutcome::Stale, {}};
        const int length = commonSuffix(query->value(2).toString(), digits);
        if (length > bestLength) {
            bestLength = length;
            best = query->record();
        }
    }
    if (bestLength == 0)
        return {};
    CallerMatch match;
    match.contact = contactFrom(best);
    match.kind = CallerMatchKind::Suffix;
    match.column = columnOfSlot(best.value(u"match_slot"_s).toInt());
    match.suffixLength = bestLength;
    return {IndexedOutcome::Found, match};
}

std::optional<CallerMatch> AddressDatabase::matchByScan(const QString &number, const QString &digits,
                                                        bool exactOnly)
{
    QStringList columns{u"rowid"_s};
    for (ContactColumn column : kCallerNumberColumns)
        columns.append(columnName(column));
    QSqlQuery rows = newQuery();
    rows.setForwardOnly(true);
    if (!rows.prepare(u"SELECT "_s + columns.join(u", "_s)
                      + u" FROM address_book ORDER BY name, rowid"_s)
        || !runQuery(rows, kLookupAction))
        return std::nullopt;

    // Rows come in name order: the first exact or digits match stands, a suffix match only
    // yields to a longer one.
    std::optional<CallerMatch> digitsMatch;
    std::optional<CallerMatch> suffixMatch;
    qint64 digitsRow = 0;
    qint64 suffixRow = 0;
    std::optional<CallerMatch> exact;
    qint64 exactRow = 0;
    while (!exact && rows.next()) {
        for (int slot = 0; slot < int(kCallerNumberColumns.size()); ++slot) {
            const QVariant value = rows.value(slot + 1);
            if (value.isNull())
                continue;
            const QString text = value.toString();
            if (text.isEmpty())
                continue;
            CallerMatch candidate;
            candidate.column = kCallerNumberColumns[size_t(slot)];
            // SQLite never finds a blob equal to text.
            if (value.typeId() != QMetaType::QByteArray && equalIgnoringAsciiCase(text, number)) {
                candidate.kind = CallerMatchKind::Exact;
                exact = candidate;
                exactRow = rows.value(0).toLongLong();
                break;
            }
            if (exactOnly || digitsMatch)
                continue;
            const QString valueDigits = numberDigits(text);
            if (!valueDigits.isEmpty() && valueDigits == digits) {
                candidate.kind = CallerMatchKind::Digits;
                digitsMatch = candidate;
                digitsRow = rows.value(0).toLongLong();
                continue;
            }
            const int overlap = commonSuffix(valueDigits, digits);
            if (overlap > (suffixMatch ? suffixMatch->suffixLength : 0)) {
                candidate.kind = CallerMatchKind::Suffix;
                candidate.suffixLength = overlap;
                suffixMatch = candidate;
                suffixRow = rows.value(0).toLongLong();
            }
        }
    }
    rows.finish();

    std::optional<CallerMatch> best = exact ? exact : digitsMatch ? digitsMatch : suffixMatch;
    if (!best)
        return std::nullopt;
    const qint64 rowid = exact ? exactRow : digitsMatch ? digitsRow : suffixRow;
    QSqlQuery row = newQuery();
    row.setForwardOnly(true);
    if (!row.prepare(u"SELECT * FROM address_book WHERE rowid = ?"_s))
        return std::nullopt;
    row.addBindValue(rowid);
    if (!runQuery(row, kLookupAction) || !row.next())
        return std::nullopt;
    best->contact = contactFrom(row.record());
    return best;
}

} // namespace dpx
