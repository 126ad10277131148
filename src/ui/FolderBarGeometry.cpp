// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FolderBarGeometry.h"

#include <algorithm>

namespace dpx {

FolderBarGeometry::FolderBarGeometry(FolderBarState state, FolderBarMetrics metrics)
    : m_state(std::move(state)), m_metrics(metrics)
{
    m_state.itemCount = std::max(0, m_state.itemCount);
    m_state.firstVisible = std::clamp(m_state.firstVisible, 0, std::max(0, m_state.itemCount - 1));
}

QRect FolderBarGeometry::headerRect(int folder) const
{
    const int count = m_state.folderCount;
    if (folder < 0 || folder >= count)
        return {};
    const int h = m_metrics.headerHeight;
    if (folder <= m_state.selected)
        return QRect(0, folder * h, m_state.size.width(), h);
    const int bottom = m_state.size.height() - (count - folder - 1) * h;
    return QRect(0, bottom - h, m_state.size.width(), h);
}

QRect FolderBarGeometry::contentRect() const
{
    const int selected = m_state.selected;
    if (selected < 0 || selected >= m_state.folderCount)
        return {};
    const int h = m_metrics.headerHeight;
    const int top = (selected + 1) * h;
    const int bottom = m_state.size.height() - (m_state.folderCount - selected - 1) * h;
    return QRect(0, top, m_state.size.width(), std::max(0, bottom - top));
}

int FolderBarGeometry::itemHeight() const
{
    if (m_state.smallIcons)
        return std::max(m_metrics.smallIcon, m_metrics.labelHeight) + 4;
    return m_metrics.largeIcon + m_metrics.largeLabelGap + m_metrics.labelHeight;
}

int FolderBarGeometry::itemStride() const
{
    return itemHeight() + (m_state.smallIcons ? m_metrics.smallSpacing : m_metrics.largeSpacing);
}

QRect FolderBarGeometry::itemRect(int item) const
{
    if (item < m_state.firstVisible || item >= m_state.itemCount)
        return {};
    const QRect content = contentRect();
    if (content.isNull())
        return {};
    const int top =
        content.top() + m_metrics.topMargin + (item - m_state.firstVisible) * itemStride();
    return QRect(content.left(), top, content.width(), itemHeight());
}

QRect FolderBarGeometry::iconRect(int item) const
{
    const QRect cell = itemRect(item);
    if (cell.isNull())
        return {};
    if (m_state.smallIcons) {
        const int size = m_metrics.smallIcon;
        return QRect(cell.left() + m_metrics.smallIndent, cell.top() + (cell.height() - size) / 2,
                     size, size);
    }
    const int size = m_metrics.largeIcon;
    return QRect(cell.left() + (cell.width() - size) / 2, cell.top(), size, size);
}

int FolderBarGeometry::labelWidth(int item, int available) const
{
    available = std::max(0, available);
    if (item < m_state.labelWidths.size())
        return std::min(m_state.labelWidths.at(item) + m_metrics.labelPadding, available);
    return available;
}

QRect FolderBarGeometry::labelRect(int item) const
{
    const QRect icon = iconRect(item);
    if (icon.isNull())
        return {};
    const QRect cell = itemRect(item);
    const int height = m_metrics.labelHeight;
    if (m_state.smallIcons) {
        const int left = icon.right() + 1 + m_metrics.smallLabelGap;
        const int width = labelWidth(item, cell.right() + 1 - left - 2);
        return QRect(left, cell.top() + (cell.height() - height) / 2, width, height);
    }
    const int width = labelWidth(item, cell.width() - 4);
    return QRect(cell.left() + (cell.width() - width) / 2,
                 icon.bottom() + 1 + m_metrics.largeLabelGap, width, height);
}

bool FolderBarGeometry::isItemVisible(int item) const
{
    return itemRect(item).intersects(contentRect());
}

bool FolderBarGeometry::fitsFrom(int first) const
{
    const int remaining = m_state.itemCount - first;
    if (remaining <= 0)
        return true;
    const QRect content = contentRect();
    const int lastBottom =
        content.top() + m_metrics.topMargin + (remaining - 1) * itemStride() + itemHeight();
    return lastBottom <= content.top() + content.height();
}

int FolderBarGeometry::maxFirstVisible() const
{
    for (int first = 0; first < m_state.itemCount; ++first) {
        if (fitsFrom(first))
            return first;
    }
    return std::max(0, m_state.itemCount - 1);
}

bool FolderBarGeometry::upArrowShown() const
{
    return m_state.firstVisible > 0 && !contentRect().isEmpty();
}

bool FolderBarGeometry::downArrowShown() const
{
    return m_state.firstVisible < maxFirstVisible() && !contentRect().isEmpty();
}

QRect FolderBarGeometry::upArrowRect() const
{
    if (!upArrowShown())
        return {};
    const QRect content = contentRect();
    const int size = m_metrics.arrowSize;
    return QRect(content.right() + 1 - m_metrics.arrowMargin - size,
                 content.top() + m_metrics.arrowMargin, size, size);
}

QRect FolderBarGeometry::downArrowRect() const
{
    if (!downArrowShown())
        return {};
    const QRect content = contentRect();
    const int size = m_metrics.arrowSize;
    return QRect(content.right() + 1 - m_metrics.arrowMargin - size,
                 content.top() + content.height() - m_metrics.arrowMargin - size, size, size);
}

FolderBarHit FolderBarGeometry::hitTest(QPoint point) const
{
    if (upArrowRect().contains(point))
        return {FolderBarHitKind::UpArrow, -1};
    if (downArrowRect().contains(point))
        return {FolderBarHitKind::DownArrow, -1};
    for (int folder = 0; folder < m_state.folderCount; ++folder) {
        if (headerRect(folder).contains(point))
            return {FolderBarHitKind::Header, folder};
    }
    const QRect content = contentRect();
    if (!content.contains(point))
        return {};
    for (int item = m_state.firstVisible; item < m_state.itemCount; ++item) {
        const QRect cell = itemRect(item);
        if (cell.top() > content.bottom())
            break;
        if (iconRect(item).contains(point))
            return {FolderBarHitKind::ItemIcon, item};
        if (labelRect(item).contains(point))
            return {FolderBarHitKind::ItemLabel, item};
    }
    return {};
}

int FolderBarGeometry::dropSlotAt(QPoint point) const
{
    if (!contentRect().contains(point))
        return -1;
    for (int item = m_state.firstVisible; item < m_state.itemCount; ++item) {
        if (point.y() < itemRect(item).center().y())
            return item;
    }
    return m_state.itemCount;
}

int FolderBarGeometry::dropMarkY(int slot) const
{
    const QRect content = contentRect();
    const int halfGap = (m_state.smallIcons ? m_metrics.smallSpacing : m_metrics.largeSpacing) / 2;
    int y = content.top() + m_metrics.topMargin / 2;
    if (slot >= m_state.firstVisible && slot < m_state.itemCount)
        y = itemRect(slot).top() - halfGap;
    else if (slot >= m_state.itemCount && m_state.itemCount > 0)
        y = itemRect(m_state.itemCount - 1).bottom() + 1 + halfGap;
    return std::clamp(y, content.top() + 1, std::max(content.top() + 1, content.bottom() - 1));
}

} // namespace dpx
