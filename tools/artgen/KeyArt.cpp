// SPDX-License-Identifier: GPL-3.0-or-later
// Key images: every key of the window in its normal, pressed and hover looks.
#include "Art.h"

#include "ui/PhoneLayout.h"

#include <QtMath>

namespace dpx::art {

namespace {

const CapStyle LightKey{QColor(242, 244, 246), QColor(204, 208, 214), ink::Dark,
                        QColor(255, 255, 255, 150), 5};
const CapStyle DarkKey{QColor(92, 97, 105), QColor(62, 66, 72), ink::Light, QColor(0, 0, 0, 150),
                       4};
const CapStyle NavKey{QColor(84, 89, 97), QColor(56, 60, 66), ink::Light, QColor(0, 0, 0, 150), 4};

enum class Family { Dial, Soft, Function, Cluster, Top, NavUp, NavDown, NavLeft, NavRight, NavOk };

struct KeySpec {
    int id;
    Family family;
    const char *text;
    const char *sub = nullptr; // letters under a digit
};

const KeySpec Keys[] = {
    {1057, Family::Soft, ""},        {1058, Family::Soft, ""},       {1059, Family::Soft, ""},
    {1061, Family::Function, "MENU"}, {1113, Family::Function, "HOLD"},
    {1114, Family::Function, "TRANS"}, {1062, Family::Function, "BACK"},
    {1063, Family::Function, "REDIAL"}, {1064, Family::Function, "CONF"},
    {1094, Family::NavUp, ""},       {1095, Family::NavDown, ""},    {1097, Family::NavLeft, ""},
    {1096, Family::NavRight, ""},    {1098, Family::NavOk, "OK"},
    {1048, Family::Function, "FEATURE"},
    {1035, Family::Dial, "1", ""},   {1010, Family::Dial, "2", "ABC"},
    {1036, Family::Dial, "3", "DEF"}, {1037, Family::Dial, "4", "GHI"},
    {1038, Family::Dial, "5", "JKL"}, {1039, Family::Dial, "6", "MNO"},
    {1040, Family::Dial, "7", "PQRS"}, {1041, Family::Dial, "8", "TUV"},
    {1042, Family::Dial, "9", "WXYZ"}, {1043, Family::Dial, "*", nullptr},
    {1044, Family::Dial, "0", "OPER"}, {1045, Family::Dial, "#", nullptr},
    {1068, Family::Function, "SPEAKER"}, {1069, Family::Function, "MUTE"},
    {1070, Family::Function, "FLASH"},
    {1065, Family::Cluster, "PAGE"}, {1066, Family::Cluster, "PICKUP"},
    {1049, Family::Cluster, "ANSWER"}, {1047, Family::Cluster, "HEADSET"},
    {1142, Family::Top, "i"},        {1143, Family::Top, "\u2013"},  {1144, Family::Top, "\u00d7"},
};

QRect rectOf(int id)
{
    const ControlPlace *place = findControl(id);
    return place ? place->rect : QRect();
}

// The cap's resting outline inside a key image of `size`, leaving two rows for the shadow.
QPainterPath capOutline(QSize size, qreal radius)
{
    return roundedPath(QRectF(0, 0, size.width(), size.height() - 2), radius);
}

// A ring segment of the navigation pad, in the key's own coordinates.
QPainterPath navSegment(int id, qreal startAngle)
{
    const QRect r = rectOf(id);
    const QRectF centreKey = QRectF(rectOf(1098));
    const QPointF c = centreKey.center() - QPointF(r.topLeft());
    constexpr qreal Outer = 36.5, Inner = 20.5;
    QPainterPath ring;
    ring.addEllipse(c, Outer, Outer);
    QPainterPath hole;
    hole.addEllipse(c, Inner, Inner);
    QPainterPath wedge;
    wedge.moveTo(c);
    wedge.arcTo(QRectF(c.x() - 60, c.y() - 60, 120, 120), startAngle, 90);
    wedge.closeSubpath();
    QPainterPath box;
    box.addRect(QRectF(0.5, 0.5, r.width() - 1, r.height() - 2.5));
    return ring.subtracted(hole).intersected(wedge).intersected(box).simplified();
}

void drawArrow(QPainter &p, const QPointF &tip, qreal angleDeg, const QColor &colour)
{
    // A small solid triangle pointing in `angleDeg` (0 = right, 90 = up).
    const qreal a = qDegreesToRadians(angleDeg);
    const QPointF dir(qCos(a), -qSin(a));
    const QPointF side(-dir.y(), dir.x());
    const QPointF base = tip - dir * 5;
    QPainterPath tri;
    tri.moveTo(tip);
    tri.lineTo(base + side * 4.5);
    tri.lineTo(base - side * 4.5);
    tri.closeSubpath();
    p.fillPath(tri.translated(0, -1), QColor(0, 0, 0, 120));
    p.fillPath(tri, colour);
}

QImage paintKey(const KeySpec &spec, CapState state)
{
    const QRect r = rectOf(spec.id);
    QImage image = blankImage(r.width(), r.height());
    QPainter p(&image);
    prepare(p);
    const QString text = QString::fromUtf8(spec.text);
    const QPointF navCentre = QRectF(rectOf(1098)).center() - QPointF(r.topLeft());

    switch (spec.family) {
    case Family::Dial: {
        const QPointF o = drawCap(p, capOutline(r.size(), LightKey.radius), LightKey, state);
        const qreal mid = r.width() / 2.0;
        if (!spec.sub) { // star and hash: one large sign
            const QFont font = pixelFont(text == QLatin1String("*") ? 22 : 16, QFont::Bold);
            const qreal dy = text == QLatin1String("*") ? 4 : 0; // the star sits high in its cell
            drawLabel(p, o + QPointF(mid, 15 + dy), text, font, ink::Dark, LightKey.inkShadow, 1);
        } else {
            drawLabel(p, o + QPointF(mid, 11), text, pixelFont(15, QFont::Bold), ink::Dark,
                      LightKey.inkShadow, 1);
            if (*spec.sub)
                drawLabel(p, o + QPointF(mid, 23), QString::fromUtf8(spec.sub),
                          pixelFont(7, QFont::Bold), ink::Letters, LightKey.inkShadow, 1);
        }
        break;
    }
    case Family::Soft: {
        const QPointF o = drawCap(p, capOutline(r.size(), 4), LightKey, state);
        // A short groove marks the finger's place.
        const QRectF groove(r.width() / 2.0 - 8, 6.5, 16, 2);
        p.fillRect(groove.translated(o), QColor(120, 126, 136));
        p.fillRect(groove.translated(o + QPointF(0, 2)), QColor(255, 255, 255, 160));
        break;
    }
    case Family::Function:
    case Family::Cluster: {
        const bool cluster = spec.family == Family::Cluster;
        const QPointF o = drawCap(p, capOutline(r.size(), DarkKey.radius), DarkKey, state);
        const int px = cluster ? 8 : 7;
        const QPointF centre(r.width() / 2.0, (r.height() - 2) / 2.0);
        drawLabel(p, o + centre, text, pixelFont(px, QFont::Bold, text.size() > 5), ink::Light,
                  DarkKey.inkShadow, -1);
        break;
    }
    case Family::Top: {
        const CapStyle top{QColor(70, 74, 81), QColor(46, 49, 54), ink::Light, {}, 4};
        CapState look = state;
        if (spec.id == 1144 && state == CapState::Over)
            look = CapState::LitRed;
        const QPointF o = drawCap(p, capOutline(r.size(), top.radius), top, look);
        const QPointF centre(r.width() / 2.0, (r.height() - 2) / 2.0);
        if (spec.id == 1142) {
            drawLabel(p, o + centre, text, pixelFont(11, QFont::Bold), ink::Light,
                      QColor(0, 0, 0, 150), -1);
        } else if (spec.id == 1143) {
            p.fillRect(QRectF(qRound(centre.x()) - 4, qRound(centre.y()), 8, 2).translated(o),
                       ink::Light);
        } else {
            p.setPen(QPen(look == CapState::LitRed ? QColor(60, 0, 0) : ink::Light, 1.6));
            const QPointF c = centre + o;
            p.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
            p.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(3.5, -3.5));
        }
        break;
    }
    case Family::NavUp:
    case Family::NavDown:
    case Family::NavLeft:
    case Family::NavRight: {
        static const qreal start[] = {45, 225, 135, 315};
        static const qreal pointing[] = {90, 270, 180, 0};
        const int i = int(spec.family) - int(Family::NavUp);
        const QPointF o = drawCap(p, navSegment(spec.id, start[i]), NavKey, state);
        const qreal a = qDegreesToRadians(pointing[i]);
        const QPointF tip = navCentre + QPointF(qCos(a), -qSin(a)) * 32.5;
        drawArrow(p, tip + o, pointing[i], ink::Light);
        break;
    }
    case Family::NavOk: {
        QPainterPath round;
        round.addEllipse(QRectF(1.5, 0.5, r.width() - 3, r.height() - 3));
        const QPointF o = drawCap(p, round, LightKey, state);
        drawLabel(p, o + QPointF(r.width() / 2.0, (r.height() - 2) / 2.0), text,
                  pixelFont(10, QFont::Bold), ink::Dark, LightKey.inkShadow, 1);
        break;
    }
    }
    return image;
}

// Programmable keys: a light cap whose left end is the lamp window.
QImage paintProgrammableKey(CapState state)
{
    const ControlPlace *key = findLampKey(1);
    const ControlPlace *lamp = findLamp(1);
    const QSize size = key->rect.size();
    QImage image = blankImage(size.width(), size.height());
    QPainter p(&image);
    prepare(p);
    const CapStyle style{QColor(92, 97, 105), QColor(62, 66, 72), ink::Light, {}, 2.5};
    drawCap(p, capOutline(size, style.radius), style, state);
    const QPointF lampAt = QPointF(lamp->rect.topLeft() - key->rect.topLeft());
    drawLens(p, QRectF(lampAt, QSizeF(lamp->rect.size())), LensColour::Off);
    return image;
}

// The left cluster's two special keys: record and do-not-disturb.
QImage paintClusterSpecial(int id, CapState state, bool active)
{
    const QRect r = rectOf(id);
    QImage image = blankImage(r.width(), r.height());
    QPainter p(&image);
    prepare(p);
    const CapState look = active ? (id == 1046 ? CapState::LitRed : CapState::LitAmber) : state;
    const QPointF o = drawCap(p, capOutline(r.size(), DarkKey.radius), DarkKey, look);
    const QPointF centre = o + QPointF(r.width() / 2.0, (r.height() - 2) / 2.0);
    // Light print on the dark and the red cap; dark print on the amber one.
    const bool amber = active && id != 1046;
    const QColor labelInk = amber ? ink::Dark : ink::Light;
    const QColor shadow = amber ? QColor(255, 255, 255, 120) : QColor(0, 0, 0, 150);
    const int dy = amber ? 1 : -1;
    if (id == 1046) {
        const QPointF dot = centre + QPointF(-12, 0);
        p.setPen(QPen(QColor(60, 0, 0), 1));
        p.setBrush(active ? QColor(255, 40, 30) : QColor(220, 40, 36));
        p.drawEllipse(dot, 4.5, 4.5);
        drawLabel(p, centre + QPointF(6, 0), QStringLiteral("REC"), pixelFont(8, QFont::Bold),
                  labelInk, shadow, dy);
    } else {
        drawLabel(p, centre, QStringLiteral("DND"), pixelFont(8, QFont::Bold), labelInk, shadow,
                  dy);
    }
    return image;
}

} // namespace

