// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/CsvContact.h"

#include "addressbook/ContactFieldRules.h"

#include <QCoreApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace dpx {

enum class CsvContactLayout::Field {
    FullName, FirstName, MiddleName, LastName, Suffix, NickName, Company, Department, JobTitle,
    BusinessPhone, BusinessFax, HomePhone, MobilePhone, AssistantName, AssistantPhone, Spouse,
    Birthday, Anniversary, Notes,
};

namespace {

using Field = CsvContactLayout::Field;

const QHash<QString, Field> &fieldNames()
{
    static const QHash<QString, Field> names{
        {u"name"_s, Field::FullName}, {u"full name"_s, Field::FullName},
        {u"display name"_s, Field::FullName},
        {u"first name"_s, Field::FirstName}, {u"given name"_s, Field::FirstName},
        {u"middle name"_s, Field::MiddleName}, {u"additional name"_s, Field::MiddleName},
        {u"last name"_s, Field::LastName}, {u"family name"_s, Field::LastName},
        {u"suffix"_s, Field::Suffix}, {u"name suffix"_s, Field::Suffix},
        {u"nickname"_s, Field::NickName},
        {u"company"_s, Field::Company}, {u"organization name"_s, Field::Company},
        {u"department"_s, Field::Department}, {u"organization department"_s, Field::Department},
        {u"job title"_s, Field::JobTitle}, {u"organization title"_s, Field::JobTitle},
        {u"business phone"_s, Field::BusinessPhone}, {u"business fax"_s, Field::BusinessFax},
        {u"home phone"_s, Field::HomePhone}, {u"mobile phone"_s, Field::MobilePhone},
        {u"assistant's name"_s, Field::AssistantName},
        {u"assistant's phone"_s, Field::AssistantPhone},
        {u"spouse"_s, Field::Spouse}, {u"birthday"_s, Field::Birthday},
        {u"anniversary"_s, Field::Anniversary}, {u"notes"_s, Field::Notes},
    };
    return names;
}

// The desktop export's numbers that have no column here.
const QStringList kOtherPhoneNames{
    u"business phone 2"_s, u"callback"_s, u"car phone"_s, u"company main phone"_s, u"home fax"_s,
    u"home phone 2"_s, u"isdn"_s, u"other fax"_s, u"other phone"_s, u"pager"_s, u"primary phone"_s,
    u"radio phone"_s, u"tty/tdd phone"_s, u"telex"_s,
};

// Address part names after "Business " / "Home " (desktop) or "Address N - " (webmail).
int *addressPart(auto &address, const QString &part)
{
    if (part == u"street"_s) return &address.street;
    if (part == u"street 2"_s) return &address.street2;
    if (part == u"street 3"_s) return &address.street3;
    if (part == u"address po box"_s || part == u"po box"_s) return &address.poBox;
    if (part == u"extended address"_s) return &address.extended;
    if (part == u"city"_s) return &address.city;
    if (part == u"state"_s || part == u"region"_s) return &address.region;
    if (part == u"postal code"_s) return &address.postalCode;
    if (part == u"country/region"_s || part == u"country"_s) return &address.country;
    if (part == u"type"_s || part == u"label"_s) return &address.type;
    return nullptr;
}

} // namespace

CsvContactLayout::CsvContactLayout(const QStringList &header)
    : m_columnCount(int(header.size()))
{
    for (int column = 0; column < header.size(); ++column) {
        const QString name = header.at(column).trimmed().toLower();
        const auto field = fieldNames().constFind(name);
        if (field != fieldNames().cend()) {
            if (!m_fieldColumn.contains(int(*field)))
                m_fieldColumn.insert(int(*field), column);
            ++m_known;
        } else if (kOtherPhoneNames.contains(name)) {
            m_otherPhones.append({column, header.at(column).trimmed()});
            ++m_known;
        } else if (name == u"e-mail address"_s || name == u"email address"_s) {
            m_emails.insert(0, column);
            ++m_known;
        } else if (name == u"web page"_s) {
            m_webPages.insert(0, column);
            ++m_known;
        } else if (name.startsWith(u"business "_s) && addressPart(m_business, name.mid(9))) {
            *addressPart(m_business, name.mid(9)) = column;
            ++m_known;
        } else if (name.startsWith(u"home "_s) && addressPart(m_home, name.mid(5))) {
            *addressPart(m_home, name.mid(5)) = column;
            ++m_known;
        } else {
            readIndexedColumn(name, column);
        }
    }
}

