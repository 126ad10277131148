// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

namespace dpx {

class AddressDatabase;

struct SkinEntry {
    int value;                // stored in phone_setting.skin
    const char *menuText;     // the "Skin" menu's item, exactly as shown
    int command;              // the menu command
    const char *resourceName; // the look's name
};

// The seven skins in menu order; the index is the stored value.
const std::array<SkinEntry, 7> &skinTable();
inline constexpr int kStartupSkin = 6; // "DEVIOR": the look every start uses

// The entry of a stored value, or nothing for a value outside 0..6.
const SkinEntry *skinEntry(int value);
// The entry of a menu command, or nothing.
const SkinEntry *skinForCommand(int command);

// The stored value as the menu reads it: 6 when the database is closed or has no row, 0 for
// a text that is no number.
int storedSkinValue(AddressDatabase *database);
// The menu item that carries the check mark for a stored value: nothing outside 0..6.
std::optional<int> checkedSkin(int storedValue);

} // namespace dpx
