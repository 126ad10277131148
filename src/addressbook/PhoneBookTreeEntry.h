// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// One contact as the main window's phone-book tree shows it. NULL reads as empty text.
struct PhoneBookTreeEntry {
    QString name;
    QString homeTelephoneNumber;
    QString mobileTelephoneNumber;
    QString businessTelephoneNumber;
    QString nickname;

    bool operator==(const PhoneBookTreeEntry &other) const = default;
};

} // namespace dpx
