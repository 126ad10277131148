// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The normalised-number index of address_book (not installed).
//
// contact_number holds one row per non-empty caller-number value of every contact:
// (contact = address_book rowid, slot = 0..8 in kCallerNumberColumns order, number = the value
// as stored, digits = numberDigits(value), tail = its last kMinSuffixDigits digits or NULL),
// indexed on number (ASCII case ignored), digits and tail: an exact, a digits and a suffix
// lookup are each one index search. Triggers on address_book keep it in step with every
// insert, update and delete from any connection; they use built-in SQL only, so any program
// can still write the file. contact_number_position (0..kNumberDigitsScanLength-1) lets SQL
// take a text apart character by character.

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace dpx::numberindex {

// The user_version of a file that holds the index.
inline constexpr int kSchemaVersion = 2;

// Drops whatever is left of the index, creates it with its triggers and fills it from
// address_book. Run inside a write transaction.
QStringList installStatements();

// True when every object of the index is in the file.
bool isInstalled(QSqlDatabase &db);

// Installs the index in one transaction of its own (raising user_version to kSchemaVersion)
// unless it is there already; `rebuild` builds it anew in any case. On failure nothing changes
// and `error` (when given) says why.
bool install(QSqlDatabase &db, bool rebuild, QString *error = nullptr);

// An SQL expression: the value of caller-number slot `slot` (an SQL expression) of the
// address_book row aliased `row`.
QString slotValue(const QString &row, const QString &slot);

} // namespace dpx::numberindex
