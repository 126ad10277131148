// SPDX-License-Identifier: GPL-3.0-or-later
// Lamp stills: the key lamps' windows and the two indicators, off and lit.
#include "Art.h"

#include "ui/PhoneLayout.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace dpx::art {

namespace {

struct Glow {
    QColor hot;  // centre of a lit lens
    QColor body; // most of its area
    QColor edge; // the rim, where the light fades
};

Glow glowOf(LensColour colour)
{
    if (colour == LensColour::Red)
        return {QColor(255, 228, 214), QColor(255, 56, 38), QColor(150, 8, 6)};
    return {QColor(226, 255, 226), QColor(46, 226, 78), QColor(6, 112, 30)};
}

// Fills `shape` as a lens: frosted grey when off, glowing from within when lit.
void fillLens(QPainter &p, const QPainterPath &shape, LensColour colour)
{
    const QRectF box = shape.boundingRect();
    p.save();
    p.setPen(Qt::NoPen);
    if (colour == LensColour::Off) {
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, QColor(112, 117, 124));
        g.setColorAt(1, QColor(70, 73, 79));
        p.fillPath(shape, g);
    } else {
        const Glow glow = glowOf(colour);
        QRadialGradient g(box.center() + QPointF(0, -0.5), qMax(box.width(), box.height()) * 0.62);
        g.setColorAt(0, glow.hot);
        g.setColorAt(0.45, glow.body);
        g.setColorAt(1, mix(glow.body, glow.edge, 0.55));
        p.fillPath(shape, g);
    }
    // Specular highlight on the upper part of the dome.
    p.setClipPath(shape);
    QLinearGradient shine(box.topLeft(), QPointF(box.left(), box.center().y()));
    shine.setColorAt(0, QColor(255, 255, 255, colour == LensColour::Off ? 90 : 120));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() / 2), shine);
    p.restore();
    p.strokePath(shape, QPen(QColor(0, 0, 0, 110), 1));
}

// A window frame around a lens; lit lenses spill a little light onto it.
void fillFrame(QPainter &p, const QRectF &box, LensColour colour)
{
    p.fillRect(box, QColor(18, 19, 22));
    if (colour != LensColour::Off) {
        QColor spill = glowOf(colour).body;
        spill.setAlpha(70);
        QRadialGradient g(box.center(), box.width() * 0.7);
        g.setColorAt(0.5, spill);
        spill.setAlpha(0);
        g.setColorAt(1, spill);
        p.fillRect(box, g);
    }
    // The frame's lower edge catches the light.
    p.fillRect(QRectF(box.left() + 1, box.bottom() - 1, box.width() - 2, 1),
               QColor(255, 255, 255, 30));
}

QImage paintIndicator(const QImage &body, const QRect &place, qreal radius, LensColour colour)
{
    // The background is the body under the indicator, so that its socket shows round it.
    QImage image = body.copy(place).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    QPainterPath lens;
    lens.addRoundedRect(QRectF(0.5, 0.5, place.width() - 1, place.height() - 1), radius, radius);
    fillLens(p, lens, colour);
    return image;
}

} // namespace

void drawLens(QPainter &p, const QRectF &box, LensColour colour)
{
    p.save();
    prepare(p);
    fillFrame(p, box, colour);
    QPainterPath lens;
    lens.addRoundedRect(box.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    fillLens(p, lens, colour);
    p.restore();
}

void writeLamps(ArtWriter &w, const QImage &body)
{
    const QSize size = findLamp(1)->rect.size();
    auto lamp = [&](LensColour colour) {
        QImage image = blankImage(size.width(), size.height());
        QPainter p(&image);
        drawLens(p, QRectF(QPointF(0, 0), QSizeF(size)), colour);
        return image;
    };
    // The off look is one grey image under several numbers.
    const QImage off = lamp(LensColour::Off);
    for (int name : {411, 416, 417, 418, 419, 420, 421, 422, 423, 424, 425, 426})
        w.write(QString::number(name), off, size);
    w.write(QStringLiteral("413"), lamp(LensColour::Red), size);
    w.write(QStringLiteral("408"), lamp(LensColour::Green), size);

    const QRect large = findLamp(32)->rect;
    w.write(QStringLiteral("495"), paintIndicator(body, large, 6, LensColour::Off), large.size());
    w.write(QStringLiteral("500"), paintIndicator(body, large, 6, LensColour::Red), large.size());
    w.write(QStringLiteral("497"), paintIndicator(body, large, 6, LensColour::Green), large.size());
    const QRect small = findLamp(31)->rect;
    w.write(QStringLiteral("493"), paintIndicator(body, small, 3, LensColour::Off), small.size());
    w.write(QStringLiteral("503"), paintIndicator(body, small, 3, LensColour::Red), small.size());

    // Recording lamp at rest and lit; the blinking recording animation is made from the lit one.
    const QRect rec = findControl(1112)->rect;
    w.write(QStringLiteral("510"), paintIndicator(body, rec, 3, LensColour::Off), rec.size());
    w.write(QStringLiteral("509"), paintIndicator(body, rec, 3, LensColour::Red), rec.size());
}

} // namespace dpx::art
