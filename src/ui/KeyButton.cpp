// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyButton.h"

#include "ui/Art.h"

#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace dpx {

namespace {

bool isNoImage(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("0");
}

// White, or nothing at all, is outside a mask.
bool isMaskBackground(QRgb pixel)
{
    return qAlpha(pixel) == 0 || (pixel & 0xFFFFFF) == 0xFFFFFF;
}

} // namespace

KeyButton::KeyButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    // The telephone's keys leave the keyboard focus where it is, as the desk set does.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on && m_kind == Kind::RadioButton)
            uncheckGroupSiblings();
    });
}

void KeyButton::SetSkin(const QString &normal, const QString &down, const QString &over,
                        const QString &disabled, const QString &focus, const QString &mask,
                        int drawMode, bool border, int margin)
{
    const QString names[ImageCount] = {normal, down, over, disabled, focus, mask};
    for (int i = 0; i < ImageCount; ++i)
        m_names[i] = isNoImage(names[i]) ? QString() : names[i];
    if (m_names[Disabled].isEmpty())
        m_names[Disabled] = m_names[Normal];
    for (int i = 0; i < ImageCount; ++i)
        m_images[i] = artPixmap(m_names[i]);
    m_drawMode = qBound(0, drawMode, 2);
    m_border = border;
    m_focusMargin = qMax(0, margin);
    m_maskedCache.clear();
    applyMask();
    update();
}

void KeyButton::applyMask()
{
    m_maskImage = m_images[Mask].isNull() ? QImage() : m_images[Mask].toImage();
    m_shape = m_maskImage.isNull() ? QRegion() : regionFromMask(m_maskImage);
    if (m_shape.isEmpty()) {
        // No shape to give (no mask, or one without a single key pixel): a plain rectangle.
        m_maskImage = QImage();
        clearMask();
        return;
    }
    if (m_drawMode == DrawCopy)
        resize(m_maskImage.size());
    setMask(m_shape);
}

QRegion KeyButton::regionFromMask(const QImage &mask)
{
    const QImage image = mask.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    QRegion region;
    QList<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        runs.clear();
        int x = 0;
        while (x < width) {
            while (x < width && isMaskBackground(line[x]))
                ++x;
            const int start = x;
            while (x < width && !isMaskBackground(line[x]))
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
        if (runs.isEmpty())
            continue;
        // Runs of one row are sorted and apart, as setRects wants them.
        QRegion row;
        row.setRects(runs.constData(), int(runs.size()));
        region += row;
    }
    return region;
}

void KeyButton::SetCheck(bool checked)
{
    setChecked(checked); // refused by a push button, which is not checkable
    update();
}

void KeyButton::Uncheck()
{
    if (isChecked()) {
        setChecked(false);
        update();
    }
}

void KeyButton::setKind(Kind kind)
{
    m_kind = kind;
    setCheckable(kind != Kind::PushButton); // a push button drops any checked flag here
    update();
}

void KeyButton::nextCheckState()
{
    if (m_kind == Kind::RadioButton)
        setChecked(true);
    else
        QAbstractButton::nextCheckState();
}

void KeyButton::uncheckGroupSiblings()
{
    if (!parentWidget())
        return;
    const auto siblings =
        parentWidget()->findChildren<KeyButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (KeyButton *other : siblings) {
        if (other != this && other->m_kind == Kind::RadioButton && other->m_groupId == m_groupId)
            other->Uncheck();
    }
}

void KeyButton::setTextColour(const QColor &colour)
{
    m_textColour = colour;
    update();
}

QColor KeyButton::textColour() const
{
    return m_textColour.isValid() ? m_textColour : palette().color(QPalette::ButtonText);
}

QSize KeyButton::sizeHint() const
{
    return m_images[Normal].isNull() ? QSize(24, 24) : m_images[Normal].size();
}

bool KeyButton::hitButton(const QPoint &pos) const
{
    return QAbstractButton::hitButton(pos) && (m_shape.isEmpty() || m_shape.contains(pos));
}

void KeyButton::setHover(bool hover)
{
    if (m_hover == hover)
        return;
    m_hover = hover;
    update();
}

void KeyButton::enterEvent(QEnterEvent *event)
{
    if (!m_buttonDown)
        setHover(true);
    QAbstractButton::enterEvent(event);
}

void KeyButton::leaveEvent(QEvent *event)
{
    setHover(false);
    QAbstractButton::leaveEvent(event);
}

