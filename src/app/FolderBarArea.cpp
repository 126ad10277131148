// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FolderBarArea.h"

#include "ui/KeyButton.h"

#include <QBitmap>
#include <QPainter>

namespace dpx {

namespace {
constexpr int HeaderHeight = 22;
const QColor BarColour(96, 128, 190);

QPixmap withMaskColour(QPixmap pixmap, QColor colour)
{
    if (!pixmap.isNull())
        pixmap.setMask(pixmap.createMaskFromColor(colour, Qt::MaskInColor));
    return pixmap;
}
}

FolderBarArea::FolderBarArea(QWidget *parent)
    : QWidget(parent), m_images(withMaskColour(artPixmap(QStringLiteral("254")), QColor(128, 128, 128)))
{
    setToolTip(QStringLiteral("The tools, the phone book and the settings open here in a later version."));
}

void FolderBarArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), BarColour);
    const QStringList folders = {QStringLiteral("工具"), QStringLiteral("電話簿"),
                                 QStringLiteral("設置")};
    auto header = [&](int index, int y) {
        const QRect r(0, y, width(), HeaderHeight);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(222, 226, 234));
        g.setColorAt(1, QColor(176, 184, 198));
        painter.fillRect(r, g);
        painter.setPen(QColor(110, 118, 132));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(30, 34, 40));
        painter.drawText(r, Qt::AlignCenter, folders.at(index));
    };
    header(0, 0);
    header(1, height() - 2 * HeaderHeight);
    header(2, height() - HeaderHeight);

    // The tools folder's items, greyed: their windows are not part of this version.
    const QStringList items = {QStringLiteral("音檔轉換"), QStringLiteral("音檔傳輸")};
    painter.setOpacity(0.5);
    for (int i = 0; i < items.size(); ++i) {
        const int top = HeaderHeight + 12 + i * 62;
        if (!m_images.isNull())
            painter.drawPixmap((width() - 32) / 2, top, m_images, i * 32, 0, 32, 32);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, top + 34, width(), 18), Qt::AlignCenter, items.at(i));
    }
}

VolumeSliderArea::VolumeSliderArea(QWidget *parent)
    : QWidget(parent),
      m_channel(artPixmap(QStringLiteral("380"))),
      m_thumb(artPixmap(QStringLiteral("382")))
{
    if (!m_thumb.isNull()) {
        const QColor key = m_thumb.toImage().pixelColor(0, 0);
        m_thumb.setMask(m_thumb.createMaskFromColor(key, Qt::MaskInColor));
    }
    setFixedSize(m_channel.isNull() ? QSize(120, 20) : m_channel.size());
    setToolTip(QStringLiteral("Volume (not connected to the PC's volume in this version)"));
}

void VolumeSliderArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_channel);
    if (m_thumb.isNull())
        return;
    // Margins 2, 3, 2, 0 around the channel, as the slider will use them.
    const int left = 2, right = 2, top = 3;
    const int travel = width() - right - m_thumb.width() - left;
    const int centre = m_thumb.width() / 2 + left + int(m_position / 100.0 * travel);
    painter.drawPixmap(centre - m_thumb.width() / 2, top + (height() - top - m_thumb.height()) / 2,
                       m_thumb);
}

} // namespace dpx
