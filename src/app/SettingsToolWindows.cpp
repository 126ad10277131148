// SPDX-License-Identifier: GPL-3.0-or-later
// The settings module's tool windows: the phone settings window and the "Skin" popup.
#include "app/DataFolder.h"
#include "app/ToolWindows.h"
#include "settings/PhoneSettingsWindow.h"
#include "settings/SkinMenu.h"

#include <QCursor>

namespace dpx {

void registerSettingsToolWindows()
{
    ToolWindows::registerFactory(ToolWindow::Settings, [](const AppServices &app) -> QWidget * {
        PhoneSettingsServices services;
        services.database = app.database;
        services.dataFolder = app.dataFolder ? app.dataFolder->path() : QString();
        services.ringPlayer = app.ringPlayer;
        services.showMessage = app.showMessage;
        services.settingsSaved = app.settingsChanged;
        auto *window = new PhoneSettingsWindow(std::move(services), app.mainWindow);
        // Over the lower part of the telephone.
        if (app.mainWindow)
            window->move(app.mainWindow->x(), app.mainWindow->y() + 155);
        return window;
    });
    ToolWindows::registerFactory(ToolWindow::SkinMenu, [](const AppServices &app) -> QWidget * {
        auto *menu = new SkinMenu(app.database, app.showStatus, app.mainWindow);
        menu->move(QCursor::pos());
        return menu;
    });
}

} // namespace dpx
