// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FolderCommand.h"

#include <QCoreApplication>

namespace dpx {

QString toolName(Tool tool)
{
    switch (tool) {
    case Tool::AudioConverter:
        return QCoreApplication::translate("FolderCommand", "音檔轉換");
    case Tool::AudioTransfer:
        return QCoreApplication::translate("FolderCommand", "音檔傳輸");
    case Tool::PhoneSettings:
        return QCoreApplication::translate("FolderCommand", "話機配置");
    case Tool::SkinMenu:
        return QCoreApplication::translate("FolderCommand", "Skin");
    case Tool::ChatClient:
        return QCoreApplication::translate("FolderCommand", "網路電話");
    case Tool::CallHistory:
        return QCoreApplication::translate("FolderCommand", "通話記錄");
    case Tool::CallActions:
        return QCoreApplication::translate("FolderCommand", "來電動作");
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
    case Tool::CallHistory:
        return ToolWindow::History;
    case Tool::CallActions:
        return ToolWindow::CallActions;
    case Tool::ChatClient:
    case Tool::None:
        break;
    }
    return std::nullopt;
}

} // namespace dpx
