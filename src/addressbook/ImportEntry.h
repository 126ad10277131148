// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"

#include <QString>
#include <QStringList>

namespace dpx {

// What one card or row of an imported file gave.
struct ImportEntry {
    enum class Kind {
        Contact, // `contact` is to be stored unless already present
        Failed,  // unreadable: `reason` says why, at `line`
        Skipped, // not a contact (a group, an empty card or row): `reason` says which
    };
    Kind kind = Kind::Contact;
    int line = 0; // where the card or row starts (1-based)
    ContactRecord contact;
    QString reason;
    QStringList notes; // what was read but has no column (numbers of other kinds ...)
};

// "第 N 行:reason", the form of every line of an import's details.
QString lineNote(int line, const QString &text);

} // namespace dpx
