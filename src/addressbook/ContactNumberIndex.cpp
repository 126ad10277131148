// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactNumberIndex.h"

#include "addressbook/AddressBookLog.h"
#include "addressbook/CallerMatch.h"
#include "addressbook/ContactColumns.h"
#include "addressbook/ContactSql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace dpx::numberindex {

namespace {

// The characters numberDigits() keeps: ASCII digits and the full-width digits U+FF10..U+FF19.
const QString kFullWidthDigits = QStringLiteral(u"０１２３４５６７８９");
// Separators common enough in stored numbers to take the short way (see digitsOf()).
const QString kPlainSeparators = QStringLiteral(" -()+./");
constexpr int kPositionCount = kNumberDigitsScanLength;

const QStringList kTriggers{u"contact_number_after_insert"_s, u"contact_number_after_delete"_s,
                            u"contact_number_after_update"_s};
const QStringList kIndexes{u"contact_number_by_number"_s, u"contact_number_by_digits"_s,
                           u"contact_number_by_tail"_s};

// SQL for numberDigits() of the text expression `text` (at most kNumberDigitsScanLength
// characters), written with built-in functions only so that the triggers work on every
// connection. A text made of digits and plain separators only (trim() leaves nothing) has
// them removed with replace(); any other text is taken apart character by character in order,
// over the table of positions, and its digits are joined again (group_concat() joins in the
// order the ordered subquery delivers).
QString digitsOf(const QString &text)
{
    QString plain = text;
    for (QChar separator : kPlainSeparators)
        plain = u"replace("_s + plain + u", '"_s + separator + u"', '')"_s;
    const QString isDigit = u"(c GLOB '[0-9]' OR instr('"_s + kFullWidthDigits + u"', c) > 0)"_s;
    const QString anyText =
        u"coalesce((SELECT group_concat(d, '') FROM ("
        "SELECT CASE WHEN c GLOB '[0-9]' THEN c "
        "ELSE char(47 + instr('"_s + kFullWidthDigits + u"', c)) END AS d "
        "FROM (SELECT substr("_s + text + u", p.i + 1, 1) AS c, p.i AS i "
        "FROM contact_number_position AS p WHERE p.i < length("_s + text + u")) "
        "WHERE "_s + isDigit + u" ORDER BY i)), '')"_s;
    return u"CASE WHEN trim("_s + text + u", '0123456789"_s + kPlainSeparators + u"') = '' THEN "_s
        + plain + u" ELSE "_s + anyText + u" END"_s;
}

QString slotTable()
{
    QStringList slots;
    for (size_t slot = 0; slot < kCallerNumberColumns.size(); ++slot)
        slots.append(u"SELECT "_s + QString::number(slot) + (slot == 0 ? u" AS slot"_s : QString()));
    return u'(' + slots.join(u" UNION ALL "_s) + u") AS s"_s;
}

// INSERT of the index rows of address_book row `row` ("NEW" in a trigger), or of every row
// when `row` is an alias of address_book in the FROM clause.
QString insertEntries(const QString &row, bool everyRow)
{
    const QString contact = everyRow ? u"v.contact"_s : row + u".rowid"_s;
    const QString source = everyRow
        ? u"(SELECT "_s + row + u".rowid AS contact, s.slot AS slot, "_s + slotValue(row, u"s.slot"_s)
            + u" AS number FROM address_book AS "_s + row + u", "_s + slotTable() + u") AS v"_s
        : u"(SELECT s.slot AS slot, "_s + slotValue(row, u"s.slot"_s) + u" AS number FROM "_s
            + slotTable() + u") AS v"_s;
    return u"INSERT INTO contact_number (contact, slot, number, digits) SELECT "_s + contact
        + u", v.slot, v.number, "_s
        + digitsOf(u"substr(CAST(v.number AS TEXT), 1, %1)"_s.arg(kNumberDigitsScanLength))
        + u" FROM "_s + source
        + u" WHERE v.number IS NOT NULL AND v.number <> ''"_s;
}

QString changedNumbers()
{
    QStringList changes{u"OLD.rowid IS NOT NEW.rowid"_s};
    for (ContactColumn column : kCallerNumberColumns) {
        const QString name = columnName(column);
        changes.append(u"OLD."_s + name + u" IS NOT NEW."_s + name);
    }
    return changes.join(u" OR "_s);
}

} // namespace

QString slotValue(const QString &row, const QString &slot)
{
    QString cases = u"CASE "_s + slot;
    for (size_t i = 0; i < kCallerNumberColumns.size(); ++i)
        cases += u" WHEN "_s + QString::number(i) + u" THEN "_s + row + u'.'
            + columnName(kCallerNumberColumns[i]);
    return cases + u" END"_s;
}