void CsvContactLayout::readIndexedColumn(const QString &name, int column)
{
    static const QRegularExpression indexed(
        u"^(phone|address|e-mail|website|organization) (\\d+) - (.+)$"_s);
    const auto match = indexed.match(name);
    if (!match.hasMatch())
        return;
    const QString group = match.captured(1);
    const int number = match.captured(2).toInt();
    const QString part = match.captured(3);
    int *target = nullptr;
    if (group == u"phone"_s) {
        Phone &phone = m_phones[number];
        target = part == u"value"_s ? &phone.value
            : (part == u"type"_s || part == u"label"_s) ? &phone.type : nullptr;
    } else if (group == u"address"_s) {
        // "Formatted" repeats the parts in one text: the parts are read instead.
        target = part == u"formatted"_s ? nullptr : addressPart(m_addresses[number], part);
    } else if (group == u"e-mail"_s && part == u"value"_s) {
        target = &m_emails[number];
    } else if (group == u"website"_s && part == u"value"_s) {
        target = &m_webPages[number];
    } else if (group == u"organization"_s && number == 1) {
        const Field field = part == u"name"_s ? Field::Company
            : part == u"title"_s              ? Field::JobTitle
                                              : Field::Department;
        if (part == u"name"_s || part == u"title"_s || part == u"department"_s) {
            m_fieldColumn.insert(int(field), column);
            ++m_known;
        }
        return;
    }
    if (target) {
        *target = column;
        ++m_known;
    }
}

