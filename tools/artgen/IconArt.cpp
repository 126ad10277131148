// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon: a stylised desk telephone at 64, 32 and 16 pixels.
#include "Art.h"

#include <QLinearGradient>

namespace dpx::art {

namespace {

const QColor IconOutline(12, 13, 15);

} // namespace

void drawTelephoneBody(QPainter &p, bool simple)
{
    const QColor &outline = IconOutline;
    // Body: a wedge that is wider at the bottom, as a desk phone seen from the front.
    QPainterPath body;
    body.moveTo(10, 26);
    body.lineTo(54, 26);
    body.quadTo(58, 26, 59, 30);
    body.lineTo(62, 54);
    body.quadTo(62, 59, 57, 59);
    body.lineTo(7, 59);
    body.quadTo(2, 59, 2, 54);
    body.lineTo(5, 30);
    body.quadTo(6, 26, 10, 26);
    QLinearGradient g(0, 26, 0, 59);
    g.setColorAt(0, QColor(96, 102, 110));
    g.setColorAt(1, QColor(42, 45, 50));
    p.setPen(QPen(outline, simple ? 1.6 : 1.2));
    p.setBrush(g);
    p.drawPath(body);
}

void drawTelephoneHandset(QPainter &p, bool simple)
{
    p.setPen(QPen(IconOutline, simple ? 1.6 : 1.2));
    // Handset resting across the top.
    QPainterPath handset;
    handset.moveTo(4, 18);
    handset.quadTo(4, 8, 14, 8);
    handset.lineTo(50, 8);
    handset.quadTo(60, 8, 60, 18);
    handset.lineTo(60, 22);
    handset.quadTo(60, 25, 57, 25);
    handset.lineTo(47, 25);
    handset.quadTo(44, 25, 44, 22);
    handset.lineTo(44, 18);
    handset.quadTo(44, 16, 41, 16);
    handset.lineTo(23, 16);
    handset.quadTo(20, 16, 20, 18);
    handset.lineTo(20, 22);
    handset.quadTo(20, 25, 17, 25);
    handset.lineTo(7, 25);
    handset.quadTo(4, 25, 4, 22);
    handset.closeSubpath();
    QLinearGradient h(0, 8, 0, 25);
    h.setColorAt(0, QColor(92, 160, 255));
    h.setColorAt(1, QColor(26, 84, 196));
    p.setBrush(h);
    p.drawPath(handset);
    if (!simple) {
        p.setPen(QPen(QColor(255, 255, 255, 140), 1.2));
        p.drawLine(QPointF(14, 10.5), QPointF(50, 10.5));
    }
}

void drawTelephoneFace(QPainter &p, bool simple)
{
    const QColor &outline = IconOutline;
    // Display and keys.
    p.setPen(QPen(outline, 1));
    QLinearGradient lcd(0, 31, 0, 40);
    lcd.setColorAt(0, QColor(214, 230, 170));
    lcd.setColorAt(1, QColor(166, 192, 120));
    p.setBrush(lcd);
    if (simple) {
        p.drawRect(QRectF(12, 31, 40, 9));
        p.setBrush(QColor(236, 238, 242));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(14, 45, 36, 9));
        return;
    }
    p.drawRoundedRect(QRectF(10.5, 30.5, 27, 10), 1.5, 1.5);
    p.setPen(QPen(QColor(40, 50, 30), 1.2));
    p.drawLine(QPointF(13.5, 34), QPointF(30, 34));
    p.drawLine(QPointF(13.5, 37.5), QPointF(24, 37.5));
    p.setPen(QPen(outline, 0.8));
    p.setBrush(QColor(236, 238, 242));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(41 + col * 5.5, 30 + row * 6.5, 4.5, 5), 1, 1);
    // Programmable keys with their lamps.
    for (int i = 0; i < 3; ++i) {
        p.setBrush(QColor(200, 204, 210));
        p.drawRoundedRect(QRectF(12 + i * 9, 45, 7.5, 4.5), 1, 1);
        p.setBrush(i == 0 ? QColor(255, 70, 50) : QColor(60, 220, 90));
        p.drawRect(QRectF(12 + i * 9, 51, 3, 2.5));
    }
}

namespace {

QImage paintIcon(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 64.0, size / 64.0);
    const bool simple = size < 24;
    drawTelephoneBody(p, simple);
    drawTelephoneHandset(p, simple);
    drawTelephoneFace(p, simple);
    return image;
}

} // namespace

void writeIcons(ArtWriter &w)
{
    w.write(QStringLiteral("128"), paintIcon(64), QSize(64, 64));
    w.write(QStringLiteral("128-32"), paintIcon(32), QSize(32, 32));
    w.write(QStringLiteral("128-16"), paintIcon(16), QSize(16, 16));
}

} // namespace dpx::art
