// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Contacts as vCard 3.0 (UTF-8, CRLF, lines folded at 75 octets), in a form the import reads
// back to the same rows: the standard properties for the columns that have one, X-DPX-<column>
// lines for the rest.

#include "addressbook/ContactRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dpx {

QByteArray vcardOf(const ContactRecord &contact);

// Writes the cards to `path` through a temporary file renamed into place. False with `error`
// set when the file cannot be written; an existing file then stays as it was.
bool writeVCardFile(const QString &path, const QList<ContactRecord> &contacts, QString *error);

// "已匯出 %1 位連絡人"
QString exportedText(int count);

} // namespace dpx
