// SPDX-License-Identifier: GPL-3.0-or-later
// Folder bar image strips: seven 32-px item pictures and six 16-px tree pictures.
#include "Art.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace dpx::art {

namespace {

// Both strips are shown on the folder bar's blue; edges are blended against it, and the
// untouched background becomes the strip's mask colour.
const QColor BarBlue(96, 128, 190);
const QColor Outline(20, 24, 34);

QLinearGradient vertical(qreal top, qreal bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void page(QPainter &p, const QRectF &r)
{
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - 6, r.top());
    sheet.lineTo(r.right(), r.top() + 6);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(r.top(), r.bottom(), QColor(255, 255, 255), QColor(214, 222, 236)));
    p.drawPath(sheet);
    p.setBrush(QColor(190, 200, 218));
    QPainterPath fold;
    fold.moveTo(r.right() - 6, r.top());
    fold.lineTo(r.right() - 6, r.top() + 6);
    fold.lineTo(r.right(), r.top() + 6);
    fold.closeSubpath();
    p.drawPath(fold);
}

void wave(QPainter &p, qreal x, qreal y, qreal w, const QColor &c)
{
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    static const qreal h[] = {2, 5, 8, 4, 9, 6, 3, 7, 4, 2};
    for (int i = 0; i < 10; ++i) {
        const qreal xi = x + i * w / 9;
        p.drawLine(QPointF(xi, y - h[i] / 2), QPointF(xi, y + h[i] / 2));
    }
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &c)
{
    const QPointF d = to - from;
    const qreal len = qSqrt(d.x() * d.x() + d.y() * d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath a;
    a.moveTo(from + n * 2.5);
    a.lineTo(to - u * 6 + n * 2.5);
    a.lineTo(to - u * 6 + n * 6);
    a.lineTo(to);
    a.lineTo(to - u * 6 - n * 6);
    a.lineTo(to - u * 6 - n * 2.5);
    a.lineTo(from - n * 2.5);
    a.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(c);
    p.drawPath(a);
}

void handsetShape(QPainter &p, const QRectF &r, const QColor &c)
{
    // A handset seen from the side: two cups joined by a curved grip.
    QPainterPath h;
    const qreal x = r.left(), y = r.top(), w = r.width(), hh = r.height();
    h.moveTo(x, y + hh * 0.35);
    h.quadTo(x + w * 0.5, y - hh * 0.1, x + w, y + hh * 0.35);
    h.lineTo(x + w, y + hh);
    h.lineTo(x + w * 0.72, y + hh);
    h.lineTo(x + w * 0.72, y + hh * 0.6);
    h.quadTo(x + w * 0.5, y + hh * 0.45, x + w * 0.28, y + hh * 0.6);
    h.lineTo(x + w * 0.28, y + hh);
    h.lineTo(x, y + hh);
    h.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(c);
    p.drawPath(h);
}

void gear(QPainter &p, const QPointF &c, qreal r, int teeth)
{
    QPainterPath g;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = M_PI * i / teeth, a1 = M_PI * (i + 1) / teeth;
        const qreal rr = (i % 2 == 0) ? r : r * 0.78;
        const QPointF p0 = c + QPointF(qCos(a0 + 0.08), qSin(a0 + 0.08)) * rr;
        const QPointF p1 = c + QPointF(qCos(a1 - 0.08), qSin(a1 - 0.08)) * rr;
        if (i == 0)
            g.moveTo(p0);
        else
            g.lineTo(p0);
        g.lineTo(p1);
    }
    g.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, r * 0.32, r * 0.32);
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(c.y() - r, c.y() + r, QColor(236, 238, 242), QColor(140, 146, 156)));
    p.drawPath(g.subtracted(hole));
}

void person(QPainter &p, const QRectF &r, const QColor &shirt)
{
    const qreal w = r.width(), h = r.height();
    QPainterPath body;
    body.addRoundedRect(QRectF(r.left() + w * 0.12, r.top() + h * 0.56, w * 0.76, h * 0.44),
                        w * 0.3, w * 0.3);
    p.setPen(QPen(Outline, 1));
    p.setBrush(shirt);
    p.drawPath(body);
    p.setBrush(vertical(r.top(), r.top() + h * 0.5, QColor(255, 222, 190), QColor(232, 170, 128)));
    p.drawEllipse(QRectF(r.left() + w * 0.3, r.top() + h * 0.04, w * 0.4, h * 0.48));
}

using IconPainter = void (*)(QPainter &);

