// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the folder bar and the slide between two folders.
#include "ui/FolderBar.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace dpx {

namespace {

const QColor HeaderColour(48, 74, 128);
const QColor HeaderHoverColour(68, 98, 158);
const QColor HeaderDownColour(34, 54, 98);
const QColor AccentColour(150, 200, 255);
constexpr int SlideTick = 16;

QColor white(int alpha)
{
    return QColor(255, 255, 255, alpha);
}

// A small chevron: pointing down for the open folder, right for the others.
void paintChevron(QPainter &painter, QPointF centre, bool open)
{
    QPainterPath path;
    if (open) {
        path.moveTo(centre + QPointF(-3.5, -1.5));
        path.lineTo(centre + QPointF(0, 2));
        path.lineTo(centre + QPointF(3.5, -1.5));
    } else {
        path.moveTo(centre + QPointF(-1.5, -3.5));
        path.lineTo(centre + QPointF(2, 0));
        path.lineTo(centre + QPointF(-1.5, 3.5));
    }
    painter.setPen(QPen(white(210), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void paintTriangle(QPainter &painter, const QRectF &box, bool up)
{
    const QPointF c = box.center();
    QPainterPath path;
    const qreal dy = up ? -1 : 1;
    path.moveTo(c + QPointF(-4, -2 * dy));
    path.lineTo(c + QPointF(4, -2 * dy));
    path.lineTo(c + QPointF(0, 3 * dy));
    path.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

} // namespace

void CGfxOutBarCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (isAnimating()) {
        paintSlide(painter);
        return;
    }
    const FolderBarGeometry geometry = layoutGeometry();
    if (showsItems(m_selected)) {
        painter.save();
        painter.setClipRect(geometry.contentRect());
        paintItems(painter, m_selected, geometry, true);
        paintDropMark(painter, geometry);
        painter.restore();
        paintArrows(painter, geometry);
    }
    for (int folder = 0; folder < m_folders.size(); ++folder)
        paintHeader(painter, folder, geometry.headerRect(folder));
}

void CGfxOutBarCtrl::paintHeader(QPainter &painter, int folder, const QRect &rect) const
{
    const bool down = m_pressed.kind == FolderBarHitKind::Header && m_pressed.index == folder;
    const bool open = folder == m_selected;
    QColor fill = HeaderColour;
    if (down)
        fill = HeaderDownColour;
    else if (folder == m_hoverFolder)
        fill = HeaderHoverColour;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, fill);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), white(60));
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), QColor(0, 0, 0, 110));
    if (open)
        painter.fillRect(QRect(rect.left(), rect.top() + 1, 3, rect.height() - 2), AccentColour);

    QFont font = this->font();
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect textRect = rect.adjusted(14, 0, -14, 0).translated(down ? QPoint(1, 1) : QPoint());
    const QString text =
        QFontMetrics(font).elidedText(m_folders.at(folder).name, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignCenter, text);
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintChevron(painter, QPointF(rect.right() - 8.5, rect.center().y() + 0.5), open);
    painter.restore();
}

CGfxOutBarCtrl::IconLook CGfxOutBarCtrl::iconLook(int item) const
{
    if (item == m_selectedItem && m_blinkTimer.isActive()) {
        if (m_blinkCount == 0)
            return IconLook::FlashDown;
        if (m_blinkCount == 2)
            return IconLook::FlashUp;
    }
    return item == m_hoverItem ? IconLook::Hover : IconLook::Normal;
}

void CGfxOutBarCtrl::paintItems(QPainter &painter, int folder, const FolderBarGeometry &geometry,
                                bool live) const
{
    const QRect content = geometry.contentRect();
    const QList<Item> &items = m_folders.at(folder).items;
    const bool small = geometry.state().smallIcons;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font());
    for (int item = geometry.state().firstVisible; item < items.size(); ++item) {
        if (geometry.itemRect(item).top() > content.bottom())
            break;
        const QRect icon = geometry.iconRect(item);
        const IconLook look = live ? iconLook(item) : IconLook::Normal;
        if (look != IconLook::Normal) {
            const QRectF box = QRectF(icon).adjusted(-3.5, -3.5, 3.5, 3.5);
            if (look == IconLook::Hover) {
                painter.setPen(QPen(white(150), 1));
                painter.setBrush(white(45));
            } else if (look == IconLook::FlashDown) {
                painter.setPen(QPen(QColor(0, 0, 0, 130), 1));
                painter.setBrush(QColor(0, 0, 0, 70));
            } else {
                painter.setPen(QPen(white(235), 1));
                painter.setBrush(white(110));
            }
            painter.drawRoundedRect(box, 4, 4);
        }
        paintIcon(painter, folder, item,
                  look == IconLook::FlashDown ? icon.translated(1, 1) : icon);

        const QRect label = geometry.labelRect(item);
        const QString text =
            fontMetrics().elidedText(items.at(item).label, Qt::ElideRight, label.width() - 2);
        painter.setPen(Qt::white);
        painter.drawText(label, (small ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                         text);
    }
}

