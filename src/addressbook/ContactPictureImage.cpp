// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactPictureImage.h"

#include <QBuffer>
#include <QFile>
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

// A JPEG decoder pads a cut-off file with grey and reports success: a whole file ends its last
// scan with the end-of-image marker (neither marker can occur inside the coded data).
bool jpegIsComplete(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(kPictureAllocationLimitMB) * 1024 * 1024)
        return false;
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.lastIndexOf(QByteArrayView("\xFF\xD9", 2));
    return end >= 0 && end > bytes.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
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
    if (reader.format() == "jpeg" && !jpegIsComplete(path)) {
        result.error = QStringLiteral("The picture file is incomplete.");
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
