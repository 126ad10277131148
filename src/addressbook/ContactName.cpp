// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactName.h"

namespace dpx {

namespace {

bool isLatinOrDigit(QChar c)
{
    if (c.isDigit())
        return true;
    return c.isLetter() && c.script() == QChar::Script_Latin;
}

} // namespace

QString joinContactName(const QString &lastName, const QString &firstName)
{
    if (!lastName.isEmpty() && !firstName.isEmpty() && isLatinOrDigit(lastName.back())
        && isLatinOrDigit(firstName.front()))
        return lastName + QLatin1Char(' ') + firstName;
    return lastName + firstName;
}

} // namespace dpx
