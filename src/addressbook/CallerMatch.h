// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactColumns.h"
#include "addressbook/ContactRecord.h"

#include <QString>
#include <QStringView>

namespace dpx {

// How a caller's number met a contact's number, strongest first.
enum class CallerMatchKind {
    Exact,  // the whole text, ASCII letter case ignored
    Digits, // the same digits once everything else is dropped: "02-2345-6789" and "0223456789"
    Suffix, // the shorter number without its leading zeros is the whole ending of the longer
};

// The shortest number that counts as the ending of another: about a local number, so that
// "+886 2 2345 6789" is found from the displayed "0223456789" ("223456789" ends it) and
// "2345-6789" too, but never "03-2345-6789".
inline constexpr int kMinSuffixDigits = 7;

struct CallerMatch {
    ContactRecord contact;                                // the whole row: 31 texts and the picture flag
    CallerMatchKind kind = CallerMatchKind::Exact;
    ContactColumn column = ContactColumn::BusinessTelephoneNumber; // the number column that matched
    int suffixLength = 0;                                 // Suffix: digits of the matched ending; else 0

    bool operator==(const CallerMatch &other) const = default;
};

// How many characters of a text numberDigits() reads: far more than any telephone number, and
// a bound on the work for whatever else ends up in a number column.
inline constexpr int kNumberDigitsScanLength = 256;

// The digits of a telephone number as the lookup compares them: ASCII digits and full-width
// digits (as typed with a CJK input method, taken as their ASCII digit), in order, from the
// first kNumberDigitsScanLength characters (a surrogate pair is one character); everything
// else is dropped. A NUL character ends the text. The number index stores exactly this.
QString numberDigits(QStringView text);

} // namespace dpx
