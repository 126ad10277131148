// SPDX-License-Identifier: GPL-3.0-or-later
// The call history's 16-px pictures of a call's kind: a handset with an arrow in or out.
#include "Art.h"

#include <QtMath>

namespace dpx::art {

namespace {

const QColor Outline(20, 24, 34);
const QColor Green(40, 170, 70);
const QColor Red(214, 36, 36);
const QColor Blue(40, 110, 220);

// A handset lying on its back across the lower part of the picture.
void handset(QPainter &p, const QColor &colour)
{
    QPainterPath h;
    h.moveTo(1.5, 11);
    h.quadTo(8, 5.5, 14.5, 11);
    h.lineTo(14.5, 14.5);
    h.lineTo(11, 14.5);
    h.lineTo(11, 12.5);
    h.quadTo(8, 11, 5, 12.5);
    h.lineTo(5, 14.5);
    h.lineTo(1.5, 14.5);
    h.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(colour);
    p.drawPath(h);
}

// A short arrow from `from` to `to` with a solid head.
void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &colour)
{
    const QPointF d = to - from;
    const qreal len = qSqrt(d.x() * d.x() + d.y() * d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to - u * 2.5);
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - u * 4 + n * 3);
    head.lineTo(to - u * 4 - n * 3);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

QImage picture(const QColor &handsetColour, bool outwards, const QColor &arrowColour, bool missed)
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    prepare(p);
    handset(p, handsetColour);
    if (missed) {
        // Down towards the handset, then away: the call that was not taken.
        p.setPen(QPen(arrowColour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath bounce;
        bounce.moveTo(3, 1.5);
        bounce.lineTo(7.5, 6);
        bounce.lineTo(12, 1.5);
        p.drawPath(bounce);
        arrow(p, QPointF(9.5, 4), QPointF(13.5, 0.5), arrowColour);
    } else if (outwards) {
        arrow(p, QPointF(5, 7), QPointF(12.5, 0.5), arrowColour);
    } else {
        arrow(p, QPointF(12.5, 0.5), QPointF(5, 7), arrowColour);
    }
    return image;
}

} // namespace

void writeCallHistoryIcons(ArtWriter &w)
{
    const QColor dark(70, 76, 86), amber(230, 150, 30);
    const QSize size(16, 16);
    w.write(QStringLiteral("call-incoming"), picture(dark, false, Green, false), size);
    w.write(QStringLiteral("call-missed"), picture(dark, false, Red, true), size);
    w.write(QStringLiteral("call-outgoing"), picture(dark, true, Blue, false), size);
    w.write(QStringLiteral("call-intercom"), picture(amber, false, Green, false), size);
    w.write(QStringLiteral("call-intercom-missed"), picture(amber, false, Red, true), size);
}

} // namespace dpx::art
