// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace dpx {

// The program's tool windows, as the main window, the tray, the folder bar and scripts ask
// for them.
enum class ToolWindow {
    PhoneBook,     // "phonebook"
    ContactEditor, // "editor": a new contact
    CallerCard,    // "card": the ringing caller's contact, read-only
    Transfer,      // "transfer"
    Converter,     // "converter"
    Settings,      // "settings"
    SkinMenu,      // "skin-menu"
    History,       // "history"
    CallActions,   // "actions"
};

inline constexpr int ToolWindowCount = int(ToolWindow::CallActions) + 1;

// The name scripts use for a tool window, and back; nullopt for an unknown name.
QString toolWindowName(ToolWindow window);
std::optional<ToolWindow> toolWindowFromName(QStringView name);
QStringList toolWindowNames();

} // namespace dpx
