// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FolderCommand.h"

namespace dpx {

QString toolName(Tool tool)
{
    switch (tool) {
    case Tool::AudioConverter:
        return QStringLiteral("音檔轉換");
    case Tool::AudioTransfer:
        return QStringLiteral("音檔傳輸");
    case Tool::PhoneSettings:
        return QStringLiteral("話機配置");
    case Tool::SkinMenu:
        return QStringLiteral("Skin");
    case Tool::ChatClient:
        return QStringLiteral("網路電話");
    case Tool::None:
        break;
    }
    return {};
}

std::optional<ToolWindow> toolWindowOf(Tool tool)
{
    switch (tool) {
    case Tool::AudioConverter:
        return ToolWindow::Converter;
    case Tool::AudioTransfer:
        return ToolWindow::Transfer;
    case Tool::PhoneSettings:
        return ToolWindow::Settings;
    case Tool::SkinMenu:
        return ToolWindow::SkinMenu;
    case Tool::ChatClient:
    case Tool::None:
        break;
    }
    return std::nullopt;
}

} // namespace dpx
