// SPDX-License-Identifier: GPL-3.0-or-later
// The script's transfer commands: load, factory, cancel, fault and expect slot.
#include "app/MainPhoneWindow.h"
#include "app/ScriptRunner.h"
#include "app/ToolWindows.h"
#include "sim/SimulatedBox.h"
#include "transfer/EepromImage.h"
#include "transfer/EepromLayout.h"
#include "transfer/TransferSession.h"
#include "transfer/window/AudioTransferWindow.h"
#include "ui/ReportListCtrl.h"

#include <QFile>
#include <QFileInfo>

namespace dpx {

bool ScriptRunner::isTransferCommand(ScriptCommand::Kind kind)
{
    return kind == ScriptCommand::Load || kind == ScriptCommand::Factory || kind == ScriptCommand::Cancel
        || kind == ScriptCommand::Fault;
}

QString ScriptRunner::actOnTransfer(const ScriptCommand &command)
{
    if (command.kind == ScriptCommand::Fault) {
        SimulatedBox::Faults faults = m_box.faults();
        const int n = command.numbers.value(0);
        if (command.text == QLatin1String("drop"))
            faults.dropNextReplies = n;
        else if (command.text == QLatin1String("late"))
            faults.delayNextReplyMs = n;
        else if (command.text == QLatin1String("pull"))
            faults.unplugAfterOutputReports = n;
        else if (command.text == QLatin1String("corrupt"))
            faults.corruptNextDataBlocks = n;
        else if (command.text == QLatin1String("erase"))
            faults.skipNextErase = true;
        else if (command.text == QLatin1String("flip"))
            faults.flipBitInNextStoredBlock = true;
        m_box.setFaults(faults);
        return {};
    }
    ToolWindows &tools = m_window.toolWindows();
    auto *window = qobject_cast<AudioTransferWindow *>(tools.open(ToolWindow::Transfer));
    if (!window)
        return QStringLiteral("the transfer window could not be opened");
    switch (command.kind) {
    case ScriptCommand::Load: {
        ReportListModel *rows = window->list()->listModel();
        for (int row = 0; row < rows->rowCount(); ++row)
            rows->setChecked(row, false); // only the file named here goes
        if (!window->addFile(command.text))
            return {}; // refused: the message tells why (expect message)
        window->setSlot(rows->rowCount() - 1, command.numbers.value(0));
        window->transferOrCancel();
        return {};
    }
    case ScriptCommand::Factory:
        window->factoryDefault();
        return {};
    case ScriptCommand::Cancel:
        if (!tools.services().transfer || !tools.services().transfer->isRunning())
            return QStringLiteral("no transfer runs");
        window->transferOrCancel();
        return {};
    default:
        return QStringLiteral("not a transfer command");
    }
}

bool ScriptRunner::isTransferRunning() const
{
    const TransferSession *session = m_window.toolWindows().services().transfer;
    return session && session->isRunning();
}

QString ScriptRunner::checkSlot(const ScriptCommand &command) const
{
    if (isTransferRunning())
        return QStringLiteral("the transfer has not ended");
    const int slot = command.numbers.value(0);
    const QByteArray image = m_box.eeprom();
    const InfoTable table = EepromImage::tableOf(image);
    const auto region = table.region(slot);
    if (!region)
        return QStringLiteral("the box's table lays out no slot %1").arg(slot);
    const QByteArray held = image.mid(qsizetype(region->firstBlock) * eeprom::BlockSize, region->bytes());
    if (command.text == QLatin1String("empty")) {
        const bool erased = held.left(eeprom::PageSize) == QByteArray(eeprom::PageSize, char(0xFF));
        if (erased && (slot == 0 || table.musicLength(slot) == 0))
            return {};
        return QStringLiteral("expected slot %1 empty, it holds data (entry: %2 pages)")
            .arg(slot).arg(table.musicLength(slot));
    }
    QFile file(command.text);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1").arg(command.text);
    const QByteArray data = file.read(region->usableBytes());
    if (held.left(data.size()) != data)
        return QStringLiteral("expected slot %1 to hold %2, it does not")
            .arg(slot).arg(QFileInfo(command.text).fileName());
    const int pages = int((data.size() + eeprom::PageSize - 1) / eeprom::PageSize);
    if (slot > 0 && table.musicLength(slot) != pages)
        return QStringLiteral("expected slot %1's entry to say %2 pages, it says %3")
            .arg(slot).arg(pages).arg(table.musicLength(slot));
    return {};
}

} // namespace dpx
