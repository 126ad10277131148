// SPDX-License-Identifier: GPL-3.0-or-later
// The small images of the seven looks: scroll-bar handles, menu check marks, radio and check
// indicators. Colours and shapes come from the program's own theme table.
#include "Art.h"

#include "settings/ThemeColours.h"

#include <QLinearGradient>

namespace dpx::art {

namespace {

QColor rgb(QRgb value) { return QColor::fromRgb(value); }

// A handle is drawn 16 px across and 32 px along, then stretched by its borders (6 px).
QImage handle(const ThemeColours &t, bool vertical)
{
    const QSize size = vertical ? QSize(12, 32) : QSize(32, 12);
    QImage image = blankImage(size.width(), size.height());
    QPainter p(&image);
    prepare(p);
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient g(body.topLeft(), vertical ? body.topRight() : body.bottomLeft());
    g.setColorAt(0, rgb(t.handleTop));
    g.setColorAt(1, rgb(t.handleBottom));
    p.setPen(QPen(rgb(t.handleLine), 1));
    p.setBrush(g);
    const qreal r = qMin<qreal>(t.handleRadius, 5);
    p.drawRoundedRect(body, r, r);
    // A grip in the middle shows where to take hold.
    p.setPen(QPen(rgb(t.handleLine), 1));
    p.setBrush(rgb(t.handleLine));
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    for (int i = -1; i <= 1; ++i) {
        const QPointF step = vertical ? QPointF(0, 3 * i) : QPointF(3 * i, 0);
        if (t.grip == GripKind::Lines) {
            const QPointF half = vertical ? QPointF(2.5, 0) : QPointF(0, 2.5);
            p.drawLine(c + step - half, c + step + half);
        } else if (t.grip == GripKind::Dots) {
            p.drawEllipse(c + step, 0.9, 0.9);
        }
    }
    return image;
}

void drawMark(QPainter &p, const ThemeColours &t, const QRectF &box, qreal weight)
{
    const QColor ink = rgb(t.mark);
    switch (t.markKind) {
    case MarkKind::Tick: {
        QPainterPath tick;
        tick.moveTo(box.left() + box.width() * 0.15, box.top() + box.height() * 0.55);
        tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.8);
        tick.lineTo(box.left() + box.width() * 0.88, box.top() + box.height() * 0.2);
        p.setPen(QPen(ink, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case MarkKind::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(box.center(), box.width() * 0.28, box.height() * 0.28);
        break;
    case MarkKind::Cross:
        p.setPen(QPen(ink, weight, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(box.topLeft() + QPointF(box.width() * 0.22, box.height() * 0.22),
                   box.bottomRight() - QPointF(box.width() * 0.22, box.height() * 0.22));
        p.drawLine(box.topRight() + QPointF(-box.width() * 0.22, box.height() * 0.22),
                   box.bottomLeft() + QPointF(box.width() * 0.22, -box.height() * 0.22));
        break;
    }
}

QImage menuCheck(const ThemeColours &t)
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    prepare(p);
    drawMark(p, t, QRectF(2, 2, 12, 12), 2.2);
    return image;
}

// Radio and check indicators sit on the window's colour (the settings window's own background
// is light), so they carry their own field and outline.
QImage indicator(const ThemeColours &t, bool round, bool on)
{
    QImage image = blankImage(13, 13);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0.5, 0.5, 12, 12);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, mix(QColor(255, 255, 255), rgb(t.handleTop), 0.35));
    p.setPen(QPen(rgb(t.handleBottom), 1));
    p.setBrush(g);
    if (round)
        p.drawEllipse(box);
    else
        p.drawRoundedRect(box, qMin<qreal>(t.handleRadius, 2), qMin<qreal>(t.handleRadius, 2));
    if (!on)
        return image;
    if (round) {
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(t.mark));
        p.drawEllipse(box.center(), 3.2, 3.2);
    } else {
        drawMark(p, t, box.adjusted(1, 1, -1, -1), 1.8);
    }
    return image;
}

} // namespace

bool writeThemeImages(const QString &folder, QStringList &errors)
{
    int written = 0;
    for (const ThemeColours &t : themeColours()) {
        ArtWriter w(QDir(folder).filePath(QString::fromLatin1(t.folder)));
        w.write(QStringLiteral("handle-v"), handle(t, true), QSize(12, 32));
        w.write(QStringLiteral("handle-h"), handle(t, false), QSize(32, 12));
        w.write(QStringLiteral("check"), menuCheck(t), QSize(16, 16));
        w.write(QStringLiteral("radio-on"), indicator(t, true, true), QSize(13, 13));
        w.write(QStringLiteral("radio-off"), indicator(t, true, false), QSize(13, 13));
        w.write(QStringLiteral("checkbox-on"), indicator(t, false, true), QSize(13, 13));
        w.write(QStringLiteral("checkbox-off"), indicator(t, false, false), QSize(13, 13));
        errors << w.errors();
        written += w.count();
    }
    return errors.isEmpty() && written > 0;
}

} // namespace dpx::art
