// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules the vCard and CSV imports share: dates, addresses and which telephone number goes
// to which column.

#include "addressbook/ContactRecord.h"

#include <QString>
#include <QStringList>

namespace dpx::fieldrules {

// "%d-%d-%d" (year-month-day without leading zeros) of a valid date, else empty.
QString dateText(int year, int month, int day);

// A vCard date: 19800704, 1980-07-04 and 1980-07-04T00:00:00Z give 1980-7-4, the date as
// written (a time or zone after it changes nothing). Anything else, a date without a year
// included, is kept as written.
QString vcardDate(const QString &value);

// A CSV date: empty, "0/0/00" or a year after 3000 give empty (no date); M/D/Y, Y/M/D and
// Y-M-D give year-month-day; other text is kept as written.
QString csvDate(const QString &value);

// Address parts joined largest unit first, empty parts left out. A blank goes between two
// parts only where the first ends and the next begins in Latin writing (letters or digits):
// "Palo Alto" + "1 Main St" -> "Palo Alto 1 Main St", "台北市" + "中山路1號" -> "台北市中山路1號".
QString joinAddressParts(const QStringList &parts);

struct AddressParts {
    QString poBox, extended, street, locality, region, postalCode, country;
    bool isEmpty() const;
    QString address() const; // country + region + locality + street (extended, PO box after it)
};

// Where an address goes: work to the business columns, home to the home columns, an address of
// neither kind to home, or to business when home is taken. False when its place is taken.
enum class AddressKind { Business, Home, Unspecified };
bool placeAddress(ContactRecord &contact, AddressKind kind, const AddressParts &parts,
                  bool *businessTaken, bool *homeTaken);

// What a telephone number's types make of it.
enum class PhoneKind { Mobile, BusinessFax, Business, Home, Assistant, Other, Untyped };
// Types in upper case (vCard TYPE values, or words of a CSV label such as "WORK", "FAX").
PhoneKind phoneKind(const QList<QByteArray> &types);

struct PhoneNumber {
    PhoneKind kind = PhoneKind::Untyped;
    QString number;
    QString extension;
    bool preferred = false;
    QString label; // for the summary when it is not imported
    int line = 0;
};

// Places numbers: typed ones first, the first of a kind winning (preferred ones before the
// rest), then untyped ones into the first empty of mobile, home and business. The numbers
// that found no column are returned as summary notes.
QStringList placePhoneNumbers(ContactRecord &contact, QList<PhoneNumber> numbers);

// Line breaks as LF: CRLF and lone CR become LF.
QString normalizedLineBreaks(QString text);

// True when every character of a non-empty text is a Han, kana, Hangul or bopomofo letter.
bool isCjkText(const QString &text);

} // namespace dpx::fieldrules
