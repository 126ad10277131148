// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FolderBarImages.h"

#include "ui/Art.h"

#include <QImage>

namespace dpx {

FolderBarImages::FolderBarImages(QPixmap strip, int size) : m_strip(std::move(strip)), m_size(size)
{
}

FolderBarImages FolderBarImages::fromStrip(const QPixmap &strip, int size, QColor keyColour)
{
    if (strip.isNull())
        return {};
    QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyColour.rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
        }
    }
    return FolderBarImages(QPixmap::fromImage(image), size);
}

FolderBarImages FolderBarImages::fromArt(const QString &name, int size, QColor keyColour)
{
    return fromStrip(artPixmap(name), size, keyColour);
}

int FolderBarImages::count() const
{
    return isNull() ? 0 : m_strip.width() / m_size;
}

QPixmap FolderBarImages::image(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_strip.copy(index * m_size, 0, m_size, std::min(m_size, m_strip.height()));
}

} // namespace dpx