ImportEntry CsvContactLayout::entry(const QStringList &fields, int line) const
{
    ImportEntry entry;
    entry.line = line;
    if (fields.size() > m_columnCount) {
        entry.kind = ImportEntry::Kind::Failed;
        entry.reason = QCoreApplication::translate("ContactImport", "欄位比標題列多 (%1 > %2)").arg(fields.size()).arg(m_columnCount);
        return entry;
    }
    const auto value = [&fields](int column) {
        return column >= 0 && column < fields.size()
            ? fieldrules::normalizedLineBreaks(fields.at(column)) : QString();
    };
    // The webmail export joins several values of one cell with " ::: "; the first counts.
    const auto firstValue = [&value](int column) { return value(column).section(u" ::: "_s, 0, 0); };
    const auto field = [&](Field f) { return value(m_fieldColumn.value(int(f), -1)); };

    ContactRecord &contact = entry.contact;
    const QString first = field(Field::FirstName), last = field(Field::LastName);
    contact.setText(ContactColumn::FirstName, first);
    contact.setText(ContactColumn::LastName, last);
    contact.setText(ContactColumn::NickName, field(Field::NickName));
    contact.setText(ContactColumn::Company, field(Field::Company));
    contact.setText(ContactColumn::Department, field(Field::Department));
    contact.setText(ContactColumn::JobTitle, field(Field::JobTitle));
    contact.setText(ContactColumn::BusinessTelephoneNumber, field(Field::BusinessPhone));
    contact.setText(ContactColumn::BusinessFaxNumber, field(Field::BusinessFax));
    contact.setText(ContactColumn::HomeTelephoneNumber, field(Field::HomePhone));
    contact.setText(ContactColumn::MobileTelephoneNumber, field(Field::MobilePhone));
    contact.setText(ContactColumn::AssistantName, field(Field::AssistantName));
    contact.setText(ContactColumn::AssistantPhoneNumber, field(Field::AssistantPhone));
    contact.setText(ContactColumn::Spouse, field(Field::Spouse));
    contact.setText(ContactColumn::Birthday, fieldrules::csvDate(field(Field::Birthday)));
    contact.setText(ContactColumn::Anniversary, fieldrules::csvDate(field(Field::Anniversary)));
    contact.setText(ContactColumn::Remark, field(Field::Notes));
    for (int column : m_emails) {
        if (contact.text(ContactColumn::EmailAddress).isEmpty())
            contact.setText(ContactColumn::EmailAddress, firstValue(column));
    }
    for (int column : m_webPages) {
        if (contact.text(ContactColumn::WebPage).isEmpty())
            contact.setText(ContactColumn::WebPage, firstValue(column));
    }

    QList<fieldrules::PhoneNumber> phones;
    for (const auto &[column, label] : m_otherPhones)
        phones.append({fieldrules::PhoneKind::Other, value(column), {}, false, label, line});
    for (const Phone &phone : m_phones) {
        QString label = firstValue(phone.type).trimmed();
        fieldrules::PhoneNumber number{{}, firstValue(phone.value).trimmed(), {}, false, label, line};
        if (label.startsWith(u'*')) {
            number.preferred = true;
            label = label.mid(1).trimmed();
        }
        QList<QByteArray> types;
        for (const QString &word : label.toUpper().split(u' ', Qt::SkipEmptyParts))
            types.append(word.toUtf8());
        number.kind = fieldrules::phoneKind(types);
        phones.append(number);
    }
    entry.notes = fieldrules::placePhoneNumbers(contact, phones);

    bool businessTaken = false, homeTaken = false;
    auto place = [&](const Address &address, fieldrules::AddressKind kind, bool multi) {
        const auto get = [&](int column) { return multi ? firstValue(column) : value(column); };
        const fieldrules::AddressParts parts{
            get(address.poBox), get(address.extended),
            fieldrules::joinAddressParts({get(address.street), get(address.street2), get(address.street3)}),
            get(address.city), get(address.region), get(address.postalCode), get(address.country)};
        if (!parts.isEmpty()
            && !fieldrules::placeAddress(contact, kind, parts, &businessTaken, &homeTaken))
            entry.notes.append(lineNote(line, QCoreApplication::translate("ContactImport", "未匯入的地址 ") + parts.address()));
    };
    place(m_business, fieldrules::AddressKind::Business, false);
    place(m_home, fieldrules::AddressKind::Home, false);
    for (const Address &address : m_addresses) {
        const QString type = firstValue(address.type).toLower();
        const auto kind = type.contains(u"work"_s) ? fieldrules::AddressKind::Business
            : type.contains(u"home"_s)             ? fieldrules::AddressKind::Home
                                                   : fieldrules::AddressKind::Unspecified;
        place(address, kind, true);
    }

    bool empty = true;
    for (int column = 0; column < kContactTextColumnCount && empty; ++column)
        empty = contact.text(column).isEmpty();
    QString name = field(Field::FullName);
    if (name.isEmpty()) {
        if (fieldrules::isCjkText(first) && fieldrules::isCjkText(last)) {
            name = last + first;
        } else {
            QStringList parts{first, field(Field::MiddleName), last, field(Field::Suffix)};
            parts.removeAll(QString());
            name = parts.join(u' ');
        }
    }
    if (empty && name.isEmpty()) {
        entry.kind = ImportEntry::Kind::Skipped;
        entry.reason = QCoreApplication::translate("ContactImport", "略過空白的連絡人");
        entry.notes.clear();
        return entry;
    }
    // A contact without a name is stored under the name NULL.
    contact.setText(ContactColumn::Name, name.isEmpty() ? u"NULL"_s : name);
    return entry;
}

} // namespace dpx
