// SPDX-License-Identifier: GPL-3.0-or-later
// The folder bar's folders, items, images and layout; input and painting live in
// FolderBarInput.cpp and FolderBarPaint.cpp.
#include "ui/FolderBar.h"

#include <QEvent>
#include <QLineEdit>

namespace dpx {

CGfxOutBarCtrl::CGfxOutBarCtrl(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_metrics.labelHeight = fontMetrics().height();
}

CGfxOutBarCtrl::~CGfxOutBarCtrl() = default;

int CGfxOutBarCtrl::AppendFolder(const QString &name, quint32 userValue)
{
    return AppendChildFolder(name, nullptr, userValue);
}

int CGfxOutBarCtrl::AppendChildFolder(const QString &name, QWidget *child, quint32 userValue)
{
    finishSlide();
    Folder folder;
    folder.name = name;
    folder.userValue = userValue;
    if (child) {
        child->hide();
        child->setParent(this);
        folder.child = child;
    }
    m_folders.append(folder);
    if (m_selected < 0)
        m_selected = 0;
    clampFirstVisible();
    placeChildren();
    update();
    return int(m_folders.size()) - 1;
}

void CGfxOutBarCtrl::DeleteFolder(int folder)
{
    if (!validFolder(folder))
        return;
    finishSlide();
    cancelRename();
    cancelDrag();
    m_menuTarget = {};
    if (QWidget *child = m_folders.at(folder).child)
        child->hide();
    m_folders.removeAt(folder);
    clearHover();
    if (folder < m_selected) {
        --m_selected; // the same folder stays selected
    } else if (folder == m_selected) {
        // Its items are gone: a click still waiting for its flash has nothing to report.
        clearSelectedItem();
        m_firstVisible = 0;
        m_selected = m_folders.isEmpty() ? -1 : std::max(0, folder - 1);
        placeChildren();
        update();
        if (m_selected >= 0)
            Q_EMIT panelNotify(FolderChanged, m_selected);
        return;
    }
    placeChildren();
    update();
}

void CGfxOutBarCtrl::SelectFolder(int folder)
{
    if (!validFolder(folder) || folder == m_selected)
        return;
    finishSlide();
    cancelRename();
    cancelDrag();
    // A click of the old folder is reported while that folder is still the current one,
    // so the owner reads the right folder with it.
    flushPendingClick();
    if (!validFolder(folder) || folder == m_selected)
        return;
    const int previous = m_selected;
    const bool slide = (m_flags & AnimatedChangeFlag) && m_slideDuration > 0 &&
                       validFolder(previous) && isVisible() && !size().isEmpty();
    QPixmap previousContent;
    if (slide)
        previousContent = renderContent(previous, m_firstVisible);
    if (validFolder(previous) && m_folders.at(previous).child)
        m_folders.at(previous).child->hide();

    m_selected = folder;
    m_firstVisible = 0;
    clearSelectedItem();
    clearHover();
    m_menuTarget = {};
    Q_EMIT panelNotify(FolderChanged, folder);
    if (m_selected != folder)
        return; // the owner chose another folder meanwhile
    if (slide)
        startSlide(previous, folder, previousContent);
    else
        placeChildren();
    update();
}

QString CGfxOutBarCtrl::folderName(int folder) const
{
    return validFolder(folder) ? m_folders.at(folder).name : QString();
}

bool CGfxOutBarCtrl::setFolderName(int folder, const QString &name)
{
    if (!validFolder(folder))
        return false;
    m_folders[folder].name = name;
    update();
    return true;
}

quint32 CGfxOutBarCtrl::folderUserValue(int folder) const
{
    return validFolder(folder) ? m_folders.at(folder).userValue : 0;
}

QWidget *CGfxOutBarCtrl::folderChild(int folder) const
{
    return validFolder(folder) ? m_folders.at(folder).child.data() : nullptr;
}

bool CGfxOutBarCtrl::validItem(int folder, int item) const
{
    return validFolder(folder) && item >= 0 && item < m_folders.at(folder).items.size();
}

bool CGfxOutBarCtrl::showsItems(int folder) const
{
    return validFolder(folder) && !m_folders.at(folder).child;
}

int CGfxOutBarCtrl::InsertFolderItem(int folder, int position, const QString &label, int image,
                                     quint32 userValue)
{
    if (!validFolder(folder))
        return -1;
    QList<Item> &items = m_folders[folder].items;
    if (position < 0 || position > items.size())
        position = int(items.size());
    if (folder == m_selected) {
        finishSlide();
        itemsChanged();
        if (m_selectedItem >= position)
            ++m_selectedItem;
    }
    items.insert(position, Item{label, image, userValue});
    update();
    return position;
}

void CGfxOutBarCtrl::DeleteFolderItem(int item)
{
    if (!validItem(m_selected, item))
        return;
    finishSlide();
    itemsChanged();
    if (m_selectedItem == item)
        clearSelectedItem(); // the clicked item is gone: nothing left to report
    else if (m_selectedItem > item)
        --m_selectedItem;
    m_folders[m_selected].items.removeAt(item);
    clampFirstVisible();
    update();
}

QString CGfxOutBarCtrl::FolderItemText(int item) const
{
    return itemText(m_selected, item);
}

int CGfxOutBarCtrl::itemCount(int folder) const
{
    return validFolder(folder) ? int(m_folders.at(folder).items.size()) : 0;
}

QString CGfxOutBarCtrl::itemText(int folder, int item) const
{
    return validItem(folder, item) ? m_folders.at(folder).items.at(item).label : QString();
}

bool CGfxOutBarCtrl::setItemText(int folder, int item, const QString &text)
{
    if (!validItem(folder, item))
        return false;
    m_folders[folder].items[item].label = text;
    update();
    return true;
}

int CGfxOutBarCtrl::itemImage(int folder, int item) const
{
    return validItem(folder, item) ? m_folders.at(folder).items.at(item).image : -1;
}

bool CGfxOutBarCtrl::setItemImage(int folder, int item, int image)
{
    if (!validItem(folder, item))
        return false;
    m_folders[folder].items[item].image = image;
    update();
    return true;
}

quint32 CGfxOutBarCtrl::itemUserValue(int folder, int item) const
{
    return validItem(folder, item) ? m_folders.at(folder).items.at(item).userValue : 0;
}

FolderBarImages CGfxOutBarCtrl::SetIcons(const FolderBarImages &images, int which)
{
    FolderBarImages *target = which == LargeImages   ? &m_large
                              : which == SmallImages ? &m_small
                                                     : nullptr;
    if (!target)
        return {};
    FolderBarImages previous = *target;
    *target = images;
    update();
    return previous;
}

FolderBarImages CGfxOutBarCtrl::icons(int which) const
{
    return which == LargeImages ? m_large : which == SmallImages ? m_small : FolderBarImages();
}

bool CGfxOutBarCtrl::setFolderIcons(int folder, const FolderBarImages &images, int which)
{
    if (!validFolder(folder) || (which != LargeImages && which != SmallImages))
        return false;
    (which == LargeImages ? m_folders[folder].large : m_folders[folder].small) = images;
    update();
    return true;
}

void CGfxOutBarCtrl::setSmallIcons(bool small)
{
    setFlags(small ? (m_flags | SmallIconsFlag) : (m_flags & ~quint32(SmallIconsFlag)));
}

void CGfxOutBarCtrl::setFlags(quint32 flags)
{
    if (flags == m_flags)
        return;
    const bool modeChanged = (flags ^ m_flags) & SmallIconsFlag;
    m_flags = flags;
    if (modeChanged) {
        finishSlide();
        itemsChanged();
        clampFirstVisible();
    }
    if (!(m_flags & HoverFlag))
        clearHover();
    update();
}

void CGfxOutBarCtrl::SetBlinkPeriod(int milliseconds)
{
    m_blinkPeriod = std::max(0, milliseconds);
    if (m_blinkPeriod == 0) {
        m_blinkTimer.stop();
        flushPendingClick();
    } else if (m_selectedItem >= 0) {
        m_blinkTimer.start(m_blinkPeriod, this);
    }
    update();
}

void CGfxOutBarCtrl::scrollItems(int delta)
{
    if (!showsItems(m_selected) || delta == 0)
        return;
    const int first = std::clamp(m_firstVisible + delta, 0, layoutGeometry().maxFirstVisible());
    if (first == m_firstVisible)
        return;
    cancelRename();
    m_firstVisible = first;
    clearHover();
    update();
}

FolderBarGeometry CGfxOutBarCtrl::geometryFor(int selected, int firstVisible) const
{
    FolderBarState state;
    state.size = size();
    state.folderCount = int(m_folders.size());
    state.selected = selected;
    state.firstVisible = firstVisible;
    state.smallIcons = smallIcons();
    if (showsItems(selected)) {
        const QFontMetrics metrics = fontMetrics();
        for (const Item &item : m_folders.at(selected).items)
            state.labelWidths.append(metrics.horizontalAdvance(item.label));
        state.itemCount = int(state.labelWidths.size());
    }
    return FolderBarGeometry(state, m_metrics);
}

FolderBarGeometry CGfxOutBarCtrl::layoutGeometry() const
{
    return geometryFor(m_selected, m_firstVisible);
}

void CGfxOutBarCtrl::placeChildren()
{
    const QRect content = layoutGeometry().contentRect();
    for (int folder = 0; folder < m_folders.size(); ++folder) {
        QWidget *child = m_folders.at(folder).child;
        if (!child)
            continue;
        if (folder == m_selected && !isAnimating()) {
            child->setGeometry(content);
            child->show();
        } else {
            child->hide();
        }
    }
}

void CGfxOutBarCtrl::clampFirstVisible()
{
    m_firstVisible = std::clamp(m_firstVisible, 0, geometryFor(m_selected, 0).maxFirstVisible());
}

void CGfxOutBarCtrl::itemsChanged()
{
    cancelRename();
    cancelDrag();
    clearHover();
    m_menuTarget = {};
}

bool CGfxOutBarCtrl::ask(int code, const FolderBarEdit &edit)
{
    bool allowed = true;
    Q_EMIT panelEditRequest(code, edit, &allowed);
    return allowed;
}

void CGfxOutBarCtrl::resizeEvent(QResizeEvent *event)
{
    finishSlide();
    cancelRename();
    clampFirstVisible();
    placeChildren();
    QWidget::resizeEvent(event);
}

void CGfxOutBarCtrl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_metrics.labelHeight = fontMetrics().height();
        clampFirstVisible();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace dpx