void converter(QPainter &p)
{
    page(p, QRectF(5.5, 3.5, 19, 24));
    wave(p, 9, 15, 11, QColor(30, 90, 200));
    p.setPen(QPen(QColor(255, 150, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(16, 16, 12, 12), 90 * 16, 270 * 16);
    arrow(p, QPointF(22, 16.2), QPointF(27.5, 16.2), QColor(255, 170, 40));
}

void transfer(QPainter &p)
{
    // Down into the telephone's memory: a chip with a green arrow.
    p.setPen(QPen(Outline, 1));
    for (int i = 0; i < 5; ++i) {
        p.setBrush(QColor(226, 190, 90));
        p.drawRect(QRectF(7.5 + i * 4, 27.5, 2, 3));
    }
    p.setBrush(vertical(18, 28, QColor(70, 74, 82), QColor(30, 32, 36)));
    p.drawRoundedRect(QRectF(4.5, 17.5, 23, 10), 1.5, 1.5);
    p.setBrush(QColor(120, 126, 136));
    p.drawEllipse(QRectF(7, 20, 2.5, 2.5));
    arrow(p, QPointF(16, 2), QPointF(16, 17), QColor(70, 210, 90));
}

void phoneBook(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(3, 29, QColor(230, 80, 70), QColor(160, 30, 30)));
    p.drawRoundedRect(QRectF(6.5, 3.5, 20, 25), 2, 2);
    p.setBrush(QColor(250, 246, 236));
    p.drawRect(QRectF(24.5, 5.5, 3, 21));
    p.setBrush(QColor(110, 30, 30));
    p.drawRect(QRectF(6.5, 3.5, 4, 25));
    handsetShape(p, QRectF(12, 11, 12, 10), QColor(250, 250, 250));
}

void recorder(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(3, 19, QColor(240, 242, 246), QColor(150, 156, 166)));
    p.drawRoundedRect(QRectF(11.5, 2.5, 9, 17), 4.5, 4.5);
    p.setPen(QPen(QColor(90, 96, 106), 1));
    for (int y = 6; y < 17; y += 3)
        p.drawLine(QPointF(13, y + 0.5), QPointF(19, y + 0.5));
    p.setPen(QPen(Outline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 8, 16, 16), 200 * 16, 140 * 16);
    p.drawLine(QPointF(16, 24), QPointF(16, 28));
    p.drawLine(QPointF(11, 28.5), QPointF(21, 28.5));
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(240, 40, 40));
    p.drawEllipse(QRectF(21.5, 2.5, 7, 7));
}

void player(QPainter &p)
{
    QPainterPath speaker;
    speaker.moveTo(4.5, 12.5);
    speaker.lineTo(10.5, 12.5);
    speaker.lineTo(17.5, 6.5);
    speaker.lineTo(17.5, 25.5);
    speaker.lineTo(10.5, 19.5);
    speaker.lineTo(4.5, 19.5);
    speaker.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(6, 26, QColor(240, 242, 246), QColor(140, 146, 156)));
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        p.setPen(QPen(QColor(255, 214, 60), 2, Qt::SolidLine, Qt::RoundCap));
        const qreal r = 5 + i * 5;
        p.drawArc(QRectF(18 - r, 16 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

void settings(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(12, 29, QColor(90, 96, 104), QColor(40, 43, 48)));
    p.drawRoundedRect(QRectF(2.5, 14.5, 20, 14), 2, 2);
    handsetShape(p, QRectF(2.5, 8.5, 20, 7), QColor(92, 160, 255));
    p.setBrush(QColor(200, 220, 150));
    p.drawRect(QRectF(5.5, 17.5, 9, 4));
    gear(p, QPointF(23, 10), 8, 8);
}

void skins(QPainter &p)
{
    QPainterPath palette;
    palette.addEllipse(QRectF(3.5, 5.5, 25, 21));
    QPainterPath thumb;
    thumb.addEllipse(QRectF(16, 17, 6, 5));
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(5, 27, QColor(240, 214, 160), QColor(200, 160, 96)));
    p.drawPath(palette.subtracted(thumb));
    const QColor dabs[] = {QColor(230, 50, 50), QColor(60, 180, 80), QColor(50, 110, 230),
                           QColor(250, 210, 40)};
    const QPointF at[] = {{9, 12}, {15, 9.5}, {21.5, 11}, {9.5, 19}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dabs[i]);
        p.drawEllipse(at[i], 2.6, 2.6);
    }
}

void chatClient(QPainter &p)
{
    // A speech bubble with a handset in it: the chat program that also makes calls.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(2.5, 3.5, 27, 19), 8, 8);
    QPainterPath tail;
    tail.moveTo(8, 20);
    tail.lineTo(6.5, 28.5);
    tail.lineTo(15, 21);
    tail.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(3, 28, QColor(120, 200, 255), QColor(20, 120, 220)));
    p.drawPath(bubble.united(tail));
    p.save();
    p.translate(16, 13);
    p.rotate(-20);
    handsetShape(p, QRectF(-8, -5, 16, 10), QColor(255, 255, 255));
    p.restore();
}

