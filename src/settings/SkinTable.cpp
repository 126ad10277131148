// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SkinTable.h"

#include "addressbook/AddressDatabase.h"

namespace dpx {

const std::array<SkinEntry, 7> &skinTable()
{
    static const std::array<SkinEntry, 7> table{{
        {0, "XPblue", 32795, "XPBLUE"},
        {1, "Corona", 32796, "CORONA"},
        {2, "Kromo", 32797, "KROMO"},
        {3, "XPgrean", 32798, "XPGREEN"},
        {4, "XPplus", 32799, "XPLUS"},
        {5, "XPsteel", 32800, "XPSTEEL"},
        {6, "Devior", 32801, "DEVIOR"},
    }};
    return table;
}

const SkinEntry *skinEntry(int value)
{
    return value >= 0 && value < int(skinTable().size()) ? &skinTable()[size_t(value)] : nullptr;
}

const SkinEntry *skinForCommand(int command)
{
    for (const SkinEntry &entry : skinTable())
        if (entry.command == command)
            return &entry;
    return nullptr;
}

int storedSkinValue(AddressDatabase *database)
{
    if (!database || !database->IsOpen())
        return kStartupSkin;
    return database->ReadSettingsRow().skin; // the row's absence keeps the reader's 6
}

std::optional<int> checkedSkin(int storedValue)
{
    if (!skinEntry(storedValue))
        return std::nullopt;
    return storedValue;
}

} // namespace dpx
