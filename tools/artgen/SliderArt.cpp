// SPDX-License-Identifier: GPL-3.0-or-later
// The volume slider: channel (plain and lit) and thumb (resting and held).
#include "Art.h"

#include "ui/PhoneLayout.h"

#include <QLinearGradient>

namespace dpx::art {

namespace {

// The thumb's transparent colour: its top-left pixel, never used inside the thumb.
const QColor ThumbClear(255, 0, 255);
constexpr int ThumbW = 11, ThumbH = 16;

QImage paintChannel(const QImage &body, const QRect &place, bool lit)
{
    // The channel is opaque, so it starts as a copy of the body beneath it.
    QImage image = body.copy(place).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const qreal mid = place.height() / 2.0;
    // Tick marks under the track, every tenth of the range.
    const qreal first = 7, last = place.width() - 7;
    for (int i = 0; i <= 10; ++i) {
        const qreal x = qRound(first + (last - first) * i / 10.0);
        const int len = (i % 5 == 0) ? 3 : 2;
        p.fillRect(QRectF(x, mid + 5, 1, len), QColor(120, 126, 136));
    }
    QPainterPath track;
    track.addRoundedRect(QRectF(3.5, mid - 2.5, place.width() - 7, 5), 2.5, 2.5);
    p.fillPath(track.translated(0, 1).subtracted(track), QColor(255, 255, 255, 40));
    p.fillPath(track, QColor(10, 11, 13));
    if (lit) {
        QPainterPath light;
        light.addRoundedRect(QRectF(4.5, mid - 1.5, place.width() - 9, 3), 1.5, 1.5);
        QLinearGradient g(0, mid - 1.5, 0, mid + 1.5);
        g.setColorAt(0, QColor(150, 215, 255));
        g.setColorAt(1, QColor(40, 130, 235));
        p.fillPath(light, g);
    }
    return image;
}

QImage paintThumb(bool held)
{
    QImage image(ThumbW, ThumbH, QImage::Format_ARGB32);
    image.fill(ThumbClear);
    QPainter p(&image);
    // The silhouette must be pixel-exact against the transparent colour: no antialiasing.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect body(0, 0, ThumbW, ThumbH);
    QLinearGradient g(0, 0, 0, ThumbH);
    g.setColorAt(0, held ? QColor(214, 232, 255) : QColor(238, 240, 243));
    g.setColorAt(1, held ? QColor(120, 160, 220) : QColor(160, 165, 173));
    p.fillRect(body.adjusted(1, 1, -1, -1), g);
    p.setPen(QColor(18, 19, 22));
    p.drawLine(1, 0, ThumbW - 2, 0);
    p.drawLine(1, ThumbH - 1, ThumbW - 2, ThumbH - 1);
    p.drawLine(0, 1, 0, ThumbH - 2);
    p.drawLine(ThumbW - 1, 1, ThumbW - 1, ThumbH - 2);
    // Bevel and a centre groove to grip.
    p.setPen(QColor(255, 255, 255, 200));
    p.drawLine(1, 1, ThumbW - 2, 1);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawLine(1, ThumbH - 2, ThumbW - 2, ThumbH - 2);
    p.setPen(QColor(70, 74, 82));
    p.drawLine(ThumbW / 2, 4, ThumbW / 2, ThumbH - 5);
    p.setPen(QColor(255, 255, 255, 190));
    p.drawLine(ThumbW / 2 + 1, 4, ThumbW / 2 + 1, ThumbH - 5);
    p.end();
    // Nothing inside may match the transparent colour by chance.
    for (int y = 0; y < ThumbH; ++y)
        for (int x = 0; x < ThumbW; ++x) {
            const bool corner = (x == 0 || x == ThumbW - 1) && (y == 0 || y == ThumbH - 1);
            if (!corner && image.pixelColor(x, y) == ThumbClear)
                image.setPixelColor(x, y, QColor(254, 0, 254));
        }
    return image;
}

} // namespace

void writeSlider(ArtWriter &w, const QImage &body)
{
    const QRect place = findControl(1084)->rect;
    w.write(QStringLiteral("380"), paintChannel(body, place, false), place.size());
    w.write(QStringLiteral("381"), paintChannel(body, place, true), place.size());
    w.write(QStringLiteral("382"), paintThumb(false), QSize(ThumbW, ThumbH));
    w.write(QStringLiteral("379"), paintThumb(true), QSize(ThumbW, ThumbH));
}

} // namespace dpx::art
