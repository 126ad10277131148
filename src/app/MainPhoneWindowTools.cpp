// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the tool windows: the services they get and the requests that
// open them (tray menu, phone-book tree, caller card).
#include "app/MainPhoneWindow.h"

#include "app/AddressBookWindows.h"
#include "app/PhoneBookTree.h"
#include "app/PhoneTray.h"
#include "app/ToolWindows.h"
#include "transfer/TransferSession.h"
#include "ui/FolderBar.h"

#include <QAction>

namespace dpx {

void MainPhoneWindow::createToolWindows()
{
    AppServices services;
    services.mainWindow = this;
    services.dataFolder = m_services.dataFolder;
    services.database = m_services.database;
    services.box = m_services.box;
    services.transfer = m_services.transfer;
    services.verifyTransfers = m_services.verifyTransfers;
    services.confirm = m_services.confirm;
    services.ringPlayer = m_ringPlayer;
    services.masterVolume = m_volume;
    services.showStatus = [this](const QString &text) { ShowStatusText(text); };
    services.showMessage = [this](const QString &text) { showMessage(text); };
    services.dial = [this](const QString &number) { dialRequest(number); };
    services.contactsChanged = [this] { FillPhoneBookTree(); };
    services.settingsChanged = [this] { readSettings(); };
    services.isBoxPresent = [this] { return isBoxPresent(); };
    services.caller = [this] { return m_callerFound ? m_caller : ContactRecord(); };
    services.dock = [this](QWidget *window, QPoint offset) { dockToolWindow(window, offset); };
    m_toolWindows = new ToolWindows(std::move(services), this);
    // A folder-bar item flashes while the window it opened is open.
    if (m_folderBar)
        connect(m_toolWindows, &ToolWindows::closed, m_folderBar, &CGfxOutBarCtrl::clearItemSelection);

    connect(m_toolWindows, &ToolWindows::closed, this, [this](ToolWindow which) {
        if (which == ToolWindow::Transfer)
            onTransferWindowClosed();
    });
    if (m_services.transfer) {
        connect(m_services.transfer, &TransferSession::statusText, this, &MainPhoneWindow::ShowStatusText);
        connect(m_services.transfer, &TransferSession::runningChanged, this, &MainPhoneWindow::setTransferRunning);
        setTransferRunning(m_services.transfer->isRunning());
    }

    // The entries that open a tool window work when that window is part of the build.
    QAction *transfer = m_tray->transferAction();
    if (ToolWindows::hasFactory(ToolWindow::Transfer) && m_services.transfer) {
        transfer->setEnabled(true);
        transfer->setToolTip(QString());
    }
    connect(transfer, &QAction::triggered, this, [this] { m_toolWindows->open(ToolWindow::Transfer); });
    QAction *phoneBook = m_tray->phoneBookAction();
    if (ToolWindows::hasFactory(ToolWindow::PhoneBook)) {
        phoneBook->setEnabled(true);
        phoneBook->setToolTip(QString());
    }
    connect(phoneBook, &QAction::triggered, this,
            [this] { m_toolWindows->open(ToolWindow::PhoneBook); });
    if (m_tree) {
        m_tree->setEditEnabled(ToolWindows::hasFactory(ToolWindow::PhoneBook));
        connect(m_tree, &PhoneBookTree::editRequested, this,
                [this] { openPhoneBookAt(*m_toolWindows, m_tree->selectedContactName()); });
    }
    connect(this, &MainPhoneWindow::showCallerCardRequested, this, [this] {
        if (m_callerFound)
            ShowCallerCard(*m_toolWindows, m_caller);
    });
}

void MainPhoneWindow::setTransferRunning(bool running)
{
    m_transferRunning = running;
    if (running)
        m_statusTimer.stop(); // the text on the line now stays until the transfer says more
}

bool MainPhoneWindow::isTransferWindowOpen() const
{
    return m_toolWindows && m_toolWindows->isOpen(ToolWindow::Transfer);
}

// Closing the transfer window puts the clock back on the display when the box is here.
void MainPhoneWindow::onTransferWindowClosed()
{
    if (m_model.clockShown() || !isBoxPresent())
        return;
    m_model.ShowClock();
    refreshLcd();
}

} // namespace dpx
