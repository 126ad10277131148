// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageButton.h"

#include "ui/Art.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSoundEffect>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

namespace dpx {

ImageButton::ImageButton(QWidget *parent) : QPushButton(parent)
{
    ResetColors(false);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &ImageButton::onClicked);
}

void ImageButton::SetTrackAlways(bool always)
{
    m_trackAlways = always;
}

void ImageButton::trackHover(bool inside)
{
    // A drag that started elsewhere does not light the button; another program in front
    // keeps it dark unless it tracks always.
    if (!m_flat || m_hovering || !isEnabled() || (QGuiApplication::mouseButtons() & Qt::LeftButton))
        return;
    if (inside && (m_trackAlways || QApplication::activeWindow()))
        setHovering(true);
}

ImageButton::~ImageButton() = default;

void ImageButton::dropImages()
{
    m_images = {};
    m_masks = {};
}

int ImageButton::LoadImages(const QImage &image0, QColor transparent0, const QImage &image1,
                            QColor transparent1)
{
    dropImages();
    if (image0.isNull())
        return ImageUnreadable;
    const std::array<std::pair<QImage, QColor>, 2> sources{{{image0, transparent0}, {image1, transparent1}}};
    for (size_t i = 0; i < sources.size(); ++i) {
        const QImage &source = sources[i].first;
        if (source.isNull())
            continue;
        QImage image = source.convertToFormat(QImage::Format_ARGB32);
        QImage mask(image.size(), QImage::Format_Mono);
        if (image.isNull() || mask.isNull()) {
            dropImages();
            return MaskFailed;
        }
        mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        const QRgb key = sources[i].second.rgb() & 0xFFFFFF;
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const bool transparent = (line[x] & 0xFFFFFF) == key;
                mask.setPixel(x, y, transparent ? 1 : 0);
                if (transparent)
                    line[x] = 0; // only the opaque pixels are drawn
            }
        }
        m_images[i] = QPixmap::fromImage(image);
        m_masks[i] = mask;
    }
    update();
    return Ok;
}

int ImageButton::LoadImages(int bitmapId0, QColor transparent0, int bitmapId1, QColor transparent1)
{
    const QImage first = artPixmap(QString::number(bitmapId0)).toImage();
    if (first.isNull()) {
        dropImages();
        return ImageUnreadable;
    }
    QImage second;
    if (bitmapId1 != 0) {
        second = artPixmap(QString::number(bitmapId1)).toImage();
        if (second.isNull()) {
            dropImages();
            return ImageUnreadable;
        }
    }
    return LoadImages(first, transparent0, second, transparent1);
}

void ImageButton::SetFlatLook(bool flat, bool repaint)
{
    m_flat = flat;
    if (repaint)
        update();
}

int ImageButton::SetPressOffsetStyle(int style, bool repaint)
{
    if (style != 0 && style != 1)
        return BadStyle;
    m_pressOffset = style == 0 ? QPoint(1, 1) : QPoint(0, 2);
    if (repaint)
        update();
    return Ok;
}

void ImageButton::SetChecked(bool checked, bool repaint)
{
    if (!isCheckable())
        return;
    setChecked(checked);
    if (repaint)
        update();
}

void ImageButton::ResetColors(bool repaint)
{
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::ButtonText);
    m_colors = {face, text, face, text, face, text};
    if (repaint)
        update();
}

int ImageButton::SetStateColor(int index, QColor color, bool repaint)
{
    if (index < 0 || index >= ColorCount)
        return BadColorIndex;
    m_colors[size_t(index)] = color;
    if (repaint)
        update();
    return Ok;
}

void ImageButton::SetTipText(const QString &text, bool activate)
{
    m_tipText = text;
    m_tipActive = activate;
    // Rich text wraps at the tip's width instead of running across the screen.
    setToolTip(activate && !text.isEmpty()
                   ? QStringLiteral("<div style='max-width:%1px'>%2</div>").arg(MaxTipWidth).arg(text.toHtmlEscaped())
                   : QString());
}

void ImageButton::UseParentBackground(bool repaint)
{
    m_parentBackground = true;
    m_background = QPixmap();
    if (repaint)
        update();
}

