// SPDX-License-Identifier: GPL-3.0-or-later
// The phone body: graphite shell, display housing, speaker grille, key deck and recesses.
#include "Art.h"

#include "ui/PhoneLayout.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace dpx::art {

namespace {

constexpr int W = MainWindowWidth;
constexpr int H = MainWindowHeight;
const QRectF Shell(1, 1, W - 2, H - 2);
constexpr qreal ShellRadius = 26;

const QColor ShellTop(60, 63, 69);
const QColor ShellBottom(38, 40, 44);
const QColor Rim(16, 17, 19);
const QColor Well(20, 22, 25);

QRect placeOf(int id)
{
    const ControlPlace *place = findControl(id);
    return place ? place->rect : QRect();
}

QPainterPath shellPath()
{
    QPainterPath path;
    path.addRoundedRect(Shell, ShellRadius, ShellRadius);
    return path;
}

// A recess: darker floor, shade along its upper edge, a light lip along its lower edge.
void recess(QPainter &p, const QPainterPath &shape, const QColor &floor, qreal shade = 1)
{
    p.save();
    p.setPen(Qt::NoPen);
    // Lip: the surface catches light just below the recess's lower edge.
    p.fillPath(shape.translated(0, 1).subtracted(shape), QColor(255, 255, 255, 34));
    p.fillPath(shape, floor);
    p.setClipPath(shape);
    p.fillPath(shape.subtracted(shape.translated(0, 3)), QColor(0, 0, 0, int(70 * shade)));
    p.fillPath(shape.subtracted(shape.translated(0, 1.5)), QColor(0, 0, 0, int(90 * shade)));
    p.fillPath(shape.subtracted(shape.translated(1.5, 0)), QColor(0, 0, 0, int(40 * shade)));
    p.restore();
}

// A raised plate: its own gradient, a highlight along its top edge and a shadow below.
void plate(QPainter &p, const QPainterPath &shape, const QColor &top, const QColor &bottom)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(shape.translated(0, 2).subtracted(shape), QColor(0, 0, 0, 70));
    p.fillPath(shape.translated(-1, 0).subtracted(shape), QColor(0, 0, 0, 40));
    const QRectF box = shape.boundingRect();
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(shape, g);
    p.fillPath(shape.subtracted(shape.translated(0, 1)), QColor(255, 255, 255, 48));
    p.restore();
}

void paintShell(QPainter &p)
{
    const QPainterPath shell = shellPath();
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, ShellTop);
    g.setColorAt(1, ShellBottom);
    p.fillPath(shell, g);
    // A broad soft sheen from the upper left, as on satin plastic.
    QRadialGradient sheen(QPointF(110, 60), 420);
    sheen.setColorAt(0, QColor(255, 255, 255, 22));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(shell, sheen);
    // The lower edge turns away from the light: a soft dark band gives the shell its thickness.
    p.fillPath(shell.subtracted(shell.translated(0, -6)), QColor(0, 0, 0, 60));
    p.fillPath(shell.subtracted(shell.translated(0, -3)), QColor(0, 0, 0, 50));
    // Rim: dark edge, then a thin highlight that is strongest along the top.
    p.strokePath(shell, QPen(Rim, 3));
    QPainterPath inner;
    inner.addRoundedRect(Shell.adjusted(2, 2, -2, -2), ShellRadius - 2, ShellRadius - 2);
    QLinearGradient rimLight(0, 0, 0, H);
    rimLight.setColorAt(0, QColor(255, 255, 255, 70));
    rimLight.setColorAt(0.3, QColor(255, 255, 255, 18));
    rimLight.setColorAt(1, QColor(255, 255, 255, 6));
    p.strokePath(inner, QPen(QBrush(rimLight), 1));
}

void paintConsole(QPainter &p)
{
    // The left console: a shallow recessed panel carrying the folder bar and its controls.
    QPainterPath console;
    console.addRoundedRect(QRectF(12.5, 12.5, 161, 562), 16, 16);
    recess(p, console, QColor(40, 42, 46), 0.8);

    const QRect bar = placeOf(254);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(bar).adjusted(-4.5, -4.5, 4.5, 4.5), 5, 5);
    recess(p, frame, Well);

    // Slider well and the printed volume marks.
    const QRect slider = placeOf(1084);
    const QFont small = pixelFont(8, QFont::Bold);
    drawLabel(p, QPointF(slider.left() + 4, slider.top() - 7), QStringLiteral("+"), small,
              ink::Engraved, QColor(0, 0, 0, 120), -1);
    drawLabel(p, QPointF(slider.center().x() + 1, slider.top() - 7), QStringLiteral("VOLUME"),
              pixelFont(7, QFont::Bold), ink::Engraved, QColor(0, 0, 0, 120), -1);
    drawLabel(p, QPointF(slider.right() - 4, slider.top() - 7), QStringLiteral("\u2013"), small,
              ink::Engraved, QColor(0, 0, 0, 120), -1);

    // Socket of the recording lamp.
    const QRect rec = placeOf(1112);
    QPainterPath socket;
    socket.addEllipse(QRectF(rec).adjusted(-1.5, -1.5, 1.5, 1.5));
    recess(p, socket, Well);
}