void KeyButton::mousePressEvent(QMouseEvent *event)
{
    // Pressing ends the hover look; the down image takes over until release.
    if (event->button() == Qt::LeftButton)
        setHover(false);
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_buttonDown = isDown();
}

void KeyButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click; a platform that already sent it as a press
    // finds the key down and nothing more happens.
    if (event->button() == Qt::LeftButton && !isDown())
        mousePressEvent(event);
    else
        event->accept();
}

void KeyButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_buttonDown && (event->buttons() & Qt::LeftButton)) {
        // The pressed look follows the cursor on and off the key.
        QAbstractButton::mouseMoveEvent(event);
        return;
    }
    setHover(hitButton(event->position().toPoint()));
    event->ignore();
}

void KeyButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_buttonDown = false;
    QAbstractButton::mouseReleaseEvent(event);
}

void KeyButton::focusOutEvent(QFocusEvent *event)
{
    // A key that loses the focus while held lets go: the release that follows is no click.
    if (m_buttonDown) {
        m_buttonDown = false;
        setDown(false);
        releaseMouse();
    }
    QAbstractButton::focusOutEvent(event);
}

void KeyButton::resizeEvent(QResizeEvent *event)
{
    m_maskedCache.clear();
    QAbstractButton::resizeEvent(event);
}

QPixmap KeyButton::maskedImage(Image which) const
{
    const auto cached = m_maskedCache.constFind(which);
    if (cached != m_maskedCache.constEnd())
        return *cached;
    QImage image = m_images[which].toImage().convertToFormat(QImage::Format_ARGB32);
    QImage mask = m_maskImage;
    if (m_drawMode == DrawStretch) {
        image = image.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        mask = mask.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    mask = mask.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const auto *maskLine =
            y < mask.height() ? reinterpret_cast<const QRgb *>(mask.constScanLine(y)) : nullptr;
        for (int x = 0; x < image.width(); ++x) {
            if (!maskLine || x >= mask.width() || isMaskBackground(maskLine[x]))
                line[x] = 0;
        }
    }
    const QPixmap result = QPixmap::fromImage(image);
    m_maskedCache.insert(which, result);
    return result;
}

void KeyButton::drawImage(QPainter &painter, Image which) const
{
    const QPixmap &image = m_images[which];
    if (image.isNull()) {
        painter.fillRect(rect(), palette().button());
        return;
    }
    if (m_drawMode == DrawTile) {
        painter.drawTiledPixmap(rect(), image); // the last tiles of a row or column are cut
        return;
    }
    const QPixmap shown = m_maskImage.isNull() ? image : maskedImage(which);
    if (m_drawMode == DrawStretch && m_maskImage.isNull())
        painter.drawPixmap(rect(), shown);
    else
        painter.drawPixmap(0, 0, shown); // copied at its own size, or already stretched
}

void KeyButton::drawCaption(QPainter &painter, const QRect &rect, const QColor &colour) const
{
    if (text().isEmpty())
        return;
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void KeyButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();

    if (!isEnabled()) {
        drawImage(painter, Disabled);
        if (m_border)
            qDrawWinButton(&painter, area, palette(), false);
        // Engraved caption: a highlight, then the grey text one pixel up and to the left.
        drawCaption(painter, area, palette().color(QPalette::Light));
        drawCaption(painter, area.translated(-1, -1),
                    palette().color(QPalette::Disabled, QPalette::ButtonText));
        return;
    }

    QRect captionRect = area;
    if (isDown() || isChecked()) {
        drawImage(painter, Down); // the button face when there is no down image
        captionRect.translate(1, 1);
        if (m_border)
            qDrawWinButton(&painter, area, palette(), true);
    } else {
        Image shown = Normal; // also the button face when there is no normal image
        if (!m_images[Normal].isNull() && m_hover && !m_images[Over].isNull())
            shown = Over;
        else if (!m_images[Normal].isNull() && hasFocus() && !m_images[Focus].isNull())
            shown = Focus;
        drawImage(painter, shown);
        if (m_border)
            qDrawWinButton(&painter, area, palette(), false);
    }

    if (hasFocus() && m_focusMargin > 0) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(m_focusMargin, m_focusMargin, -m_focusMargin, -m_focusMargin);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    drawCaption(painter, captionRect, textColour());
}

} // namespace dpx