void ImageButton::SetLinkTarget(const QString &target)
{
    QString cut = target;
    while (cut.toUtf8().size() > MaxLinkBytes)
        cut.chop(1);
    m_link = cut;
}

void ImageButton::SetMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow)
{
    m_menu = menu;
    m_beforeMenu = std::move(beforeShow);
}

void ImageButton::SetSounds(const QString &hoverSound, const QString &clickSound)
{
    m_hoverSoundFile = hoverSound;
    m_clickSoundFile = clickSound;
}

void ImageButton::SetImageAlignment(ImageAlign align)
{
    m_align = align;
    update();
}

void ImageButton::SetDrawBorder(bool draw)
{
    m_drawBorder = draw;
    update();
}

bool ImageButton::isPressedLook() const
{
    if (isCheckable())
        return isDown() || isChecked();
    return isDown() || m_menuShown;
}

int ImageButton::shownImage() const
{
    if (m_images[0].isNull())
        return -1;
    const bool hot = isCheckable() ? isChecked() : (m_hovering || isPressedLook());
    return hot || m_images[1].isNull() ? 0 : 1;
}

void ImageButton::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    if (hovering)
        playSound(m_hoverSound, m_hoverSoundFile);
    update();
}

void ImageButton::playSound(QSoundEffect *&effect, const QString &file)
{
    if (file.isEmpty())
        return;
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(file));
    }
    effect->play();
}

void ImageButton::onClicked()
{
    setFocus(Qt::MouseFocusReason);
    playSound(m_clickSound, m_clickSoundFile);
    if (isCheckable())
        return; // toggled by the button itself
    if (m_menu) {
        m_menuShown = true;
        repaint();
        if (m_beforeMenu)
            m_beforeMenu(m_menu);
        QAction *chosen = m_menu->exec(mapToGlobal(rect().bottomLeft()));
        m_menuShown = false;
        update();
        if (chosen)
            Q_EMIT menuCommand(chosen);
        return;
    }
    if (!m_link.isEmpty())
        QDesktopServices::openUrl(QUrl::fromUserInput(m_link));
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    trackHover(true);
}

void ImageButton::mouseMoveEvent(QMouseEvent *event)
{
    QPushButton::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        trackHover(rect().contains(event->position().toPoint()));
}

void ImageButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    setHovering(false);
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Two fast clicks are two clicks.
    mousePressEvent(event);
}

void ImageButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        setHovering(false);
        if (hasFocus())
            focusNextChild();
    } else if (event->type() == QEvent::PaletteChange) {
        m_background = QPixmap();
        ResetColors(true);
    }
}

bool ImageButton::event(QEvent *event)
{
    // Its window goes to the background: with no window of the application active any more,
    // the light goes out (unless the button tracks always).
    if (event->type() == QEvent::WindowDeactivate && !m_trackAlways && !QApplication::activeWindow())
        setHovering(false);
    return QPushButton::event(event);
}

void ImageButton::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    setHovering(false);
}

void ImageButton::nextCheckState()
{
    QPushButton::nextCheckState();
    update();
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawItem(painter);
}