QStringList installStatements()
{
    QStringList statements;
    for (const QString &trigger : kTriggers)
        statements.append(u"DROP TRIGGER IF EXISTS "_s + trigger);
    statements.append(u"DROP TABLE IF EXISTS contact_number"_s);
    statements.append(u"DROP TABLE IF EXISTS contact_number_position"_s);
    statements.append(u"CREATE TABLE contact_number_position (i INTEGER PRIMARY KEY)"_s);
    statements.append(u"WITH RECURSIVE p(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM p WHERE i < %1) "
                      "INSERT INTO contact_number_position (i) SELECT i FROM p"_s
                          .arg(kPositionCount - 1));
    statements.append(u"CREATE TABLE contact_number ("
                      "contact INTEGER NOT NULL, "
                      "slot INTEGER NOT NULL, "
                      "number TEXT NOT NULL COLLATE NOCASE, "
                      "digits TEXT NOT NULL, "
                      "tail TEXT GENERATED ALWAYS AS (CASE WHEN length(digits) >= %1 "
                      "THEN substr(digits, -%1) END) VIRTUAL, "
                      "PRIMARY KEY (contact, slot)) WITHOUT ROWID"_s.arg(kMinSuffixDigits));
    // Filled before the indexes are made: building an index from sorted rows is quicker.
    statements.append(insertEntries(u"a"_s, true));
    statements.append(u"CREATE INDEX contact_number_by_number ON contact_number (number)"_s);
    statements.append(u"CREATE INDEX contact_number_by_digits ON contact_number (digits)"_s);
    statements.append(u"CREATE INDEX contact_number_by_tail ON contact_number (tail)"_s);
    // Each trigger first drops what the row's rowid had, so an insert never meets a leftover.
    statements.append(u"CREATE TRIGGER contact_number_after_insert AFTER INSERT ON address_book BEGIN "
                      "DELETE FROM contact_number WHERE contact = NEW.rowid; "_s
                      + insertEntries(u"NEW"_s, false) + u"; END"_s);
    statements.append(u"CREATE TRIGGER contact_number_after_delete AFTER DELETE ON address_book BEGIN "
                      "DELETE FROM contact_number WHERE contact = OLD.rowid; END"_s);
    statements.append(u"CREATE TRIGGER contact_number_after_update AFTER UPDATE ON address_book WHEN "_s
                      + changedNumbers() + u" BEGIN "
                      "DELETE FROM contact_number WHERE contact = OLD.rowid; "
                      "DELETE FROM contact_number WHERE contact = NEW.rowid; "_s
                      + insertEntries(u"NEW"_s, false) + u"; END"_s);
    return statements;
}

bool isInstalled(QSqlDatabase &db)
{
    QStringList wanted{u"'table:contact_number'"_s, u"'table:contact_number_position'"_s};
    for (const QString &index : kIndexes)
        wanted.append(u"'index:"_s + index + u'\'');
    for (const QString &trigger : kTriggers)
        wanted.append(u"'trigger:"_s + trigger + u'\'');
    QSqlQuery query(db);
    if (!query.exec(u"SELECT count(*) FROM sqlite_master WHERE type || ':' || name IN ("_s
                    + wanted.join(u", "_s) + u')')
        || !query.next() || query.value(0).toInt() != wanted.size())
        return false;
    // The positions are data: a file someone trimmed would lose digits without a word.
    return query.exec(u"SELECT count(*) FROM contact_number_position WHERE i BETWEEN 0 AND %1"_s
                          .arg(kPositionCount - 1))
        && query.next() && query.value(0).toInt() == kPositionCount;
}

bool install(QSqlDatabase &db, bool rebuild, QString *error)
{
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError &sqlError) {
        qCDebug(lcAddressBook) << "number index not installed:" << sqlError.text();
        if (error)
            *error = sql::describeError(sqlError);
        return false;
    };
    // IMMEDIATE: two connections opening an old file at once do the work once.
    if (!query.exec(u"BEGIN IMMEDIATE"_s))
        return failed(query.lastError());
    bool ok = true;
    if (rebuild || !isInstalled(db)) {
        for (const QString &statement : installStatements()) {
            if (!query.exec(statement)) {
                ok = failed(query.lastError());
                break;
            }
        }
        int version = 0;
        if (ok && query.exec(u"PRAGMA user_version"_s) && query.next())
            version = query.value(0).toInt();
        query.finish();
        if (ok && version < kSchemaVersion
            && !query.exec(u"PRAGMA user_version = %1"_s.arg(kSchemaVersion)))
            ok = failed(query.lastError());
    }
    if (ok && query.exec(u"COMMIT"_s))
        return true;
    if (ok)
        failed(query.lastError());
    query.exec(u"ROLLBACK"_s);
    return false;
}

} // namespace dpx::numberindex
