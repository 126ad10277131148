// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's phone-book tree read of AddressDatabase.
#include "addressbook/AddressDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace dpx {

std::optional<QList<PhoneBookTreeEntry>> AddressDatabase::readPhoneBookTree()
{
    const QString action = QStringLiteral("Could not read the address book");
    std::optional<QSqlQuery> read = prepareRead(u"SELECT name, hometelephonenumber, mobiletelephonenumber, "
                                                "businesstelephonenumber, nickname FROM address_book "
                                                "ORDER BY name, rowid"_s,
                                                action);
    if (!read || !runQuery(*read, action))
        return std::nullopt;
    QSqlQuery &query = *read;
    const auto text = [&](int field) {
        const QVariant value = query.value(field);
        return value.isNull() ? QString() : value.toString();
    };
    QList<PhoneBookTreeEntry> entries;
    while (query.next())
        entries.append({text(0), text(1), text(2), text(3), text(4)});
    return entries;
}

} // namespace dpx
