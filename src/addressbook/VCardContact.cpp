// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/VCardContact.h"

#include "addressbook/ContactFieldRules.h"
#include "addressbook/TextDecoding.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

using fieldrules::PhoneKind;

constexpr ContactColumn kExtensionColumns[] = {
    ContactColumn::CompanyNumber,      ContactColumn::BusinessExtension,
    ContactColumn::HomeExtension,      ContactColumn::BusinessFaxExtension,
    ContactColumn::NetworkPhoneNumber, ContactColumn::NetworkExtension,
    ContactColumn::ImmdiateNumber,     ContactColumn::AssistantName,
    ContactColumn::AssitantExtension,  ContactColumn::Birthday,
    ContactColumn::Anniversary,
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<QByteArray> quotedPrintable(QByteArrayView raw)
{
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '=') {
            bytes += raw[i];
            continue;
        }
        if (i + 1 == raw.size())
            break; // a soft break at the very end
        const int high = i + 2 < raw.size() ? hexValue(raw[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(raw[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return bytes;
}

// Splits on `separator` where no backslash escapes it.
template <typename Text>
QList<Text> splitUnescaped(const Text &text, char separator)
{
    QList<Text> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\')
            ++i;
        else if (text[i] == separator) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

QString unescaped(const QString &text)
{
    if (!text.contains(u'\\'))
        return fieldrules::normalizedLineBreaks(text);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        if (next == u'n' || next == u'N')
            out += u'\n';
        else if (next == u'\\' || next == u',' || next == u';' || next == u':')
            out += next;
        else
            out += c, out += next; // not an escape: kept as written
    }
    return fieldrules::normalizedLineBreaks(out);
}

// Decodes the values of one card, remembering the first fault.
class ValueReader {
public:
    explicit ValueReader(const QByteArray &legacy) : m_legacy(legacy) {}

    // The structured value's components (split on unescaped ';'), each decoded and unescaped.
    std::optional<QStringList> components(const VCardProperty &property)
    {
        const QByteArray encoding = property.param("ENCODING").toUpper();
        QStringList parts;
        if (encoding.isEmpty() || encoding == "8BIT" || encoding == "7BIT") {
            const auto text = decodeCharset(property, property.value);
            if (!text)
                return std::nullopt;
            for (const QString &part : splitUnescaped(*text, ';'))
                parts.append(unescaped(part));
            return parts;
        }
        // Split before the transfer decoding: an encoded =3B is a semicolon of the text.
        for (const QByteArray &raw : splitUnescaped(property.value, ';')) {
            const auto bytes = transferDecoded(property, encoding, raw);
            const auto text = bytes ? decodeCharset(property, *bytes) : std::nullopt;
            if (!text)
                return std::nullopt;
            parts.append(unescaped(*text));
        }
        return parts;
    }

    std::optional<QString> text(const VCardProperty &property)
    {
        const auto raw = rawText(property);
        return raw ? std::optional(unescaped(*raw)) : std::nullopt;
    }

    // The first item of a comma-separated list (NICKNAME).
    std::optional<QString> firstListItem(const VCardProperty &property)
    {
        const auto raw = rawText(property);
        return raw ? std::optional(unescaped(splitUnescaped(*raw, ',').first())) : std::nullopt;
    }

    bool failed() const { return !m_fault.isEmpty(); }
    int faultLine() const { return m_faultLine; }
    QString fault() const { return m_fault; }

private:
    std::optional<QString> rawText(const VCardProperty &property)
    {
        const QByteArray encoding = property.param("ENCODING").toUpper();
        const auto bytes = transferDecoded(property, encoding, property.value);
        return bytes ? decodeCharset(property, *bytes) : std::nullopt;
    }

    std::optional<QByteArray> transferDecoded(const VCardProperty &property, const QByteArray &encoding,
                                              const QByteArray &raw)
    {
        if (encoding.isEmpty() || encoding == "8BIT" || encoding == "7BIT")
            return raw;
        if (encoding == "QUOTED-PRINTABLE") {
            if (auto bytes = quotedPrintable(raw))
                return bytes;
            return fail(property, QCoreApplication::translate("ContactImport", "quoted-printable 編碼錯誤"));
        }
        if (encoding == "BASE64" || encoding == "B") {
            auto result = QByteArray::fromBase64Encoding(raw.trimmed(),
                                                         QByteArray::AbortOnBase64DecodingErrors);
            if (result)
                return *result;
            return fail(property, QCoreApplication::translate("ContactImport", "base64 編碼錯誤"));
        }
        return fail(property, QCoreApplication::translate("ContactImport", "不明的 ENCODING「%1」").arg(QString::fromLatin1(encoding)));
    }

    std::optional<QString> decodeCharset(const VCardProperty &property, QByteArrayView bytes)
    {
        QByteArray charset = property.param("CHARSET");
        if (charset.isEmpty()) {
            if (auto text = textdecoding::decode(bytes, "UTF-8"))
                return text;
            charset = m_legacy;
        }
        if (!QStringDecoder(charset.constData()).isValid())
            return fail(property, QCoreApplication::translate("ContactImport", "不明的 CHARSET「%1」").arg(QString::fromLatin1(charset)));
        if (auto text = textdecoding::decode(bytes, charset))
            return text;
        return fail(property, QCoreApplication::translate("ContactImport", "內容不是有效的 %1 文字").arg(QString::fromLatin1(charset)));
    }

    std::nullopt_t fail(const VCardProperty &property, const QString &fault)
    {
        if (m_fault.isEmpty()) {
            m_fault = fault;
            m_faultLine = property.line;
        }
        return std::nullopt;
    }

    QByteArray m_legacy;
    QString m_fault;
    int m_faultLine = 0;
};

const VCardProperty *firstOf(const VCardCard &card, std::initializer_list<QByteArrayView> names,
                             bool preferredFirst = false)
{
    const VCardProperty *first = nullptr;
    for (const VCardProperty &property : card.properties) {
        for (QByteArrayView name : names) {
            if (property.name != name)
                continue;
            if (preferredFirst && property.isPreferred())
                return &property;
            if (!first) {
                if (!preferredFirst)
                    return &property;
                first = &property;
            }
        }
    }
    return first;
}

bool isGroupCard(const VCardCard &card, ValueReader &values)
{
    for (const VCardProperty *kind : {firstOf(card, {"KIND"}), firstOf(card, {"X-ADDRESSBOOKSERVER-KIND"})}) {
        if (kind && values.text(*kind).value_or(QString()).trimmed().compare(u"group"_s, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

fieldrules::PhoneNumber phoneNumber(const VCardProperty &property, const QString &value, bool uriForm)
{
    fieldrules::PhoneNumber phone;
    phone.kind = fieldrules::phoneKind(property.types());
    phone.preferred = property.isPreferred();
    phone.line = property.line;
    phone.label = QString::fromLatin1(property.types().join(','));
    phone.number = value;
    if (uriForm && value.startsWith(u"tel:"_s, Qt::CaseInsensitive)) {
        const QStringList parts = value.mid(4).split(u';');
        phone.number = QUrl::fromPercentEncoding(parts.first().toUtf8());
        for (const QString &parameter : parts.mid(1)) {
            if (parameter.startsWith(u"ext="_s, Qt::CaseInsensitive))
                phone.extension = QUrl::fromPercentEncoding(parameter.mid(4).toUtf8());
        }
    }
    return phone;
}

void readAddresses(const VCardCard &card, ValueReader &values, ContactRecord &contact, QStringList &notes)
{
    QList<const VCardProperty *> addresses;
    for (const VCardProperty &property : card.properties) {
        if (property.name == "ADR")
            (property.isPreferred() ? addresses.prepend(&property) : addresses.append(&property));
    }
    bool businessTaken = false, homeTaken = false;
    for (const VCardProperty *property : addresses) {
        const auto parts = values.components(*property);
        if (!parts)
            return;
        fieldrules::AddressParts address{parts->value(0), parts->value(1), parts->value(2),
                                         parts->value(3), parts->value(4), parts->value(5),
                                         parts->value(6)};
        if (address.isEmpty())
            continue;
        const auto kind = property->hasType("WORK") ? fieldrules::AddressKind::Business
            : property->hasType("HOME")             ? fieldrules::AddressKind::Home
                                                    : fieldrules::AddressKind::Unspecified;
        if (!fieldrules::placeAddress(contact, kind, address, &businessTaken, &homeTaken))
            notes.append(lineNote(property->line, QCoreApplication::translate("ContactImport", "未匯入的地址 ") + address.address()));
    }
}

} // namespace

bool isVCardExtensionColumn(ContactColumn column)
{
    return std::find(std::begin(kExtensionColumns), std::end(kExtensionColumns), column)
        != std::end(kExtensionColumns);
}

ImportEntry vcardEntry(const VCardCard &card, const QByteArray &legacyEncoding)
{
    ImportEntry entry;
    entry.line = card.line;
    auto failed = [&entry](int line, const QString &reason) {
        entry.kind = ImportEntry::Kind::Failed;
        entry.line = line;
        entry.reason = reason;
        entry.contact = ContactRecord();
        entry.notes.clear();
        return entry;
    };
    if (card.hasFault())
        return failed(card.faultLine, card.fault);

    ValueReader values(legacyEncoding);
    if (isGroupCard(card, values)) {
        entry.kind = ImportEntry::Kind::Skipped;
        entry.reason = QCoreApplication::translate("ContactImport", "略過群組");
        return entry;
    }
    ContactRecord &contact = entry.contact;
    auto setText = [&](ContactColumn column, const VCardProperty *property) {
        if (property)
            contact.setText(column, values.text(*property).value_or(QString()));
    };
    const VCardProperty *version = firstOf(card, {"VERSION"});
    const bool version4 = version && version->value.trimmed().startsWith("4");

    if (const VCardProperty *name = firstOf(card, {"N"})) {
        const QStringList parts = values.components(*name).value_or(QStringList());
        contact.setText(ContactColumn::LastName, parts.value(0));
        contact.setText(ContactColumn::FirstName, parts.value(1));
    }
    if (const VCardProperty *fullName = firstOf(card, {"FN"}))
        setText(ContactColumn::Name, fullName);
    else
        contact.setText(ContactColumn::Name, contact.text(ContactColumn::LastName)
                                                 + contact.text(ContactColumn::FirstName));
    if (const VCardProperty *nickname = firstOf(card, {"NICKNAME"}))
        contact.setText(ContactColumn::NickName, values.firstListItem(*nickname).value_or(QString()));
    if (const VCardProperty *organisation = firstOf(card, {"ORG"})) {
        const QStringList parts = values.components(*organisation).value_or(QStringList());
        contact.setText(ContactColumn::Company, parts.value(0));
        contact.setText(ContactColumn::Department, parts.value(1));
    }
    setText(ContactColumn::JobTitle, firstOf(card, {"TITLE"}));
    setText(ContactColumn::EmailAddress, firstOf(card, {"EMAIL"}, true));
    setText(ContactColumn::WebPage, firstOf(card, {"URL"}, true));
    setText(ContactColumn::Remark, firstOf(card, {"NOTE"}));
    // Also the properties desktop programs write for the same thing; the first in the card wins.
    setText(ContactColumn::Spouse, firstOf(card, {"X-SPOUSE", "X-MS-SPOUSE", "X-EVOLUTION-SPOUSE",
                                                  "X-KADDRESSBOOK-X-SPOUSESNAME"}));
    if (contact.text(ContactColumn::Spouse).isEmpty()) {
        for (const VCardProperty &property : card.properties) {
            if (property.name == "RELATED" && property.hasType("SPOUSE")) {
                setText(ContactColumn::Spouse, &property);
                break;
            }
        }
    }
    if (const VCardProperty *birthday = firstOf(card, {"BDAY"}))
        contact.setText(ContactColumn::Birthday, fieldrules::vcardDate(values.text(*birthday).value_or(QString())));
    if (const VCardProperty *anniversary = firstOf(card, {"ANNIVERSARY", "X-ANNIVERSARY", "X-MS-ANNIVERSARY",
                                                                 "X-EVOLUTION-ANNIVERSARY",
                                                                 "X-KADDRESSBOOK-X-ANNIVERSARY"}))
        contact.setText(ContactColumn::Anniversary,
                        fieldrules::vcardDate(values.text(*anniversary).value_or(QString())));

    QList<fieldrules::PhoneNumber> phones;
    for (const VCardProperty &property : card.properties) {
        if (property.name != "TEL")
            continue;
        const bool uriForm = version4 || property.param("VALUE").compare("uri", Qt::CaseInsensitive) == 0;
        phones.append(phoneNumber(property, values.text(property).value_or(QString()), uriForm));
    }
    entry.notes = fieldrules::placePhoneNumbers(contact, phones);
    readAddresses(card, values, contact, entry.notes);

    for (ContactColumn column : kExtensionColumns) {
        const QLatin1StringView columnText = columnName(column);
        const QByteArray name = "X-DPX-" + QByteArray(columnText.data(), columnText.size()).toUpper();
        if (const VCardProperty *property = firstOf(card, {name}))
            setText(column, property);
    }
    if (values.failed())
        return failed(values.faultLine(), values.fault());
    bool empty = true;
    for (int column = 0; column < kContactTextColumnCount && empty; ++column)
        empty = contact.text(column).isEmpty();
    if (empty) {
        entry.kind = ImportEntry::Kind::Skipped;
        entry.reason = QCoreApplication::translate("ContactImport", "略過空白的連絡人");
        entry.notes.clear();
    }
    return entry;
}

} // namespace dpx
