// SPDX-License-Identifier: GPL-3.0-or-later
// The folder bar's mouse handling: hover highlight, the click flash, dragging items,
// scrolling, the context menu and renaming in place.
#include "ui/FolderBar.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>

namespace dpx {

namespace {
constexpr int HoverPeriod = 100;
} // namespace

void CGfxOutBarCtrl::updateHover(QPoint pos)
{
    const FolderBarHit hit = layoutGeometry().hitTest(pos);
    int folder = -1;
    int item = -1;
    if ((m_flags & HoverFlag) && !isAnimating()) {
        if (hit.kind == FolderBarHitKind::Header)
            folder = hit.index;
        else if (hit.isItem())
            item = hit.index;
    }
    const bool pointing = hit.kind != FolderBarHitKind::Nothing;
    setCursor(pointing ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (folder == m_hoverFolder && item == m_hoverItem)
        return;
    m_hoverFolder = folder;
    m_hoverItem = item;
    // Watch the cursor while something is lit: a leave can be missed (a popup, a fast move).
    if ((folder >= 0 || item >= 0) && !m_hoverTimer.isActive())
        m_hoverTimer.start(HoverPeriod, this);
    update();
}

void CGfxOutBarCtrl::clearHover()
{
    if (!m_dragging)
        m_hoverTimer.stop();
    if (m_hoverFolder < 0 && m_hoverItem < 0)
        return;
    m_hoverFolder = -1;
    m_hoverItem = -1;
    update();
}

void CGfxOutBarCtrl::hoverTick()
{
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (m_dragging) {
        // Holding a dragged item over an arrow scrolls the list one item per tick.
        const FolderBarHit hit = layoutGeometry().hitTest(pos);
        if (hit.kind == FolderBarHitKind::UpArrow || hit.kind == FolderBarHitKind::DownArrow) {
            scrollItems(hit.kind == FolderBarHitKind::UpArrow ? -1 : 1);
            m_dropSlot = layoutGeometry().dropSlotAt(pos);
            update();
        }
        return;
    }
    if (!rect().contains(pos))
        clearHover();
    else if (m_hoverFolder < 0 && m_hoverItem < 0)
        m_hoverTimer.stop();
}

void CGfxOutBarCtrl::clickItem(int item)
{
    flushPendingClick();
    m_selectedItem = item;
    m_blinkCount = 0;
    if (m_blinkPeriod <= 0) {
        m_blinkTimer.stop();
        Q_EMIT panelNotify(ItemClicked, item);
        return;
    }
    m_clickPending = true;
    m_blinkTimer.start(m_blinkPeriod, this);
    update();
}

void CGfxOutBarCtrl::flushPendingClick()
{
    if (!m_clickPending)
        return;
    m_clickPending = false;
    Q_EMIT panelNotify(ItemClicked, m_selectedItem);
}

void CGfxOutBarCtrl::clearSelectedItem()
{
    m_blinkTimer.stop();
    m_clickPending = false;
    m_selectedItem = -1;
    m_blinkCount = 0;
}

void CGfxOutBarCtrl::clearItemSelection()
{
    flushPendingClick();
    clearSelectedItem();
    update();
}

void CGfxOutBarCtrl::blinkTick()
{
    if (m_selectedItem < 0) {
        m_blinkTimer.stop();
        return;
    }
    m_blinkCount = (m_blinkCount + 1) % BlinkCycle;
    if (m_blinkCount <= 3)
        update();
    // Counts 0 and 2 light the icon, 1 and 3 put it back: the click counts once it has flashed.
    if (m_blinkCount == 3)
        flushPendingClick();
}

void CGfxOutBarCtrl::mousePressEvent(QMouseEvent *event)
{
    finishSlide();
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_pressed = layoutGeometry().hitTest(pos);
    m_pressPos = pos;
    if (m_pressed.kind == FolderBarHitKind::UpArrow)
        scrollItems(-1);
    else if (m_pressed.kind == FolderBarHitKind::DownArrow)
        scrollItems(1);
    update();
}

void CGfxOutBarCtrl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool held = event->buttons() & Qt::LeftButton;
    if (held && m_pressed.isItem() && !m_dragging && (m_flags & DragItemsFlag) &&
        itemCount(m_selected) > 1 &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        m_dragSource = m_pressed.index;
        clearHover();
        m_hoverTimer.start(HoverPeriod, this);
    }
    if (m_dragging) {
        m_dropSlot = layoutGeometry().dropSlotAt(pos);
        setCursor(m_dropSlot < 0 ? Qt::ForbiddenCursor : Qt::ClosedHandCursor);
        update();
        return;
    }
    updateHover(pos);
}

void CGfxOutBarCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const FolderBarHit pressed = m_pressed;
    m_pressed = {};
    if (m_dragging) {
        finishDrag(pos);
        return;
    }
    const FolderBarHit hit = layoutGeometry().hitTest(pos);
    if (hit.kind == FolderBarHitKind::Header && pressed == hit)
        SelectFolder(hit.index);
    else if (hit.isItem() && pressed.isItem() && pressed.index == hit.index)
        clickItem(hit.index);
    update();
}

void CGfxOutBarCtrl::finishDrag(QPoint pos)
{
    const int slot = layoutGeometry().dropSlotAt(pos);
    const int from = m_dragSource;
    cancelDrag();
    if (slot < 0 || !validItem(m_selected, from))
        return;
    const int to = slot > from ? slot - 1 : slot;
    if (to == from)
        return;
    if (!ask(ItemMoved, FolderBarEdit{from, to, QString()}))
        return;
    if (!validItem(m_selected, from) || !validItem(m_selected, to))
        return; // the owner changed the folder while answering
    m_folders[m_selected].items.move(from, to);
    if (m_selectedItem == from)
        m_selectedItem = to;
    else if (from < m_selectedItem && m_selectedItem <= to)
        --m_selectedItem;
    else if (to <= m_selectedItem && m_selectedItem < from)
        ++m_selectedItem;
    update();
}

void CGfxOutBarCtrl::cancelDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_dropSlot = -1;
    m_hoverTimer.stop();
    unsetCursor();
    update();
}

void CGfxOutBarCtrl::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        scrollItems(delta > 0 ? -1 : 1);
    event->accept();
}

void CGfxOutBarCtrl::leaveEvent(QEvent *event)
{
    if (!m_dragging)
        clearHover();
    QWidget::leaveEvent(event);
}

void CGfxOutBarCtrl::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_hoverTimer.timerId())
        hoverTick();
    else if (event->timerId() == m_blinkTimer.timerId())
        blinkTick();
    else if (event->timerId() == m_slideTimer.timerId())
        slideTick();
    else
        QWidget::timerEvent(event);
}

} // namespace dpx
