// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/VCardWriter.h"

#include "addressbook/ContactFieldRules.h"
#include "addressbook/VCardContact.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

constexpr qsizetype kFoldOctets = 75;

QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\' || c == u',' || c == u';')
            out += u'\\', out += c;
        else if (c == u'\n')
            out += u"\\n"_s;
        else if (c != u'\r')
            out += c;
    }
    return out;
}

// The line folded into pieces of at most 75 octets, never inside a UTF-8 sequence.
void appendFolded(QByteArray &out, const QByteArray &line)
{
    qsizetype start = 0;
    qsizetype limit = kFoldOctets;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut; // back to the first byte of the character
        out += QByteArrayView(line).sliced(start, cut - start);
        out += "\r\n ";
        start = cut;
        limit = kFoldOctets - 1; // the continuation's leading blank counts
    }
    out += QByteArrayView(line).sliced(start);
    out += "\r\n";
}

// A date as the import writes it ("%d-%d-%d"): only such text goes out as a date.
bool isImportDate(const QString &text, QString *isoDate)
{
    static const QRegularExpression form(u"^(\\d{4})-([1-9]|1[0-2])-([1-9]|[12]\\d|3[01])$"_s);
    const auto match = form.match(text);
    if (!match.hasMatch() || fieldrules::dateText(match.captured(1).toInt(), match.captured(2).toInt(),
                                                  match.captured(3).toInt()) != text)
        return false;
    const auto twoDigits = [](const QString &number) { return number.rightJustified(2, u'0'); };
    *isoDate = match.captured(1) + u'-' + twoDigits(match.captured(2)) + u'-' + twoDigits(match.captured(3));
    return true;
}

} // namespace

QByteArray vcardOf(const ContactRecord &contact)
{
    QByteArray out;
    const auto text = [&contact](ContactColumn column) { return contact.text(column); };
    const auto line = [&out](const QString &nameAndParams, const QString &value) {
        appendFolded(out, (nameAndParams + u':' + value).toUtf8());
    };
    const auto property = [&](const QString &name, ContactColumn column) {
        if (!text(column).isEmpty())
            line(name, escaped(text(column)));
    };
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    line(u"FN"_s, escaped(text(ContactColumn::Name)));
    line(u"N"_s, escaped(text(ContactColumn::LastName)) + u';' + escaped(text(ContactColumn::FirstName))
                     + u";;;"_s);
    property(u"NICKNAME"_s, ContactColumn::NickName);
    if (!text(ContactColumn::Company).isEmpty() || !text(ContactColumn::Department).isEmpty())
        line(u"ORG"_s, escaped(text(ContactColumn::Company)) + u';' + escaped(text(ContactColumn::Department)));
    property(u"TITLE"_s, ContactColumn::JobTitle);
    property(u"TEL;TYPE=WORK,VOICE"_s, ContactColumn::BusinessTelephoneNumber);
    property(u"TEL;TYPE=WORK,FAX"_s, ContactColumn::BusinessFaxNumber);
    property(u"TEL;TYPE=HOME,VOICE"_s, ContactColumn::HomeTelephoneNumber);
    property(u"TEL;TYPE=CELL"_s, ContactColumn::MobileTelephoneNumber);
    property(u"TEL;TYPE=X-ASSISTANT"_s, ContactColumn::AssistantPhoneNumber);
    const auto address = [&](const QString &type, ContactColumn street, ContactColumn postalCode) {
        if (!text(street).isEmpty() || !text(postalCode).isEmpty())
            line(u"ADR;TYPE="_s + type, u";;"_s + escaped(text(street)) + u";;;"_s
                                            + escaped(text(postalCode)) + u';');
    };
    address(u"WORK"_s, ContactColumn::CompanyAddress, ContactColumn::CompanyPostalCode);
    address(u"HOME"_s, ContactColumn::HomeAddress, ContactColumn::HomePostalCode);
    property(u"EMAIL;TYPE=INTERNET"_s, ContactColumn::EmailAddress);
    property(u"URL"_s, ContactColumn::WebPage);
    property(u"NOTE"_s, ContactColumn::Remark);
    property(u"X-SPOUSE"_s, ContactColumn::Spouse);
    QString isoDate;
    bool birthdayWritten = false, anniversaryWritten = false;
    if (isImportDate(text(ContactColumn::Birthday), &isoDate)) {
        line(u"BDAY"_s, isoDate);
        birthdayWritten = true;
    }
    if (isImportDate(text(ContactColumn::Anniversary), &isoDate)) {
        line(u"X-ANNIVERSARY"_s, isoDate);
        anniversaryWritten = true;
    }
    for (int column = 0; column < kContactTextColumnCount; ++column) {
        const auto kind = ContactColumn(column);
        if (!isVCardExtensionColumn(kind) || (kind == ContactColumn::Birthday && birthdayWritten)
            || (kind == ContactColumn::Anniversary && anniversaryWritten))
            continue;
        property(u"X-DPX-"_s + QString(columnName(kind)).toUpper(), kind);
    }
    out += "END:VCARD\r\n";
    return out;
}

bool writeVCardFile(const QString &path, const QList<ContactRecord> &contacts, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = path + u": "_s + file.errorString();
        return false;
    }
    for (const ContactRecord &contact : contacts) {
        if (file.write(vcardOf(contact)) < 0)
            break;
    }
    if (!file.commit()) {
        *error = path + u": "_s + file.errorString();
        return false;
    }
    return true;
}

QString exportedText(int count)
{
    return QCoreApplication::translate("ContactImport", "已匯出 %1 位連絡人").arg(count);
}

} // namespace dpx