// Small tree pictures, on a 16-px grid.
void treePerson(QPainter &p) { person(p, QRectF(1, 1, 14, 14), QColor(60, 120, 220)); }

void treeHome(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(248, 244, 232));
    p.drawRect(QRectF(3.5, 7.5, 9, 7));
    QPainterPath roof;
    roof.moveTo(1.5, 8.5);
    roof.lineTo(8, 1.5);
    roof.lineTo(14.5, 8.5);
    roof.closeSubpath();
    p.setBrush(QColor(220, 60, 48));
    p.drawPath(roof);
    p.setBrush(QColor(140, 90, 50));
    p.drawRect(QRectF(6.5, 10.5, 3, 4));
}

void treeBusiness(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5.5, 2.5, 5, 3), 1, 1);
    p.setBrush(vertical(4, 14, QColor(196, 140, 80), QColor(130, 80, 40)));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 10), 1.5, 1.5);
    p.drawLine(QPointF(1.5, 9), QPointF(14.5, 9));
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(QRectF(7, 8, 2, 2.5));
}

void treeMobile(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(52, 56, 64));
    p.drawRoundedRect(QRectF(4.5, 0.5, 8, 15), 1.5, 1.5);
    p.setBrush(QColor(150, 210, 255));
    p.drawRect(QRectF(5.5, 2.5, 6, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 224, 230));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(5.5 + i * 2, 10.5, 1.5, 1.5));
    p.drawRect(QRectF(5.5, 13, 6, 1));
}

void treeNickname(QPainter &p)
{
    QPainterPath tag;
    tag.moveTo(1.5, 3.5);
    tag.lineTo(9.5, 3.5);
    tag.lineTo(14.5, 8);
    tag.lineTo(9.5, 12.5);
    tag.lineTo(1.5, 12.5);
    tag.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(10, 8), 1.3, 1.3);
    p.setPen(QPen(Outline, 1));
    p.setBrush(vertical(3, 13, QColor(255, 236, 120), QColor(230, 176, 30)));
    p.drawPath(tag.subtracted(hole));
    p.setPen(QPen(QColor(120, 80, 10), 1));
    p.drawLine(QPointF(3.5, 6.5), QPointF(7.5, 6.5));
    p.drawLine(QPointF(3.5, 9.5), QPointF(6.5, 9.5));
}

void treeSelected(QPainter &p)
{
    QRadialGradient halo(QPointF(8, 8), 8);
    halo.setColorAt(0, QColor(255, 240, 150));
    halo.setColorAt(1, QColor(255, 200, 40));
    p.setPen(QPen(Outline, 1));
    p.setBrush(halo);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    person(p, QRectF(2, 2, 12, 13), QColor(230, 90, 40));
}

// Paints each picture into its cell over the bar's blue, then masks what stayed untouched.
QImage strip(const QList<IconPainter> &pictures, int cell, int height, const QColor &mask)
{
    QImage cover = blankImage(cell * int(pictures.size()), height);
    {
        QPainter p(&cover);
        prepare(p);
        for (int i = 0; i < pictures.size(); ++i) {
            p.save();
            p.translate(i * cell, 0);
            p.setClipRect(QRect(0, 0, cell, cell));
            pictures[i](p);
            p.restore();
        }
    }
    QImage out(cover.size(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QColor c = cover.pixelColor(x, y);
            if (c.alpha() == 0) {
                out.setPixelColor(x, y, mask);
                continue;
            }
            const qreal a = c.alphaF();
            QColor shown = QColor::fromRgbF(c.redF() * a + BarBlue.redF() * (1 - a),
                                            c.greenF() * a + BarBlue.greenF() * (1 - a),
                                            c.blueF() * a + BarBlue.blueF() * (1 - a));
            if (shown.rgb() == mask.rgb())
                shown = shown.lighter(102);
            out.setPixelColor(x, y, shown);
        }
    return out;
}

} // namespace

void writeFolderImages(ArtWriter &w)
{
    // Items: audio conversion, audio transfer, phone book, recorder, player, settings, skins,
    // chat client.
    w.write(QStringLiteral("254"),
            strip({converter, transfer, phoneBook, recorder, player, settings, skins, chatClient},
                  32, 32, QColor(128, 128, 128)),
            QSize(256, 32));
    // Tree: person, home, business, mobile, nickname, selected person.
    w.write(QStringLiteral("261"),
            strip({treePerson, treeHome, treeBusiness, treeMobile, treeNickname, treeSelected}, 16,
                  17, QColor(0, 128, 128)),
            QSize(96, 17));
}

} // namespace dpx::art
