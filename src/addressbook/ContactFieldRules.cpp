// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactFieldRules.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace dpx::fieldrules {

namespace {

bool isWideScript(QChar::Script script)
{
    return script == QChar::Script_Han || script == QChar::Script_Hiragana
        || script == QChar::Script_Katakana || script == QChar::Script_Hangul
        || script == QChar::Script_Bopomofo;
}

bool isLatinLetterOrDigit(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return true;
    return QChar::isLetter(c) && QChar::script(c) == QChar::Script_Latin;
}

char32_t firstCharacter(const QString &text)
{
    return text.isEmpty() ? 0 : text.toUcs4().first();
}

char32_t lastCharacter(const QString &text)
{
    return text.isEmpty() ? 0 : text.right(2).toUcs4().last();
}

} // namespace

QString dateText(int year, int month, int day)
{
    if (!QDate(year, month, day).isValid())
        return {};
    return u"%1-%2-%3"_s.arg(year).arg(month).arg(day);
}

QString vcardDate(const QString &value)
{
    static const QRegularExpression basic(u"^(\\d{4})(\\d{2})(\\d{2})(T.*)?$"_s);
    static const QRegularExpression extended(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})(T.*)?$"_s);
    const QString trimmed = value.trimmed();
    for (const QRegularExpression *pattern : {&basic, &extended}) {
        const auto match = pattern->match(trimmed);
        if (match.hasMatch()) {
            const QString date = dateText(match.captured(1).toInt(), match.captured(2).toInt(),
                                          match.captured(3).toInt());
            return date.isEmpty() ? value : date;
        }
    }
    return value;
}

QString csvDate(const QString &value)
{
    static const QRegularExpression monthFirst(u"^(\\d{1,2})/(\\d{1,2})/(\\d{1,4})$"_s);
    static const QRegularExpression yearFirst(u"^(\\d{3,4})[/-](\\d{1,2})[/-](\\d{1,2})$"_s);
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty() || trimmed == u"0/0/00"_s)
        return {};
    // A time after the date (some exports add "12:00:00 AM") changes nothing.
    QString date = trimmed.section(u' ', 0, 0);
    int year = 0, month = 0, day = 0;
    if (const auto m = monthFirst.match(date); m.hasMatch()) {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        year = m.captured(3).toInt();
    } else if (const auto y = yearFirst.match(date); y.hasMatch()) {
        year = y.captured(1).toInt();
        month = y.captured(2).toInt();
        day = y.captured(3).toInt();
    } else {
        return value;
    }
    if (year > 3000)
        return {}; // the value exports use for "no date"
    if (year == 0 && month == 0 && day == 0)
        return {};
    const QString text = dateText(year, month, day);
    return text.isEmpty() ? value : text;
}

QString joinAddressParts(const QStringList &parts)
{
    QString joined;
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;
        if (!joined.isEmpty()) {
            const char32_t last = lastCharacter(joined);
            const bool lastIsLatin = !QChar::isSpace(last) && !isWideScript(QChar::script(last));
            if (lastIsLatin && isLatinLetterOrDigit(firstCharacter(part)))
                joined += u' ';
        }
        joined += part;
    }
    return joined;
}

bool AddressParts::isEmpty() const
{
    return poBox.isEmpty() && extended.isEmpty() && street.isEmpty() && locality.isEmpty()
        && region.isEmpty() && postalCode.isEmpty() && country.isEmpty();
}

QString AddressParts::address() const
{
    const QString streetPart = joinAddressParts({street, extended, poBox});
    return joinAddressParts({country, region, locality, streetPart});
}

bool placeAddress(ContactRecord &contact, AddressKind kind, const AddressParts &parts,
                  bool *businessTaken, bool *homeTaken)
{
    bool business = kind == AddressKind::Business;
    if (kind == AddressKind::Unspecified) {
        if (!*homeTaken)
            business = false;
        else if (!*businessTaken)
            business = true;
        else
            return false;
    }
    bool *taken = business ? businessTaken : homeTaken;
    if (*taken)
        return false;
    *taken = true;
    contact.setText(business ? ContactColumn::CompanyAddress : ContactColumn::HomeAddress,
                    parts.address());
    contact.setText(business ? ContactColumn::CompanyPostalCode : ContactColumn::HomePostalCode,
                    parts.postalCode);
    return true;
}

