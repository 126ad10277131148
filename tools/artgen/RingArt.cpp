// SPDX-License-Identifier: GPL-3.0-or-later
// Notification-area frames of a ringing call: the icon's telephone with its handset rattling
// off the cradle and ring waves spreading from it, at 32 and 16 pixels.
#include "Art.h"

#include <QTransform>

namespace dpx::art {

namespace {

// One step of the animation. The program shows 238, 239, 236, 237 in turn, 100 ms each.
struct RingFrame {
    int name;
    qreal lift;  // how far the handset rises off the cradle (design units)
    qreal tilt;  // its rattle, in degrees (positive turns it clockwise)
    // Ring waves shown, one bit each, bit 0 the smallest. At 16 px there is room for one
    // wave at a time, so a single wave travels outwards instead.
    unsigned waves;
    unsigned smallWaves;
};

constexpr RingFrame Frames[] = {
    {238, 3, -5, 0b001, 0b001},
    {239, 5.5, 6, 0b011, 0b010},
    {236, 5.5, -6, 0b111, 0b100},
    {237, 3, 5, 0b110, 0b101},
};

const QColor WaveInk(255, 170, 30);
const QColor WaveEdge(176, 84, 0, 170);

// The telephone, a little smaller than on the plain icon so that the waves fit above it,
// standing on the bottom edge.
struct Placement {
    qreal scale;
    QTransform phone;
    qreal cradleY; // top of the resting handset, in frame units
};

Placement placementFor(bool simple)
{
    Placement at;
    at.scale = simple ? 0.78 : 0.82;
    at.phone.translate(32, 62.5);
    at.phone.scale(at.scale, at.scale);
    at.phone.translate(-32, -59.6);
    at.cradleY = at.phone.map(QPointF(0, 8)).y();
    return at;
}

void drawWaves(QPainter &p, const RingFrame &frame, const Placement &at, bool simple)
{
    // Arcs round the handset's two earpieces, opening outwards and upwards; the handset covers
    // their inner ends.
    const qreal first = simple ? 10 : 9;
    const qreal step = simple ? 5 : 6;
    // At 16 px a smooth arc smears into a blot; crisp one-pixel arcs (pen width 0) read as waves.
    const qreal width = simple ? 0 : 2.6;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, !simple);
    const qreal dx = 21 * at.scale;
    const qreal y = at.cradleY + 4;
    const QPointF centres[] = {QPointF(32 - dx, y), QPointF(32 + dx, y)};
    const unsigned waves = simple ? frame.smallWaves : frame.waves;
    for (int wave = 0; wave < 3; ++wave) {
        if (!(waves & (1u << wave)))
            continue;
        const qreal r = first + step * wave;
        for (int side = 0; side < 2; ++side) {
            const QRectF box(centres[side] - QPointF(r, r), QSizeF(2 * r, 2 * r));
            // Qt's angles run anticlockwise from three o'clock, in sixteenths of a degree.
            const int start = side == 0 ? 100 * 16 : 30 * 16;
            // A darker rim keeps the waves visible on a light panel too.
            if (!simple) {
                p.setPen(QPen(WaveEdge, width + 1.4, Qt::SolidLine, Qt::RoundCap));
                p.drawArc(box, start, 50 * 16);
            }
            p.setPen(QPen(WaveInk, width, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(box, start, 50 * 16);
        }
    }
    p.restore();
}

QImage paintFrame(const RingFrame &frame, int size)
{
    const bool simple = size < 24;
    const Placement at = placementFor(simple);
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 64.0, size / 64.0);
    p.setBrush(Qt::NoBrush);
    drawWaves(p, frame, at, simple);

    p.save();
    p.setTransform(at.phone, true);
    drawTelephoneBody(p, simple);
    drawTelephoneFace(p, simple);
    p.restore();

    // The handset turns about its middle, above the cradle.
    p.setTransform(at.phone, true);
    p.translate(32, 16.5 - frame.lift);
    p.rotate(frame.tilt);
    p.translate(-32, -16.5);
    drawTelephoneHandset(p, simple);
    return image;
}

} // namespace

void writeRingingIcons(ArtWriter &w)
{
    for (const RingFrame &frame : Frames) {
        const QString name = QString::number(frame.name);
        w.write(name, paintFrame(frame, 32), QSize(32, 32));
        w.write(name + QStringLiteral("-16"), paintFrame(frame, 16), QSize(16, 16));
    }
}

} // namespace dpx::art
