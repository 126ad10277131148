// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactPictureImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace dpx {

namespace {

void limit(QImageReader &reader)
{
    reader.setAllocationLimit(kPictureAllocationLimitMB);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
}

} // namespace

ConvertedPicture convertContactPicture(const QString &path, int size)
{
    ConvertedPicture result;
    QImageReader reader(path);
    limit(reader);
    const QSize stored = reader.size();
    if (!reader.canRead() || !stored.isValid() || stored.isEmpty()) {
        result.error = reader.errorString();
        return result;
    }
    if (qint64(stored.width()) * stored.height() > kMaxPicturePixels) {
        result.error = QStringLiteral("The picture is too large.");
        return result;
    }
    // Decode straight at about the final size (JPEG decodes scaled, far faster than whole).
    const QSize cover = stored.scaled(size, size, Qt::KeepAspectRatioByExpanding);
    if (cover.width() < stored.width())
        reader.setScaledSize(cover);
    QImage image = reader.read();
    if (image.isNull()) {
        result.error = reader.errorString();
        return result;
    }
    image = image.scaled(size, size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect centre((image.width() - size) / 2, (image.height() - size) / 2, size, size);

    QImage square(size, size, QImage::Format_RGB888);
    square.fill(Qt::white);
    {
        QPainter painter(&square);
        painter.drawImage(QPoint(0, 0), image, centre);
    }
    QBuffer buffer(&result.bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!square.save(&buffer, "BMP")) {
        result.bmp.clear();
        result.error = QStringLiteral("The picture could not be converted.");
        return result;
    }
    result.image = square;
    return result;
}

QImage readPictureFile(const QString &path)
{
    QImageReader reader(path);
    limit(reader);
    const QSize stored = reader.size();
    if (stored.isValid() && qint64(stored.width()) * stored.height() > kMaxPicturePixels)
        return {};
    return reader.read();
}

} // namespace dpx