void paintDisplayHousing(QPainter &p)
{
    const QRect status = placeOf(512);
    const QRect lcd = placeOf(511);
    const QRect lamp = placeOf(1087);
    const QRectF window = QRectF(status.united(lcd));
    QPainterPath housing;
    housing.addRoundedRect(window.adjusted(-7.5, -7.5, 7.5, 7.5), 9, 9);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(lamp).adjusted(-4.5, -4.5, 4.5, 8), 6, 6);
    housing = housing.united(tab);
    plate(p, housing, QColor(30, 32, 36), QColor(22, 24, 27));
    // Inner bevel of the glass opening.
    QPainterPath opening;
    opening.addRoundedRect(window.adjusted(-2.5, -2.5, 2.5, 2.5), 3, 3);
    recess(p, opening, QColor(8, 9, 10), 1.4);
    QPainterPath lens;
    lens.addRoundedRect(QRectF(lamp).adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);
    recess(p, lens, QColor(8, 9, 10), 1.4);
}

void paintGrille(QPainter &p)
{
    const QRectF slot(214.5, 12.5, 226, 20);
    QPainterPath grille;
    grille.addRoundedRect(slot, 10, 10);
    recess(p, grille, QColor(33, 35, 39), 0.9);
    p.save();
    p.setClipPath(grille);
    p.setPen(Qt::NoPen);
    // Staggered perforation: dark holes with a faint lit lower rim.
    for (int row = 0; row < 4; ++row) {
        const int y = 15 + row * 4;
        for (int x = 224 + (row % 2) * 3; x < 432; x += 6) {
            const QPointF c(x, y + 1);
            if (!grille.contains(c + QPointF(-3, 2)) || !grille.contains(c + QPointF(3, 2)))
                continue;
            p.setBrush(QColor(255, 255, 255, 30));
            p.drawRect(QRectF(x - 1, y + 1, 2, 1));
            p.setBrush(QColor(6, 7, 8));
            p.drawRect(QRectF(x - 1, y - 1, 2, 2));
        }
    }
    p.restore();
}

void paintDeck(QPainter &p)
{
    // The key deck: a slightly lighter plate stepping down from the display housing.
    QPainterPath deck;
    deck.addRoundedRect(QRectF(188.5, 176.5, 330, 430), 14, 14);
    QPainterPath inside;
    inside.addRoundedRect(Shell.adjusted(3, 3, -3, -3), ShellRadius - 3, ShellRadius - 3);
    deck = deck.intersected(inside);
    plate(p, deck, QColor(66, 70, 76), QColor(48, 51, 56));

    // Round well of the navigation pad.
    const QPointF centre = QRectF(placeOf(1098)).center();
    QPainterPath well;
    well.addEllipse(centre, 41, 41);
    recess(p, well, QColor(30, 32, 36), 1.0);
}

void paintMarks(QPainter &p)
{
    // Brand mark on the top band, engraved.
    const QFont brand = pixelFont(15, QFont::Black);
    QFont spaced = brand;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    const QRect soft = placeOf(1059);
    drawLabel(p, QPointF((soft.right() + 496) / 2.0, soft.center().y() + 1), QStringLiteral("DPX"),
              spaced, QColor(150, 156, 166), QColor(0, 0, 0, 150), -1);

    // Socket of the small indicator, with its envelope mark.
    const QRect small = placeOf(1086);
    QPainterPath socket;
    socket.addRoundedRect(QRectF(small).adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
    recess(p, socket, Well);
    p.save();
    p.setPen(QPen(ink::Engraved, 1));
    p.setBrush(Qt::NoBrush);
    const QRectF env(small.right() + 7.5, small.top() + 0.5, 11, 8);
    p.drawRect(env);
    p.drawLine(env.topLeft(), QPointF(env.center().x(), env.center().y() + 1));
    p.drawLine(env.topRight(), QPointF(env.center().x(), env.center().y() + 1));
    p.restore();
}

} // namespace

bool insideSilhouette(int x, int y)
{
    static const QImage mask = [] {
        QImage m(W, H, QImage::Format_Grayscale8);
        m.fill(0);
        QPainter p(&m);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(shellPath(), Qt::white);
        return m;
    }();
    return x >= 0 && y >= 0 && x < W && y < H && mask.pixelColor(x, y).value() > 0;
}

QImage paintBody()
{
    // Paint on an opaque rim-coloured canvas so that antialiased edges blend into the rim,
    // never into the key colour; then cut the outside to the key colour with a hard edge.
    QImage body = filledImage(W, H, Rim);
    {
        QPainter p(&body);
        prepare(p);
        paintShell(p);
        paintConsole(p);
        paintGrille(p);
        paintDisplayHousing(p);
        paintDeck(p);
        paintMarks(p);
    }
    QImage out(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            QColor c = insideSilhouette(x, y) ? body.pixelColor(x, y) : KeyColour;
            if (insideSilhouette(x, y) && c.rgb() == KeyColour.rgb())
                c = c.darker(101); // the key colour never appears inside the phone
            out.setPixelColor(x, y, c);
        }
    }
    return out;
}

} // namespace dpx::art
