// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyButton.h"

#include <QPainter>
#include <QPixmapCache>

namespace dpx {

QPixmap artPixmap(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString path = QStringLiteral(":/art/") + name + QStringLiteral(".png");
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap) && pixmap.load(path))
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}

KeyButton::KeyButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void KeyButton::SetSkin(const QString &normal, const QString &down, const QString &over,
                        const QString &disabled)
{
    m_names[Normal] = normal;
    m_names[Down] = down;
    m_names[Over] = over;
    m_names[Disabled] = disabled.isEmpty() ? normal : disabled;
    for (int i = 0; i < ImageCount; ++i)
        m_images[i] = artPixmap(m_names[i]);
    update();
}

QSize KeyButton::sizeHint() const
{
    return m_images[Normal].isNull() ? QSize(24, 24) : m_images[Normal].size();
}

const QPixmap &KeyButton::currentImage() const
{
    if (!isEnabled())
        return m_images[Disabled];
    if (isDown() || isChecked())
        return m_images[Down].isNull() ? m_images[Normal] : m_images[Down];
    if (m_hover && !m_images[Over].isNull())
        return m_images[Over];
    return m_images[Normal];
}

void KeyButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &image = currentImage();
    if (image.isNull())
        painter.fillRect(rect(), palette().button());
    else
        painter.drawPixmap(0, 0, image);
    if (!text().isEmpty()) {
        painter.setPen(palette().buttonText().color());
        painter.drawText(rect().translated(isDown() ? QPoint(1, 1) : QPoint()),
                         Qt::AlignCenter, text());
    }
}

void KeyButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void KeyButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void KeyButton::mousePressEvent(QMouseEvent *event)
{
    // Pressing ends the hover look; the down image takes over until release.
    m_hover = false;
    QAbstractButton::mousePressEvent(event);
}

} // namespace dpx
