// SPDX-License-Identifier: GPL-3.0-or-later
// The address book windows' art: the strip of push-button faces (normal, pressed, disabled,
// focused, hovered) that the buttons stretch as nine-slices, and the phone book's background.
// A button face keeps all its detail within 3 pixels of its edges so that any border width
// from 3 to 5 keeps the frame unscaled; the centre is a vertical gradient that stretches cleanly.
#include "Art.h"

#include <QLinearGradient>

namespace dpx::art {

namespace {

constexpr int FaceWidth = 32;
constexpr int FaceHeight = 24;
constexpr int FaceCount = 5;

struct FaceColours {
    QColor top, bottom, frame, highlight, ring;
};

QImage paintFace(const FaceColours &c)
{
    QImage image = filledImage(FaceWidth, FaceHeight, Qt::transparent);
    QPainter p(&image);
    const QRect inner(1, 1, FaceWidth - 2, FaceHeight - 2);
    QLinearGradient fill(0, 1, 0, FaceHeight - 1);
    fill.setColorAt(0, c.top);
    fill.setColorAt(1, c.bottom);
    p.fillRect(inner, fill);
    // A bevel: a light line inside the top and left edges, a shade inside the bottom and right.
    p.fillRect(QRect(2, 1, FaceWidth - 4, 1), c.highlight);
    p.fillRect(QRect(1, 2, 1, FaceHeight - 4), c.highlight);
    p.fillRect(QRect(2, FaceHeight - 2, FaceWidth - 4, 1), QColor(0, 0, 0, 40));
    p.fillRect(QRect(FaceWidth - 2, 2, 1, FaceHeight - 4), QColor(0, 0, 0, 30));
    if (c.ring.isValid()) {
        p.setPen(c.ring);
        p.drawRect(QRect(2, 2, FaceWidth - 5, FaceHeight - 5));
    }
    // The frame with cut corners: a rounded look that stays crisp at any size.
    p.setPen(c.frame);
    p.drawLine(2, 0, FaceWidth - 3, 0);
    p.drawLine(2, FaceHeight - 1, FaceWidth - 3, FaceHeight - 1);
    p.drawLine(0, 2, 0, FaceHeight - 3);
    p.drawLine(FaceWidth - 1, 2, FaceWidth - 1, FaceHeight - 3);
    QColor corner = c.frame;
    corner.setAlpha(140);
    p.setPen(corner);
    for (const QPoint &pt : {QPoint(1, 1), QPoint(FaceWidth - 2, 1), QPoint(1, FaceHeight - 2),
                             QPoint(FaceWidth - 2, FaceHeight - 2)})
        p.drawPoint(pt);
    return image;
}

QImage paintButtonStrip()
{
    const QColor graphite(58, 62, 70);
    const FaceColours faces[FaceCount] = {
        {QColor(250, 251, 253), QColor(214, 220, 229), graphite, QColor(255, 255, 255, 220), {}},
        {QColor(196, 204, 216), QColor(224, 229, 236), QColor(38, 41, 47), QColor(0, 0, 0, 35), {}},
        {QColor(236, 237, 239), QColor(226, 228, 231), QColor(160, 164, 170), QColor(255, 255, 255, 160), {}},
        {QColor(250, 251, 253), QColor(214, 220, 229), QColor(26, 84, 196), QColor(255, 255, 255, 220),
         QColor(26, 84, 196, 110)},
        {QColor(255, 255, 255), QColor(226, 233, 243), graphite, QColor(255, 255, 255, 240), {}},
    };
    QImage strip = filledImage(FaceWidth * FaceCount, FaceHeight, Qt::transparent);
    QPainter p(&strip);
    for (int i = 0; i < FaceCount; ++i)
        p.drawImage(i * FaceWidth, 0, paintFace(faces[i]));
    return strip;
}

QImage paintPhoneBookBackground()
{
    constexpr int Width = 920, Height = 386, ButtonBand = 326;
    QImage image = filledImage(Width, Height, QColor(226, 231, 238));
    QPainter p(&image);
    QLinearGradient page(0, 0, 0, ButtonBand);
    page.setColorAt(0, QColor(236, 240, 245));
    page.setColorAt(1, QColor(220, 226, 235));
    p.fillRect(QRect(0, 0, Width, ButtonBand), page);
    // The button band: the telephone's graphite fading into steel, under a white hairline.
    QLinearGradient band(0, ButtonBand, 0, Height);
    band.setColorAt(0, QColor(206, 213, 223));
    band.setColorAt(1, QColor(184, 192, 204));
    p.fillRect(QRect(0, ButtonBand, Width, Height - ButtonBand), band);
    p.fillRect(QRect(0, ButtonBand, Width, 1), QColor(255, 255, 255, 200));
    p.fillRect(QRect(0, Height - 3, Width, 3), QColor(72, 77, 86));
    return image;
}

} // namespace

void writeAddressBookArt(ArtWriter &writer)
{
    writer.write(QStringLiteral("132"), paintButtonStrip(), QSize(FaceWidth * FaceCount, FaceHeight));
    writer.write(QStringLiteral("199"), paintPhoneBookBackground(), QSize(920, 386));
}

} // namespace dpx::art
