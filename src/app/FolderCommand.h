// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ToolWindowKind.h"

#include <QString>

#include <optional>

namespace dpx {

// What a folder-bar item does. The value is stored on each item, so a click runs the item's
// own command wherever the user has dragged it.
enum class Tool : quint32 {
    None = 0,
    AudioConverter = 1,
    AudioTransfer = 2,
    PhoneSettings = 3,
    SkinMenu = 4,   // the "Skin" popup
    ChatClient = 5, // starts the chat client
};

// What a folder of the folder bar holds, stored as the folder's own value.
enum class FolderKind : quint32 {
    Other = 0,
    Tools = 1,
    PhoneBook = 2,
    Settings = 3,
};

// The item's text on the folder bar; empty for None or an unknown value.
QString toolName(Tool tool);
// The tool window a command opens; nullopt for commands that open none.
std::optional<ToolWindow> toolWindowOf(Tool tool);

} // namespace dpx