void writeKeys(ArtWriter &w)
{
    for (const KeySpec &spec : Keys) {
        const QString base = QStringLiteral("key%1").arg(spec.id);
        const QSize size = rectOf(spec.id).size();
        w.write(base + QStringLiteral("_n"), paintKey(spec, CapState::Normal), size);
        w.write(base + QStringLiteral("_d"), paintKey(spec, CapState::Down), size);
        w.write(base + QStringLiteral("_o"), paintKey(spec, CapState::Over), size);
    }
    const QSize prog = findLampKey(1)->rect.size();
    w.write(QStringLiteral("331"), paintProgrammableKey(CapState::Normal), prog);
    w.write(QStringLiteral("333"), paintProgrammableKey(CapState::Down), prog);
    w.write(QStringLiteral("332"), paintProgrammableKey(CapState::Over), prog);
    w.write(QStringLiteral("543"), paintProgrammableKey(CapState::LitRed), prog);
    w.write(QStringLiteral("544"), paintProgrammableKey(CapState::LitGreen), prog);

    const QSize dnd = rectOf(1067).size();
    w.write(QStringLiteral("325"), paintClusterSpecial(1067, CapState::Normal, false), dnd);
    w.write(QStringLiteral("315"), paintClusterSpecial(1067, CapState::Down, false), dnd);
    w.write(QStringLiteral("326"), paintClusterSpecial(1067, CapState::Over, false), dnd);
    w.write(QStringLiteral("390"), paintClusterSpecial(1067, CapState::Normal, true), dnd);
    const QSize rec = rectOf(1046).size();
    w.write(QStringLiteral("328"), paintClusterSpecial(1046, CapState::Normal, false), rec);
    w.write(QStringLiteral("330"), paintClusterSpecial(1046, CapState::Down, false), rec);
    w.write(QStringLiteral("329"), paintClusterSpecial(1046, CapState::Over, false), rec);
    w.write(QStringLiteral("327"), paintClusterSpecial(1046, CapState::Normal, true), rec);
}

} // namespace dpx::art
