// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/PhoneType.h"

#include <QString>

#include <optional>

namespace dpx {

// The single phone_setting row as the program reads it. The defaults are what every reader
// keeps when there is no database or no row.
struct PhoneSettings {
    bool rowRead = false;                 // a row was there and has been read
    int skin = 6;                         // skin: decimal value; 6 when nothing is stored
    QString lineCode;                     // linecode: outside-line access code
    PhoneType phoneType = PhoneType::DX;  // phonetype: DX when the text contains "DX"
    bool showCallerCard = true;           // bshowinfo: on when its value is above 0
    QString coRing;                       // coring: chosen CO ring file, empty = no PC ring
    QString icmRing;                      // icmring: chosen ICM ring file, empty = no PC ring
    int vksRing = 0;                      // bvksring: decimal value

    bool operator==(const PhoneSettings &other) const = default;
};

// The settings columns to write in one save; a field without a value is left as stored.
struct PhoneSettingsChange {
    std::optional<bool> showCallerCard;   // bshowinfo 1 / 0
    std::optional<PhoneType> phoneType;   // phonetype "DX" / "SD"
    std::optional<QString> lineCode;      // linecode; empty is stored as "0"
    std::optional<QString> coRing;        // coring; empty is stored as NULL
    std::optional<QString> icmRing;       // icmring; empty is stored as NULL

    bool isEmpty() const { return !showCallerCard && !phoneType && !lineCode && !coRing && !icmRing; }
    bool operator==(const PhoneSettingsChange &other) const = default;
};

// The row a fresh database starts with.
struct SeedPhoneSettings {
    static constexpr int skin = 0;
    static constexpr const char *lineCode = "0";
    static constexpr const char *phoneType = "DX";
    static constexpr int showInfo = 1;
    static constexpr int vksRing = 0;
};

} // namespace dpx
