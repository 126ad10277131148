// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace dpx {

inline constexpr int kContactPictureSize = 128;
// Decoding stops beyond this much memory for one image (a file may declare any size).
inline constexpr int kPictureAllocationLimitMB = 256;
inline constexpr qint64 kMaxPicturePixels = qint64(60) * 1000 * 1000;

struct ConvertedPicture {
    QImage image;   // kContactPictureSize square, RGB888
    QByteArray bmp; // the same as a 24-bit BMP file
    QString error;  // why the file could not be converted
    bool ok() const { return !bmp.isEmpty(); }
};

// Turns an image file (JPEG, BMP, PNG, ..., told by its content) into a contact picture: upright
// by its EXIF orientation, scaled without distortion to cover the square, its centre cut out,
// transparency laid on white. Runs on any thread.
ConvertedPicture convertContactPicture(const QString &path, int size = kContactPictureSize);

// Reads a picture file to show it, within the same limits; a null image when it cannot.
QImage readPictureFile(const QString &path);

} // namespace dpx
