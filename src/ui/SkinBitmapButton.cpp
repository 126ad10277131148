// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinBitmapButton.h"

#include "ui/Art.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace dpx {

SkinBitmapButton::SkinBitmapButton(QWidget *parent) : QPushButton(parent)
{
    setFont(QFont(QStringLiteral("Arial"), 9));
    setAutoDefault(false);
}

SkinBitmapButton::SkinBitmapButton(const QString &caption, QWidget *parent)
    : SkinBitmapButton(parent)
{
    setText(caption);
}

bool SkinBitmapButton::SetUp(int bitmapId, int imageCount, int top, int bottom, int left, int right)
{
    return SetUp(artPixmap(QString::number(bitmapId)), imageCount, top, bottom, left, right);
}

bool SkinBitmapButton::SetUp(const QPixmap &strip, int imageCount, int top, int bottom, int left,
                             int right)
{
    if (strip.isNull() || imageCount < StateImageCount || strip.width() < imageCount)
        return false;
    const int width = strip.width() / imageCount;
    const int height = strip.height();
    for (int i = 0; i < StateImageCount; ++i) {
        m_images[i] = strip.copy(i * width, 0, width, height);
        if (m_images[i].isNull())
            return false;
    }
    auto clamp = [](int border, int extent) { return std::clamp(border, 0, extent / 2); };
    m_borders = QMargins(clamp(left, width), clamp(top, height), clamp(right, width),
                         clamp(bottom, height));
    m_builtSize = {};
    update();
    return true;
}

SkinBitmapButton::Image SkinBitmapButton::currentImage() const
{
    if (!isEnabled())
        return Disabled;
    if (isDown() || isChecked())
        return Pressed;
    if (hasFocus())
        return Focused;
    return Normal;
}

QPixmap SkinBitmapButton::stateImage(Image image, QSize size, qreal ratio) const
{
    const QPixmap &source = m_images[image];
    if (source.isNull() || size.isEmpty())
        return {};
    QPixmap built(size * ratio);
    built.setDevicePixelRatio(ratio);
    built.fill(Qt::transparent);
    QPainter painter(&built);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    qDrawBorderPixmap(&painter, QRect(QPoint(), size), m_borders, source);
    return built;
}

void SkinBitmapButton::rebuildIfNeeded()
{
    const qreal ratio = devicePixelRatioF();
    if (m_builtSize == size() && qFuzzyCompare(m_builtRatio, ratio))
        return;
    for (int i = 0; i < StateImageCount; ++i)
        m_built[i] = stateImage(Image(i), size(), ratio);
    m_builtSize = size();
    m_builtRatio = ratio;
}

void SkinBitmapButton::paintEvent(QPaintEvent *event)
{
    if (!isSetUp()) {
        QPushButton::paintEvent(event);
        return;
    }
    rebuildIfNeeded();
    QPainter painter(this);
    const Image image = currentImage();
    painter.drawPixmap(0, 0, m_built[image]);
    QRect captionRect = rect();
    if (image == Pressed)
        captionRect.translate(PressedCaptionShift, 0);
    painter.setFont(font());
    // The caption sits on the fixed button bitmap, not on the palette's button colour, so its
    // ink is fixed too: a dark look would otherwise draw light text on the light bitmap.
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(128, 128, 128));
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace dpx