void CGfxOutBarCtrl::paintIcon(QPainter &painter, int folder, int item, const QRect &rect) const
{
    const Folder &f = m_folders.at(folder);
    const int index = f.items.at(item).image;
    const bool small = rect.width() < m_metrics.largeIcon;
    const FolderBarImages &wanted =
        small ? (f.small.isNull() ? m_small : f.small) : (f.large.isNull() ? m_large : f.large);
    const FolderBarImages &other =
        small ? (f.large.isNull() ? m_large : f.large) : (f.small.isNull() ? m_small : f.small);
    QPixmap image = wanted.image(index);
    if (image.isNull())
        image = other.image(index);
    if (image.isNull())
        return;
    QRect target(QPoint(), image.size());
    if (image.width() > rect.width() || image.height() > rect.height())
        target.setSize(image.size().scaled(rect.size(), Qt::KeepAspectRatio));
    target.moveCenter(rect.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(target, image);
}

void CGfxOutBarCtrl::paintArrows(QPainter &painter, const FolderBarGeometry &geometry) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const bool up : {true, false}) {
        const QRect box = up ? geometry.upArrowRect() : geometry.downArrowRect();
        if (box.isNull())
            continue;
        const bool down =
            m_pressed.kind == (up ? FolderBarHitKind::UpArrow : FolderBarHitKind::DownArrow);
        painter.setPen(QPen(white(160), 1));
        painter.setBrush(down ? QColor(0, 0, 0, 70) : HeaderColour);
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        paintTriangle(painter, box, up);
    }
}

void CGfxOutBarCtrl::paintDropMark(QPainter &painter, const FolderBarGeometry &geometry) const
{
    if (!m_dragging || m_dropSlot < 0)
        return;
    const QRect content = geometry.contentRect();
    const int y = geometry.dropMarkY(m_dropSlot);
    const int left = content.left() + 6;
    const int right = content.right() - 6;
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(left, y, right, y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon({{left - 3, y - 4}, {left + 1, y}, {left - 3, y + 4}}));
    painter.drawPolygon(QPolygon({{right + 3, y - 4}, {right - 1, y}, {right + 3, y + 4}}));
}

QPixmap CGfxOutBarCtrl::renderContent(int folder, int firstVisible) const
{
    const FolderBarGeometry geometry = geometryFor(folder, firstVisible);
    const QRect content = geometry.contentRect();
    if (content.isEmpty())
        return {};
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(content.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(m_background);
    if (QWidget *child = m_folders.at(folder).child) {
        child->setGeometry(content);
        child->render(&pixmap);
        return pixmap;
    }
    QPainter painter(&pixmap);
    painter.translate(-content.topLeft());
    paintItems(painter, folder, geometry, false);
    return pixmap;
}

void CGfxOutBarCtrl::startSlide(int from, int to, const QPixmap &fromContent)
{
    const QPixmap toContent = renderContent(to, 0);
    m_slide.from = from;
    m_slide.to = to;
    m_slide.upper = from < to ? fromContent : toContent;
    m_slide.lower = from < to ? toContent : fromContent;
    m_slide.steps = std::max(1, m_slideDuration / SlideTick);
    m_slide.step = 0;
    m_slideTimer.start(m_slideDuration / m_slide.steps, this);
}

void CGfxOutBarCtrl::slideTick()
{
    if (++m_slide.step >= m_slide.steps)
        finishSlide();
    else
        update();
}

void CGfxOutBarCtrl::finishSlide()
{
    if (!m_slideTimer.isActive())
        return;
    m_slideTimer.stop();
    m_slide = Slide();
    placeChildren();
    update();
}

// Between the headers that stay put, a strip slides: the upper folder's content, the
// headers between the two folders, the lower folder's content. Going down the strip moves
// up by one content height, going up it moves back.
void CGfxOutBarCtrl::paintSlide(QPainter &painter) const
{
    const FolderBarGeometry geometry = layoutGeometry();
    const int upper = std::min(m_slide.from, m_slide.to);
    const int lower = std::max(m_slide.from, m_slide.to);
    const int h = m_metrics.headerHeight;
    const int count = int(m_folders.size());
    const int top = (upper + 1) * h;
    const int bottom = height() - (count - lower - 1) * h;
    const int contentHeight = geometry.contentRect().height();
    const qreal t = qreal(m_slide.step) / m_slide.steps;
    const qreal eased = 1 - std::pow(1 - t, 3);
    const int shift = qRound((m_slide.to == lower ? eased : 1 - eased) * contentHeight);

    painter.save();
    painter.setClipRect(QRect(0, top, width(), std::max(0, bottom - top)));
    painter.drawPixmap(0, top - shift, m_slide.upper);
    for (int folder = upper + 1; folder <= lower; ++folder) {
        const int y = top + contentHeight - shift + (folder - upper - 1) * h;
        paintHeader(painter, folder, QRect(0, y, width(), h));
    }
    painter.drawPixmap(0, top + contentHeight + (lower - upper) * h - shift, m_slide.lower);
    painter.restore();
    for (int folder = 0; folder < count; ++folder) {
        if (folder <= upper || folder > lower)
            paintHeader(painter, folder, geometry.headerRect(folder));
    }
}

} // namespace dpx
