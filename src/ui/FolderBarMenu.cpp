// SPDX-License-Identifier: GPL-3.0-or-later
// The folder bar's context menu, its commands and the in-place rename editor.
#include "ui/FolderBar.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace dpx {

namespace {

FolderBarHit menuTargetOf(const FolderBarHit &hit)
{
    if (hit.kind == FolderBarHitKind::Header)
        return hit;
    if (hit.isItem())
        return {FolderBarHitKind::ItemLabel, hit.index};
    return {};
}

} // namespace

QMenu *CGfxOutBarCtrl::createContextMenu(QPoint pos)
{
    finishSlide();
    m_menuTarget = menuTargetOf(layoutGeometry().hitTest(pos));
    m_menuFolder = m_selected;
    const bool header = m_menuTarget.kind == FolderBarHitKind::Header;
    const bool item = m_menuTarget.isItem();

    auto *menu = new QMenu(this);
    auto add = [&](const QString &text, int command, bool enabled) {
        QAction *action = menu->addAction(text);
        action->setData(command);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        return action;
    };
    QAction *large = add(tr("大圖示"), CommandLargeIcons, showsItems(m_selected));
    QAction *small = add(tr("小圖示"), CommandSmallIcons, showsItems(m_selected));
    large->setCheckable(true);
    large->setChecked(!smallIcons());
    small->setCheckable(true);
    small->setChecked(smallIcons());
    menu->addSeparator();
    add(tr("重新命名"), CommandRename,
        (header && (m_flags & RenameFoldersFlag)) || (item && (m_flags & RenameItemsFlag)));
    add(tr("移除"), CommandRemove,
        (header && (m_flags & RemoveFoldersFlag)) || (item && (m_flags & RemoveItemsFlag)));
    Q_EMIT contextMenuAboutToShow(menu, m_menuTarget);
    return menu;
}

void CGfxOutBarCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    if (!(m_flags & MenuFlag)) {
        event->ignore();
        return;
    }
    QMenu *menu = createContextMenu(event->pos());
    menu->exec(event->globalPos());
    delete menu;
}

void CGfxOutBarCtrl::runCommand(int command)
{
    switch (command) {
    case CommandSmallIcons:
        setSmallIcons(true);
        return;
    case CommandLargeIcons:
        setSmallIcons(false);
        return;
    default:
        break;
    }
    // Remove and rename act on what was last right-clicked, once.
    const FolderBarHit target = m_menuTarget;
    const bool sameFolder = m_menuFolder == m_selected;
    m_menuTarget = {};
    if (command == CommandRemove) {
        if (target.kind == FolderBarHitKind::Header && (m_flags & RemoveFoldersFlag))
            DeleteFolder(target.index);
        else if (target.isItem() && sameFolder && (m_flags & RemoveItemsFlag))
            DeleteFolderItem(target.index);
    } else if (command == CommandRename) {
        if (target.kind == FolderBarHitKind::Header || (target.isItem() && sameFolder))
            startRename(target);
    }
}

bool CGfxOutBarCtrl::startRename(FolderBarHit target)
{
    finishSlide();
    cancelRename();
    const FolderBarGeometry geometry = layoutGeometry();
    const int editorHeight = fontMetrics().height() + 4;
    QRect area;
    QString text;
    if (target.kind == FolderBarHitKind::Header) {
        if (!(m_flags & RenameFoldersFlag) || !validFolder(target.index))
            return false;
        area = geometry.headerRect(target.index).adjusted(2, 2, -2, -2);
        text = m_folders.at(target.index).name;
    } else if (target.isItem()) {
        if (!(m_flags & RenameItemsFlag) || !showsItems(m_selected) ||
            !validItem(m_selected, target.index) || !geometry.isItemVisible(target.index))
            return false;
        const QRect label = geometry.labelRect(target.index);
        const QRect content = geometry.contentRect();
        // The editor spans the free width so a longer name can be typed.
        const int left = smallIcons() ? label.left() : content.left() + 2;
        area = QRect(left, label.center().y() - editorHeight / 2, content.right() - 1 - left,
                     editorHeight);
        text = m_folders.at(m_selected).items.at(target.index).label;
        target.kind = FolderBarHitKind::ItemLabel;
    } else {
        return false;
    }
    m_editTarget = target;
    m_editor = new QLineEdit(text, this);
    m_editor->setGeometry(area);
    m_editor->setAlignment(
        target.kind == FolderBarHitKind::Header || !smallIcons() ? Qt::AlignCenter : Qt::AlignLeft);
    m_editor->selectAll();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::editingFinished, this, &CGfxOutBarCtrl::commitRename);
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    return true;
}

void CGfxOutBarCtrl::commitRename()
{
    if (!m_editor)
        return;
    const QString text = m_editor->text();
    const FolderBarHit target = m_editTarget;
    cancelRename();
    // An empty name would leave an item or header nobody can see or click by its label.
    if (text.trimmed().isEmpty())
        return;
    if (target.kind == FolderBarHitKind::Header) {
        if (!validFolder(target.index) || text == m_folders.at(target.index).name)
            return;
        if (ask(FolderRenamed, FolderBarEdit{target.index, -1, text}) && validFolder(target.index))
            setFolderName(target.index, text);
    } else if (target.isItem()) {
        const int folder = m_selected;
        if (!validItem(folder, target.index) || text == itemText(folder, target.index))
            return;
        if (ask(ItemRenamed, FolderBarEdit{target.index, -1, text}) && folder == m_selected)
            setItemText(folder, target.index, text);
    }
}

void CGfxOutBarCtrl::cancelRename()
{
    if (!m_editor)
        return;
    QLineEdit *editor = m_editor;
    m_editor = nullptr;
    m_editTarget = {};
    editor->disconnect(this);
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
}

bool CGfxOutBarCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        cancelRename();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dpx