PhoneKind phoneKind(const QList<QByteArray> &types)
{
    const auto has = [&types](QByteArrayView type) { return types.contains(type); };
    if (has("CELL") || has("MOBILE") || has("IPHONE"))
        return PhoneKind::Mobile;
    if (has("FAX"))
        return has("HOME") ? PhoneKind::Other : PhoneKind::BusinessFax;
    for (const char *other : {"PAGER", "CAR", "ISDN", "MODEM", "BBS", "VIDEO", "TEXTPHONE", "RADIO",
                              "TELEX", "TTY", "CALLBACK"}) {
        if (has(other))
            return PhoneKind::Other;
    }
    if (has("WORK"))
        return PhoneKind::Business;
    if (has("HOME"))
        return PhoneKind::Home;
    if (has("X-ASSISTANT") || has("ASSISTANT") || has("X-EVOLUTION-ASSISTANT"))
        return PhoneKind::Assistant;
    return PhoneKind::Untyped;
}

namespace {

struct PhoneColumns {
    ContactColumn number;
    int extension; // column index, -1 when the kind has no extension column
};

PhoneColumns columnsOf(PhoneKind kind)
{
    switch (kind) {
    case PhoneKind::Mobile:
        return {ContactColumn::MobileTelephoneNumber, -1};
    case PhoneKind::BusinessFax:
        return {ContactColumn::BusinessFaxNumber, columnIndex(ContactColumn::BusinessFaxExtension)};
    case PhoneKind::Business:
        return {ContactColumn::BusinessTelephoneNumber, columnIndex(ContactColumn::BusinessExtension)};
    case PhoneKind::Home:
        return {ContactColumn::HomeTelephoneNumber, columnIndex(ContactColumn::HomeExtension)};
    case PhoneKind::Assistant:
        return {ContactColumn::AssistantPhoneNumber, columnIndex(ContactColumn::AssitantExtension)};
    default:
        return {ContactColumn::Name, -1};
    }
}

void setPhone(ContactRecord &contact, PhoneKind kind, const PhoneNumber &phone)
{
    const PhoneColumns columns = columnsOf(kind);
    contact.setText(columns.number, phone.number);
    if (columns.extension >= 0 && !phone.extension.isEmpty())
        contact.setText(columns.extension, phone.extension);
}

QString note(const PhoneNumber &phone)
{
    return QCoreApplication::translate("ContactImport", "第 %1 行:未匯入的電話號碼 %2 (%3)").arg(phone.line).arg(phone.number, phone.label);
}

} // namespace

QStringList placePhoneNumbers(ContactRecord &contact, QList<PhoneNumber> numbers)
{
    std::stable_sort(numbers.begin(), numbers.end(), [](const PhoneNumber &a, const PhoneNumber &b) {
        return a.preferred && !b.preferred;
    });
    QStringList notes;
    QList<const PhoneNumber *> untyped;
    for (const PhoneNumber &phone : numbers) {
        if (phone.number.isEmpty())
            continue;
        if (phone.kind == PhoneKind::Untyped) {
            untyped.append(&phone);
            continue;
        }
        const PhoneColumns columns = columnsOf(phone.kind);
        if (phone.kind != PhoneKind::Other && contact.text(columns.number).isEmpty()) {
            setPhone(contact, phone.kind, phone);
            if (columns.extension < 0 && !phone.extension.isEmpty())
                notes.append(note(phone) + u" ext="_s + phone.extension);
        } else {
            notes.append(note(phone));
        }
    }
    for (const PhoneNumber *phone : untyped) {
        bool placed = false;
        for (PhoneKind kind : {PhoneKind::Mobile, PhoneKind::Home, PhoneKind::Business}) {
            if (contact.text(columnsOf(kind).number).isEmpty()) {
                setPhone(contact, kind, *phone);
                placed = true;
                break;
            }
        }
        if (!placed)
            notes.append(note(*phone));
    }
    return notes;
}

QString normalizedLineBreaks(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

bool isCjkText(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QList<uint> characters = text.toUcs4();
    return std::all_of(characters.begin(), characters.end(), [](uint c) {
        return QChar::isLetter(c) && isWideScript(QChar::script(c));
    });
}

} // namespace dpx::fieldrules
