// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TransferWindows.h"

#include "app/DataFolder.h"
#include "app/ToolWindows.h"
#include "transfer/window/AudioTransferWindow.h"

namespace dpx {

void registerTransferWindows()
{
    ToolWindows::registerFactory(
        ToolWindow::Transfer,
        [](const AppServices &services) -> QWidget * {
            if (!services.transfer)
                return nullptr;
            AudioTransferWindow::Services s;
            s.session = services.transfer;
            s.dataFolder = services.dataFolder ? services.dataFolder->path() : QString();
            s.isBoxPresent = services.isBoxPresent;
            s.showStatus = services.showStatus;
            s.showMessage = services.showMessage;
            s.confirm = services.confirm;
            auto *window = new AudioTransferWindow(std::move(s), services.mainWindow);
            window->setVerify(services.verifyTransfers);
            return window;
        },
        AudioTransferWindow::DockOffset);
}

} // namespace dpx
