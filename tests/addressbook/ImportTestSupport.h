// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the import tests: expected records written as "column=value" lines and the
// entries a file gives.

#include "addressbook/ContactFileReader.h"

#include <QList>
#include <QStringList>
#include <QtTest>

namespace dpx::test {

using namespace Qt::StringLiterals;

// A record from "column=value" pairs separated by '|' ("name=Ann|mobiletelephonenumber=1").
inline ContactRecord record(const QString &fields)
{
    ContactRecord contact;
    for (const QString &pair : fields.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        const bool known = contact.setText(pair.left(equals), pair.mid(equals + 1).replace(u"\\n"_s, u"\n"_s));
        if (!known)
            qWarning() << "unknown column in test record:" << pair;
    }
    return contact;
}

// The non-empty columns of a record in the same form, for readable comparisons.
inline QString describe(const ContactRecord &contact)
{
    QStringList pairs;
    for (int column = 0; column < kContactTextColumnCount; ++column) {
        if (!contact.text(column).isEmpty())
            pairs.append(QString(kContactColumns[size_t(column)]) + u'=' + contact.text(column).replace(u'\n', u"\\n"_s));
    }
    if (contact.hasPicture())
        pairs.append(u"ishavepicture=1"_s);
    return pairs.join(u'|');
}

inline QList<ImportEntry> entriesOf(const QByteArray &data, const QByteArray &legacy = "windows-1252")
{
    ContactFileReader reader;
    QList<ImportEntry> entries;
    if (!reader.openData(data, legacy))
        return entries;
    ImportEntry entry;
    while (reader.next(entry))
        entries.append(entry);
    return entries;
}

// One line per entry: "contact: <describe>", "failed N: reason" or "skipped N: reason".
inline QStringList outline(const QList<ImportEntry> &entries)
{
    QStringList lines;
    for (const ImportEntry &entry : entries) {
        switch (entry.kind) {
        case ImportEntry::Kind::Contact:
            lines.append(u"contact: "_s + describe(entry.contact));
            break;
        case ImportEntry::Kind::Failed:
            lines.append(u"failed %1"_s.arg(entry.line));
            break;
        case ImportEntry::Kind::Skipped:
            lines.append(u"skipped %1"_s.arg(entry.line));
            break;
        }
    }
    return lines;
}

} // namespace dpx::test
