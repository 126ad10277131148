// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPixmap>

namespace dpx {

// A row of equal square images cut from one strip, like the bar's 32-pixel and 16-pixel
// icon strips. Cheap to copy (the strip is shared).
class FolderBarImages {
public:
    FolderBarImages() = default;
    // Images of size x size side by side from the strip's left edge; rows below the
    // size are ignored.
    FolderBarImages(QPixmap strip, int size);

    // The strip with every pixel of the key colour made transparent.
    static FolderBarImages fromStrip(const QPixmap &strip, int size, QColor keyColour);
    // The same from the program's art ("254", "261"); empty when the art is missing.
    static FolderBarImages fromArt(const QString &name, int size, QColor keyColour);

    bool isNull() const { return m_strip.isNull() || m_size <= 0; }
    int size() const { return m_size; }
    int count() const;
    // One image; empty when the index is out of range.
    QPixmap image(int index) const;
    const QPixmap &strip() const { return m_strip; }

private:
    QPixmap m_strip;
    int m_size = 0;
};

} // namespace dpx
