// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BitmapSlider.h"

#include "ui/Art.h" // artPixmap

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace dpx {

namespace {

// The image with every pixel of the key colour made fully transparent. An invalid colour
// takes the key from pixel (x, y); outside the image nothing is keyed.
QPixmap withoutKeyColour(const QPixmap &pixmap, const QColor &colour, int x, int y)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QRgb key;
    if (colour.isValid())
        key = colour.rgb();
    else if (image.rect().contains(x, y))
        key = image.pixel(x, y);
    else
        return pixmap;
    for (int row = 0; row < image.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            if ((line[column] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[column] = 0;
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

BitmapSlider::BitmapSlider(int controlId, QWidget *parent)
    : QWidget(parent), m_controlId(controlId)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool BitmapSlider::loadImages(Images &images, const QString &normal, const QString &active,
                              bool transparent, const QColor &colour, int x, int y)
{
    images = Images();
    if (normal.isEmpty() || normal == QLatin1String("0"))
        return true;
    Images loaded;
    loaded.normal = artPixmap(normal);
    if (loaded.normal.isNull())
        return false;
    if (!active.isEmpty() && active != QLatin1String("0")) {
        loaded.active = artPixmap(active);
        if (loaded.active.isNull())
            return false;
    }
    if (transparent) {
        loaded.normal = withoutKeyColour(loaded.normal, colour, x, y);
        if (!loaded.active.isNull())
            loaded.active = withoutKeyColour(loaded.active, colour, x, y);
    }
    images = loaded;
    return true;
}

bool BitmapSlider::SetBitmapChannel(const QString &normal, const QString &active,
                                    bool transparent, const QColor &colour, int x, int y)
{
    const bool ok = loadImages(m_channel, normal, active, transparent, colour, x, y);
    if (!m_channel.normal.isNull())
        resize(m_channel.normal.size());
    update();
    return ok;
}

bool BitmapSlider::SetBitmapThumb(const QString &normal, const QString &active, bool transparent,
                                  const QColor &colour, int x, int y)
{
    const bool ok = loadImages(m_thumb, normal, active, transparent, colour, x, y);
    update();
    return ok;
}

void BitmapSlider::SetRange(int minimum, int maximum, bool redraw)
{
    m_minimum = minimum;
    m_maximum = maximum;
    // A position left outside the range would put the thumb off the channel.
    m_position = qMax(qMin(m_position, m_maximum), m_minimum);
    if (redraw)
        update();
}

void BitmapSlider::SetPos(int position)
{
    m_position = qMax(qMin(position, m_maximum), m_minimum);
    update();
}

void BitmapSlider::SetMargin(int left, int top, int right, int bottom)
{
    m_margin = QMargins(left, top, right, bottom);
    update();
}

void BitmapSlider::SetDrawFocusRect(bool draw, bool redraw)
{
    m_drawFocusRect = draw;
    if (redraw)
        update();
}

void BitmapSlider::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    update();
}

QSize BitmapSlider::channelSize() const
{
    return m_channel.normal.isNull() ? size() : m_channel.normal.size();
}

int BitmapSlider::channelLength() const
{
    return horizontal() ? channelSize().width() : channelSize().height();
}

int BitmapSlider::thumbLength() const
{
    return horizontal() ? m_thumb.normal.width() : m_thumb.normal.height();
}

int BitmapSlider::marginBefore() const
{
    return horizontal() ? m_margin.left() : m_margin.top();
}

int BitmapSlider::marginAfter() const
{
    return horizontal() ? m_margin.right() : m_margin.bottom();
}

int BitmapSlider::thumbCentreForPos(int position) const
{
    const int first = thumbLength() / 2 + marginBefore();
    if (m_maximum == m_minimum)
        return first; // an empty range has one place
    const int travel = channelLength() - marginAfter() - thumbLength() - marginBefore();
    const double span = double(m_maximum) - double(m_minimum);
    return first + int((double(position) - double(m_minimum)) / span * double(travel));
}

int BitmapSlider::posForThumbCentre(int centre) const
{
    const int travel = channelLength() - marginAfter() - marginBefore() - thumbLength();
    if (travel == 0)
        return m_minimum; // a thumb that fills the channel has nowhere to go
    const double span = double(m_maximum) - double(m_minimum);
    return int(double(centre - thumbLength() / 2 - marginBefore()) / double(travel) * span +
               double(m_minimum));
}

QRect BitmapSlider::thumbRect() const
{
    const QSize thumb = m_thumb.normal.size();
    const QSize channel = channelSize();
    const int centre = thumbCentre();
    if (horizontal()) {
        const int room = channel.height() - m_margin.top() - m_margin.bottom();
        const int top = m_margin.top() + (room - thumb.height()) / 2;
        return QRect(QPoint(centre - thumb.width() / 2, top), thumb);
    }
    const int room = channel.width() - m_margin.left() - m_margin.right();
    const int left = m_margin.left() + (room - thumb.width()) / 2;
    return QRect(QPoint(left, centre - thumb.height() / 2), thumb);
}

QSize BitmapSlider::sizeHint() const
{
    return m_channel.normal.isNull() ? QSize(100, 20) : m_channel.normal.size();
}

void BitmapSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_channel.normal.isNull()) {
        if (!m_channel.active.isNull() && isEnabled()) {
            // The active image fills the channel from one end up to the thumb centre.
            const QSize channel = channelSize();
            const int split = thumbCentre();
            QRect filled = horizontal() ? QRect(0, 0, split, channel.height())
                                        : QRect(0, 0, channel.width(), split);
            QRect rest = horizontal()
                             ? QRect(split, 0, channel.width() - split, channel.height())
                             : QRect(0, split, channel.width(), channel.height() - split);
            if (m_activeTowardsMaximum)
                std::swap(filled, rest);
            painter.drawPixmap(filled, m_channel.active, filled);
            painter.drawPixmap(rest, m_channel.normal, rest);
        } else {
            painter.drawPixmap(0, 0, m_channel.normal);
        }
    }
    if (isEnabled() && !m_thumb.normal.isNull()) {
        const bool active = m_dragging && !m_thumb.active.isNull();
        painter.drawPixmap(thumbRect().topLeft(), active ? m_thumb.active : m_thumb.normal);
    }
    if (m_drawFocusRect && hasFocus() && isEnabled()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void BitmapSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    // Grabbing the thumb keeps the grip; a press elsewhere brings the thumb's centre there.
    const int mouse = along(event->position().toPoint());
    const int offset = mouse - thumbCentre();
    m_mouseOffset = qAbs(offset) <= thumbLength() / 2 ? offset : 0;
    dragTo(mouse);
    update();
}

void BitmapSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        dragTo(along(event->position().toPoint()));
}

void BitmapSlider::dragTo(int mouse)
{
    const int lowest = marginBefore() + thumbLength() / 2;
    const int highest = channelLength() - marginAfter() - thumbLength() / 2;
    const int wanted = qMax(lowest, qMin(highest, mouse - m_mouseOffset));
    if (wanted == thumbCentre())
        return;
    const int before = m_position;
    SetPos(posForThumbCentre(wanted));
    if (m_position != before)
        Q_EMIT sliderMoved(m_controlId, m_position);
}

void BitmapSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        event->ignore();
        return;
    }
    m_dragging = false;
    update();
    Q_EMIT sliderReleased(m_controlId, m_position);
}

void BitmapSlider::keyPressEvent(QKeyEvent *event)
{
    int position = m_position;
    switch (event->key()) {
    case Qt::Key_PageUp:
        position -= PageSize;
        break;
    case Qt::Key_PageDown:
        position += PageSize;
        break;
    case Qt::Key_End:
        position = m_maximum;
        break;
    case Qt::Key_Home:
        position = m_minimum;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        position -= 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        position += 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(position);
    Q_EMIT sliderReleased(m_controlId, m_position);
}

void BitmapSlider::changeEvent(QEvent *event)
{
    // A slider disabled in the middle of a drag never sees the release.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_dragging = false;
    QWidget::changeEvent(event);
}

void BitmapSlider::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void BitmapSlider::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

} // namespace dpx
