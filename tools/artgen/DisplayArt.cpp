// SPDX-License-Identifier: GPL-3.0-or-later
// The two display backgrounds: the dark status strip and the backlit LCD glass below it.
#include "Art.h"

#include <QLinearGradient>

namespace dpx::art {

namespace {

void innerShade(QPainter &p, const QRect &r, int depth, int alpha)
{
    // Darkens the edges that lie in the shadow of the bezel (top and left).
    for (int i = 0; i < depth; ++i) {
        const int a = alpha * (depth - i) / depth;
        p.fillRect(QRect(r.left(), r.top() + i, r.width(), 1), QColor(0, 0, 0, a));
        p.fillRect(QRect(r.left() + i, r.top() + depth, 1, r.height() - depth),
                   QColor(0, 0, 0, a / 2));
    }
}

} // namespace

QImage paintStatusLine()
{
    QImage image = blankImage(287, 56);
    QPainter p(&image);
    prepare(p);
    QLinearGradient g(0, 0, 0, 56);
    g.setColorAt(0, QColor(30, 34, 40));
    g.setColorAt(1, QColor(14, 16, 20));
    p.fillRect(image.rect(), g);
    // Smoked glass: a faint reflection over the upper part.
    QLinearGradient shine(0, 0, 0, 22);
    shine.setColorAt(0, QColor(255, 255, 255, 16));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, 287, 22), shine);
    innerShade(p, image.rect(), 3, 90);

    // A dim handset mark in front of the status text.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(78, 86, 98));
    QPainterPath handset;
    handset.moveTo(10, 27);
    handset.cubicTo(9, 33, 14, 39, 21, 39);
    handset.lineTo(23, 36);
    handset.lineTo(19, 33);
    handset.lineTo(17, 35);
    handset.cubicTo(15, 34, 14, 32, 13, 30);
    handset.lineTo(15, 28);
    handset.lineTo(12, 24);
    handset.closeSubpath();
    p.drawPath(handset);

    // The boundary to the LCD below is a hair of light, as where two panes meet.
    p.fillRect(QRect(0, 55, 287, 1), QColor(60, 66, 74));
    return image;
}

QImage paintLcd()
{
    QImage image = blankImage(287, 60);
    QPainter p(&image);
    prepare(p);
    QLinearGradient g(0, 0, 0, 60);
    g.setColorAt(0, QColor(200, 214, 166));
    g.setColorAt(1, QColor(174, 192, 138));
    p.fillRect(image.rect(), g);
    // Backlight: a little brighter towards the middle.
    QLinearGradient across(0, 0, 287, 0);
    across.setColorAt(0, QColor(0, 0, 0, 22));
    across.setColorAt(0.25, QColor(255, 255, 220, 0));
    across.setColorAt(0.75, QColor(255, 255, 220, 0));
    across.setColorAt(1, QColor(0, 0, 0, 22));
    p.fillRect(image.rect(), across);
    // The glass's reflection: a soft diagonal band.
    QLinearGradient band(QPointF(60, 0), QPointF(140, 60));
    band.setColorAt(0, QColor(255, 255, 255, 0));
    band.setColorAt(0.5, QColor(255, 255, 255, 26));
    band.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), band);
    innerShade(p, image.rect(), 3, 70);
    return image;
}

} // namespace dpx::art