void ImageButton::drawItem(QPainter &painter)
{
    QRect area = rect();
    drawBackground(painter, area);
    drawBorder(painter, area);
    drawIconImage(painter, area);
    drawBitmapImage(painter, area);
    drawText(painter, area);
    if (hasFocus() && !m_flat) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ImageButton::drawBackground(QPainter &painter, QRect &area)
{
    if (!m_flat && (hasFocus() || isDefault())) {
        painter.setPen(Qt::black);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        area.adjust(1, 1, -1, -1);
    }
    if (m_parentBackground && parentWidget()) {
        if (m_background.isNull()) {
            // The parent's own pixels under the button, without its children (this one included).
            m_background = QPixmap(size());
            m_background.fill(Qt::transparent);
            parentWidget()->render(&m_background, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
        }
        painter.drawPixmap(area, m_background, area);
        return;
    }
    const bool hot = m_hovering || isPressedLook();
    painter.fillRect(area, hot ? m_colors[BackHot] : hasFocus() ? m_colors[BackFocus] : m_colors[BackIdle]);
}

void ImageButton::drawBorder(QPainter &painter, const QRect &area)
{
    const QPalette &p = palette();
    const QRect r = area.adjusted(0, 0, -1, -1);
    const auto bevel = [&](const QRect &box, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    };
    if (isPressedLook()) {
        if (m_flat && m_drawBorder)
            bevel(r, p.color(QPalette::Dark), p.color(QPalette::Light));
        else if (!m_flat) {
            painter.setPen(p.color(QPalette::Dark));
            painter.drawRect(r);
        }
    } else if (!m_flat) {
        bevel(r, p.color(QPalette::Light), p.color(QPalette::Shadow));
        bevel(r.adjusted(1, 1, -1, -1), p.color(QPalette::Midlight), p.color(QPalette::Dark));
    } else if (m_hovering && m_drawBorder) {
        bevel(r, p.color(QPalette::Light), p.color(QPalette::Dark));
    }
}

void ImageButton::drawIconImage(QPainter &painter, const QRect &area)
{
    // Images come as bitmaps; an icon set through QAbstractButton::setIcon is drawn here.
    if (icon().isNull() || shownImage() >= 0)
        return;
    const QRect target = imageRect(area, iconSize());
    icon().paint(&painter, target, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

QRect ImageButton::imageRect(const QRect &area, QSize imageSize) const
{
    QRect target(QPoint(), imageSize);
    const bool withText = !text().isEmpty();
    switch (m_align) {
    case ImageAlign::Left:
        if (withText)
            target.moveTopLeft(QPoint(area.left() + ImageOrigin.x(), area.center().y() - imageSize.height() / 2));
        else
            target.moveCenter(area.center());
        break;
    case ImageAlign::Above:
        target.moveCenter(QPoint(area.center().x(), withText ? area.top() + ImageOrigin.y() + imageSize.height() / 2
                                                            : area.center().y()));
        break;
    case ImageAlign::Right:
        target.moveTopRight(QPoint(area.right() - ImageOrigin.x(), area.center().y() - imageSize.height() / 2));
        break;
    }
    if (isPressedLook() && !isCheckable())
        target.translate(m_pressOffset);
    return target;
}

void ImageButton::drawBitmapImage(QPainter &painter, const QRect &area)
{
    const int index = shownImage();
    if (index < 0)
        return;
    const QPixmap &image = m_images[size_t(index)];
    const QRect target = imageRect(area, image.deviceIndependentSize().toSize());
    if (isEnabled()) {
        painter.drawPixmap(target, image);
        return;
    }
    // Disabled: the opaque pixels embossed in grey.
    QPixmap grey = image;
    QPainter g(&grey);
    g.setCompositionMode(QPainter::CompositionMode_SourceIn);
    g.fillRect(grey.rect(), palette().color(QPalette::Light));
    g.end();
    painter.drawPixmap(target.translated(1, 1), grey);
    QPixmap dark = grey;
    QPainter d(&dark);
    d.setCompositionMode(QPainter::CompositionMode_SourceIn);
    d.fillRect(dark.rect(), palette().color(QPalette::Dark));
    d.end();
    painter.drawPixmap(target, dark);
}

void ImageButton::drawText(QPainter &painter, const QRect &area)
{
    if (text().isEmpty())
        return;
    QRect space = area;
    const int index = shownImage();
    const int imageWidth = index >= 0 ? m_images[size_t(index)].width() + ImageOrigin.x() : 0;
    const int imageHeight = index >= 0 ? m_images[size_t(index)].height() + ImageOrigin.y() : 0;
    if (m_align == ImageAlign::Left)
        space.setLeft(space.left() + imageWidth);
    else if (m_align == ImageAlign::Right)
        space.setRight(space.right() - imageWidth);
    else
        space.setTop(space.top() + imageHeight);
    const bool hot = m_hovering || isPressedLook();
    if (!isEnabled()) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(space.translated(1, 1), Qt::AlignCenter | Qt::TextWordWrap, text());
        painter.setPen(palette().color(QPalette::Dark));
    } else {
        painter.setPen(hot ? m_colors[TextHot] : hasFocus() ? m_colors[TextFocus] : m_colors[TextIdle]);
    }
    painter.drawText(space, Qt::AlignCenter | Qt::TextWordWrap, text());
}

} // namespace dpx
