// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, dialling, the folder bar with the phone-book tree, and the volume slider.
#include "app/MainPhoneWindow.h"

#include "addressbook/AddressDatabase.h"
#include "app/DialSequencer.h"
#include "app/Keypad.h"
#include "app/PhoneBookTree.h"
#include "app/ChatClientPrompt.h"
#include "app/FolderCommand.h"
#include "app/ToolWindows.h"
#include "audio/MasterOutputVolume.h"
#include "ui/BitmapSlider.h"
#include "ui/FolderBar.h"
#include "ui/FolderBarImages.h"
#include "settings/SkinMenu.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

namespace dpx {

namespace {
QString folderTitle(FolderKind kind)
{
    switch (kind) {
    case FolderKind::Tools:
        return MainPhoneWindow::tr("工具");
    case FolderKind::PhoneBook:
        return MainPhoneWindow::tr("電話簿");
    case FolderKind::Settings:
        return MainPhoneWindow::tr("設置");
    case FolderKind::Other:
        break;
    }
    return {};
}
} // namespace

void MainPhoneWindow::createFolderBar(const QRect &area)
{
    m_folderBar = new CGfxOutBarCtrl(this);
    m_folderBar->setObjectName(QStringLiteral("folderBar"));
    m_folderBar->setGeometry(area);
    const FolderBarImages small = FolderBarImages::fromArt(QStringLiteral("261"), 16, QColor(0, 128, 128));
    m_folderBar->SetIcons(FolderBarImages::fromArt(QStringLiteral("254"), 32, QColor(128, 128, 128)),
                          CGfxOutBarCtrl::LargeImages);
    m_folderBar->SetIcons(small, CGfxOutBarCtrl::SmallImages);
    m_folderBar->SetBlinkPeriod(FolderBarBlinkMs);

    m_tree = new PhoneBookTree;
    m_tree->setImages(small);
    connect(m_tree, &PhoneBookTree::dialRequested, this, &MainPhoneWindow::DialSelectedContact);

    // Every folder and item carries its own value: clicks are dispatched by it, so a dragged
    // or removed item never makes another item open the wrong tool.
    const auto item = [this](int folder, Tool tool, int image) {
        m_folderBar->InsertFolderItem(folder, -1, toolName(tool), image,
                                      quint32(tool));
    };
    const int tools = m_folderBar->AppendFolder(folderTitle(FolderKind::Tools), quint32(FolderKind::Tools));
    item(tools, Tool::AudioConverter, 0);
    item(tools, Tool::AudioTransfer, 1);
    item(tools, Tool::ChatClient, 7);
    item(tools, Tool::CallHistory, 8);
    m_folderBar->AppendChildFolder(folderTitle(FolderKind::PhoneBook), m_tree, quint32(FolderKind::PhoneBook));
    const int settings = m_folderBar->AppendFolder(folderTitle(FolderKind::Settings), quint32(FolderKind::Settings));
    item(settings, Tool::PhoneSettings, 5);
    item(settings, Tool::SkinMenu, 6);
    item(settings, Tool::CallActions, 9);
    m_folderBar->SelectFolder(tools);
    retranslateFolderBar(); // notes the texts given, to tell them from the user's own names
    connect(m_folderBar, &CGfxOutBarCtrl::panelNotify, this, &MainPhoneWindow::onPanelNotify);
    connect(m_folderBar, &CGfxOutBarCtrl::contextMenuAboutToShow, this, [this](QMenu *menu) {
        menu->addSeparator();
        menu->addMenu(new SkinMenu(m_services.database,
                                   [this](const QString &text) { ShowStatusText(text); }, menu));
    });
}

void MainPhoneWindow::retranslateFolderBar()
{
    // A folder or item the user renamed keeps the user's name: only the texts this window
    // gave last are replaced.
    const auto follow = [this](const QString &key, const QString &shown, const QString &wanted,
                               const std::function<void(const QString &)> &set) {
        const auto given = m_folderBarTexts.constFind(key);
        if (!wanted.isEmpty() && (given == m_folderBarTexts.cend() || *given == shown)) {
            if (shown != wanted)
                set(wanted);
            m_folderBarTexts.insert(key, wanted);
        }
    };
    for (int folder = 0; folder < m_folderBar->folderCount(); ++folder) {
        const quint32 kind = m_folderBar->folderUserValue(folder);
        follow(QStringLiteral("f%1").arg(kind), m_folderBar->folderName(folder), folderTitle(FolderKind(kind)),
               [&](const QString &text) { m_folderBar->setFolderName(folder, text); });
        for (int item = 0; item < m_folderBar->itemCount(folder); ++item) {
            const quint32 tool = m_folderBar->itemUserValue(folder, item);
            follow(QStringLiteral("i%1").arg(tool), m_folderBar->itemText(folder, item), toolName(Tool(tool)),
                   [&](const QString &text) { m_folderBar->setItemText(folder, item, text); });
        }
    }
}

void MainPhoneWindow::onPanelNotify(int code, int value)
{
    if (code == CGfxOutBarCtrl::FolderChanged) {
        // The phone-book folder opens with fresh contents.
        if (FolderKind(m_folderBar->folderUserValue(value)) == FolderKind::PhoneBook)
            FillPhoneBookTree();
        return;
    }
    if (code == CGfxOutBarCtrl::ItemClicked)
        openTool(m_folderBar->itemUserValue(m_folderBar->CurrentFolder(), value));
}

void MainPhoneWindow::openTool(quint32 itemValue)
{
    const Tool tool = Tool(itemValue);
    if (tool == Tool::ChatClient) {
        m_folderBar->clearItemSelection();
        if (!m_chatClient)
            m_chatClient = new ChatClientPrompt(
                this, [this](const QString &text) { showMessage(text); },
                [this](const QString &text) { m_lastMessage = text; });
        m_chatClient->start();
        return;
    }
    if (tool == Tool::SkinMenu) {
        // A popup, not a window that stays: the item does not keep flashing.
        m_folderBar->clearItemSelection();
        if (QWidget *menu = m_toolWindows->open(ToolWindow::SkinMenu))
            menu->move(QCursor::pos());
        return;
    }
    if (tool == Tool::AudioConverter)
        ShowStatusText(tr("音檔轉換..."));
    const std::optional<ToolWindow> window = toolWindowOf(tool);
    if (window && m_toolWindows && m_toolWindows->open(*window))
        return; // the item keeps flashing while its window is open
    // Nothing opened: the item stops flashing at once (it would wake the window for good).
    if (m_folderBar)
        m_folderBar->clearItemSelection();
    const QString name = toolName(tool);
    if (!name.isEmpty())
        ShowStatusText(tr("%1 (這個版本尚未提供)").arg(name));
}

void MainPhoneWindow::FillPhoneBookTree()
{
    if (m_tree)
        m_tree->FillPhoneBookTree(m_services.database);
}

void MainPhoneWindow::onSliderMoved(int controlId, int position)
{
    if (!m_volumeSlider || controlId != m_volumeSlider->controlId())
        return;
    // The slider's left end is the loudest: the volume is the part right of the thumb.
    const int maximum = m_volume->GetMaxVolume();
    if (maximum > 0)
        m_volume->SetVolume(int(qint64(maximum) * (100 - position) / 100));
}

void MainPhoneWindow::followOutsideVolume(int volume)
{
    const int maximum = m_volume->GetMaxVolume();
    if (maximum <= 0 || !m_volumeSlider || m_volumeSlider->isDragging())
        return;
    m_volumeSlider->SetPos(100 - int((qint64(volume) * 100 + maximum / 2) / maximum));
}

void MainPhoneWindow::PressKey(int keyNumber)
{
    if (!m_keypad || m_keypad->PressKey(keyNumber) == Keypad::Result::NoBox)
        showMessage(QCoreApplication::translate("Keypad", Keypad::DeviceErrorText));
}

bool MainPhoneWindow::isDialling() const
{
    return m_dialer->isRunning();
}

void MainPhoneWindow::DialSelectedContact(const QString &selectedText)
{
    if (!isBoxPresent()) {
        showMessage(QCoreApplication::translate("Keypad", Keypad::DeviceErrorText));
        return;
    }
    // Numbers are often stored with separators; a name or a nickname is no number.
    const QString number = withoutVisualSeparators(selectedText);
    if (!isDiallableNumber(number)) {
        showMessage(tr(InvalidNumberText));
        return;
    }
    startDialling(number);
}

void MainPhoneWindow::dialRequest(const QString &request)
{
    const QString number = numberFromDialRequest(request);
    if (number.isEmpty()) {
        showMessage(tr(InvalidNumberText));
        return;
    }
    if (!isBoxPresent()) {
        showMessage(QCoreApplication::translate("Keypad", Keypad::DeviceErrorText));
        return;
    }
    startDialling(number);
}

void MainPhoneWindow::startDialling(const QString &number)
{
    // One number at a time: the digits of two numbers must never interleave.
    if (m_dialer->isRunning()) {
        ShowStatusText(tr("正在撥號 %1").arg(m_dialer->number()));
        return;
    }
    QString lineCode;
    if (m_services.database && m_services.database->IsOpen())
        lineCode = m_services.database->ReadSettingsRow().lineCode;
    ShowStatusText(tr("撥號 %1").arg(number));
    m_dialer->start(dialSteps(lineCode, number), number);
    Q_EMIT diallingStarted(number);
}

} // namespace dpx
