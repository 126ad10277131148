// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window: its background (138) carries the pictures of every flat button (the
// buttons only add a border while hovered), the list toggle's two arrows (142, 143), the
// convert button's two states (153, 154) and the position slider's channel and thumb.
#include "Art.h"

namespace dpx::art {

namespace {

constexpr int Width = 249;
constexpr int Height = 283;
constexpr int FaceBottom = 88; // the part that stays when the list is hidden
const QColor Face(44, 48, 56);
const QColor FaceLight(74, 80, 92);
const QColor Glyph(226, 232, 240);
const QColor Accent(244, 166, 143);
const QColor SliderBack(216, 226, 253);
const QColor ThumbClear(255, 0, 255);

QFont cjkFont(int pixels)
{
    QFont font = pixelFont(pixels, QFont::Bold);
    font.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")});
    return font;
}

// A small raised key face the button draws its hover border around.
void drawKey(QPainter &p, const QRectF &r, qreal radius = 2.5)
{
    QPainterPath path = roundedPath(r.adjusted(0, 0, -1, -1), radius);
    p.fillPath(path, verticalGradient(r.top(), r.bottom(), QColor(96, 103, 116), QColor(58, 63, 72)));
    p.setPen(QColor(22, 24, 28));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void drawPlayGlyph(QPainter &p, const QPointF &c, qreal size, const QColor &colour)
{
    QPainterPath tri;
    tri.moveTo(c.x() - size * 0.4, c.y() - size / 2);
    tri.lineTo(c.x() + size * 0.6, c.y());
    tri.lineTo(c.x() - size * 0.4, c.y() + size / 2);
    tri.closeSubpath();
    p.fillPath(tri, colour);
}

void drawSpeaker(QPainter &p, const QRectF &r, bool louder)
{
    const qreal cy = r.center().y();
    const qreal x = r.left() + 6;
    QPainterPath cone;
    cone.moveTo(x, cy - 2);
    cone.lineTo(x + 3, cy - 2);
    cone.lineTo(x + 7, cy - 5);
    cone.lineTo(x + 7, cy + 5);
    cone.lineTo(x + 3, cy + 2);
    cone.lineTo(x, cy + 2);
    cone.closeSubpath();
    p.fillPath(cone, Glyph);
    p.setPen(QPen(Glyph, 1.4, Qt::SolidLine, Qt::RoundCap));
    const qreal sx = x + 11;
    p.drawLine(QPointF(sx, cy), QPointF(sx + 6, cy));
    if (louder)
        p.drawLine(QPointF(sx + 3, cy - 3), QPointF(sx + 3, cy + 3));
}

void drawConvertGlyph(QPainter &p, bool stop)
{
    // A round red face: a wave with an arrow to convert, a square to stop.
    prepare(p);
    p.setPen(QColor(80, 20, 14));
    p.setBrush(verticalGradient(0, 18, stop ? QColor(255, 120, 96) : QColor(250, 140, 110),
                                stop ? QColor(200, 40, 28) : QColor(196, 72, 50)));
    p.drawEllipse(QRectF(0.5, 0.5, 17, 17));
    if (stop) {
        p.fillRect(QRectF(5.5, 5.5, 7, 7), QColor(255, 246, 240));
        return;
    }
    p.setPen(QPen(QColor(255, 246, 240), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(3.5, 9);
    wave.cubicTo(5, 4.5, 6.5, 4.5, 8, 9);
    wave.cubicTo(9.5, 13.5, 11, 13.5, 12.5, 9);
    p.drawPath(wave);
    QPainterPath head;
    head.moveTo(12.5, 6.5);
    head.lineTo(15.5, 9);
    head.lineTo(12.5, 11.5);
    p.drawPath(head);
}

QImage paintConvert(bool stop)
{
    QImage image = blankImage(18, 18);
    QPainter p(&image);
    drawConvertGlyph(p, stop);
    return image;
}

void drawTextKey(QPainter &p, const QRect &r, const QString &text)
{
    drawKey(p, r, 3);
    p.setFont(cjkFont(10));
    p.setPen(Glyph);
    p.drawText(r.adjusted(0, 0, 0, -1), Qt::AlignCenter, text);
}

// The texts on the picture come in each language the program speaks.
struct BackgroundTexts {
    QString title, add, remove;
};

QImage paintBackground(const BackgroundTexts &texts)
{
    QImage image = filledImage(Width, Height, QColor(222, 227, 235));
    QPainter p(&image);
    prepare(p);
    // The player face.
    p.fillRect(QRect(0, 0, Width, FaceBottom), verticalGradient(0, FaceBottom, FaceLight, Face));
    p.fillRect(QRect(0, 0, Width, 12), QColor(28, 31, 37));
    p.setFont(cjkFont(9));
    p.setPen(QColor(176, 186, 200));
    p.drawText(QRect(30, 0, 160, 12), Qt::AlignLeft | Qt::AlignVCenter, texts.title);
    // Title-bar buttons: minimise (kept hidden) and close.
    p.setPen(QPen(QColor(190, 198, 210), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(241.5, 2.5), QPointF(246.5, 8.5));
    p.drawLine(QPointF(246.5, 2.5), QPointF(241.5, 8.5));
    // A note before the title.
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawEllipse(QRectF(8, 6.5, 4, 3.5));
    p.drawEllipse(QRectF(15, 5.5, 4, 3.5));
    p.fillRect(QRectF(11.2, 2, 1, 6), Accent);
    p.fillRect(QRectF(18.2, 1.5, 1, 6), Accent);
    p.fillRect(QRectF(11.2, 1.5, 8, 1.2), Accent);

    // The time display: a dark glass the text is written on.
    QPainterPath glass = roundedPath(QRectF(4, 16, 62, 22), 3);
    p.fillPath(glass, QColor(12, 20, 18));
    p.setPen(QColor(100, 108, 120));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);
    // The band right of it names what the window makes.
    p.setFont(pixelFont(9, QFont::DemiBold));
    p.setPen(QColor(150, 160, 176));
    p.drawText(QRect(74, 16, 168, 11), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("WAV · MP3  →  RAW"));
    p.drawText(QRect(74, 27, 168, 11), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("µ-law  16 kHz  mono"));
    // The slider's groove is drawn by the slider itself; a shadow frames it.
    p.fillRect(QRect(14, 41, 229, 18), QColor(20, 22, 26, 120));

    // Transport: open, play, pause, stop.
    drawKey(p, QRectF(17, 64, 18, 12));
    p.fillRect(QRectF(22, 72, 8, 1.5), Glyph); // eject
    QPainterPath eject;
    eject.moveTo(26, 66.5);
    eject.lineTo(30, 70.5);
    eject.lineTo(22, 70.5);
    eject.closeSubpath();
    p.fillPath(eject, Glyph);
    p.setPen(QColor(16, 18, 22));
    p.setBrush(verticalGradient(57, 82, QColor(120, 200, 140), QColor(40, 130, 70)));
    p.drawEllipse(QRectF(37.5, 57.5, 24, 24));
    drawPlayGlyph(p, QPointF(49.5, 69.5), 10, QColor(246, 255, 248));
    drawKey(p, QRectF(64, 63, 18, 12));
    p.fillRect(QRectF(70, 66, 2, 6), Glyph);
    p.fillRect(QRectF(74, 66, 2, 6), Glyph);
    drawKey(p, QRectF(87, 63, 18, 12));
    p.fillRect(QRectF(93, 66, 6, 6), Glyph);
    // Volume.
    p.setFont(pixelFont(8, QFont::DemiBold));
    p.setPen(QColor(150, 160, 176));
    p.drawText(QRect(112, 63, 42, 14), Qt::AlignCenter, QStringLiteral("VOL"));
    drawKey(p, QRectF(156, 63, 29, 14));
    drawSpeaker(p, QRectF(156, 63, 29, 14), false);
    drawKey(p, QRectF(188, 63, 29, 14));
    drawSpeaker(p, QRectF(188, 63, 29, 14), true);
    // Convert.
    p.save();
    p.translate(225, 61);
    drawConvertGlyph(p, false);
    p.restore();
    // The list toggle's own picture is the button's; a rule parts face and list.
    p.fillRect(QRect(0, FaceBottom - 2, Width, 1), QColor(20, 22, 26));
    p.fillRect(QRect(0, FaceBottom - 1, Width, 1), QColor(120, 128, 140));

    // The list's well and the two buttons under it.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(2, 91, 244, 172), Qt::white);
    p.setPen(QColor(150, 158, 170));
    p.drawRect(QRect(1, 90, 245, 173));
    p.setRenderHint(QPainter::Antialiasing, true);
    drawTextKey(p, QRect(3, 266, 37, 15), texts.add);
    drawTextKey(p, QRect(44, 266, 48, 15), texts.remove);
    // Frame.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(20, 22, 26));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, Width - 1, Height - 1));
    return image;
}

// The list toggle: an arrow on black, the transparent colour.
QImage paintToggle(bool showList)
{
    QImage image = filledImage(10, 10, Qt::black);
    QPainter p(&image);
    prepare(p);
    QPainterPath arrow;
    if (showList) { // pointing down: the list comes out
        arrow.moveTo(1.5, 3);
        arrow.lineTo(8.5, 3);
        arrow.lineTo(5, 7.5);
    } else {
        arrow.moveTo(1.5, 7);
        arrow.lineTo(8.5, 7);
        arrow.lineTo(5, 2.5);
    }
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(250, 250, 250));
    return image;
}

QImage paintChannel(bool lit)
{
    QImage image = filledImage(227, 16, Face);
    QPainter p(&image);
    prepare(p);
    QPainterPath groove = roundedPath(QRectF(1, 4, 225, 8), 3);
    p.fillPath(groove, lit ? Accent : SliderBack);
    p.setPen(QColor(18, 20, 24));
    p.setBrush(Qt::NoBrush);
    p.drawPath(groove);
    return image;
}

QImage paintThumb()
{
    QImage image = filledImage(9, 16, ThumbClear);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(1, 1, 7, 14), verticalGradient(0, 16, QColor(250, 251, 253), QColor(170, 176, 186)));
    p.setPen(QColor(18, 20, 24));
    p.drawLine(1, 0, 7, 0);
    p.drawLine(1, 15, 7, 15);
    p.drawLine(0, 1, 0, 14);
    p.drawLine(8, 1, 8, 14);
    p.setPen(QColor(90, 96, 106));
    p.drawLine(4, 4, 4, 11);
    return image;
}

} // namespace

void writeConverterArt(ArtWriter &writer)
{
    writer.write(QStringLiteral("138"),
                 paintBackground({QStringLiteral("音檔轉換器"), QStringLiteral("添加"), QStringLiteral("刪除")}),
                 QSize(Width, Height));
    writer.write(QStringLiteral("138-en"),
                 paintBackground({QStringLiteral("Audio converter"), QStringLiteral("Add"), QStringLiteral("Delete")}),
                 QSize(Width, Height));
    writer.write(QStringLiteral("142"), paintToggle(true), QSize(10, 10));
    writer.write(QStringLiteral("143"), paintToggle(false), QSize(10, 10));
    writer.write(QStringLiteral("153"), paintConvert(false), QSize(18, 18));
    writer.write(QStringLiteral("154"), paintConvert(true), QSize(18, 18));
    writer.write(QStringLiteral("converter-slider"), paintChannel(false), QSize(227, 16));
    writer.write(QStringLiteral("converter-slider-lit"), paintChannel(true), QSize(227, 16));
    writer.write(QStringLiteral("converter-thumb"), paintThumb(), QSize(9, 16));
}

} // namespace dpx::art
