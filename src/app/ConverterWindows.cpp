// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ConverterWindows.h"

#include "app/DataFolder.h"
#include "app/ToolWindows.h"
#include "audio/window/AudioConverterWindow.h"

namespace dpx {

void registerConverterWindows()
{
    ToolWindows::registerFactory(
        ToolWindow::Converter,
        [](const AppServices &services) -> QWidget * {
            AudioConverterWindow::Services s;
            s.dataFolder = services.dataFolder ? services.dataFolder->path() : QString();
            s.volume = services.masterVolume;
            s.showStatus = services.showStatus;
            s.showMessage = services.showMessage;
            s.confirm = services.confirm;
            return new AudioConverterWindow(std::move(s), services.mainWindow);
        },
        AudioConverterWindow::DockOffset);
}

} // namespace dpx
