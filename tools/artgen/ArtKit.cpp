// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtKit.h"

#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <QLinearGradient>
#include <QRadialGradient>

namespace dpx::art {

QImage blankImage(int width, int height)
{
    return filledImage(width, height, Qt::transparent);
}

QImage filledImage(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

QFont pixelFont(int pixels, int weight, bool condensed)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Weight(weight));
    if (condensed)
        font.setStretch(QFont::SemiCondensed);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainterPath roundedPath(const QRectF &pixels, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(pixels.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t,
                            a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

namespace {

struct Face {
    QColor top;
    QColor bottom;
    QColor glow; // invalid for an unlit cap
};

Face faceFor(const CapStyle &style, CapState state)
{
    const QColor white(255, 255, 255);
    switch (state) {
    case CapState::Normal:
        return {style.faceTop, style.faceBottom, {}};
    case CapState::Over:
        return {mix(style.faceTop, white, 0.35), mix(style.faceBottom, white, 0.22), {}};
    case CapState::Down:
        return {mix(style.faceBottom, Qt::black, 0.12), mix(style.faceTop, Qt::black, 0.08), {}};
    case CapState::LitRed:
        return {QColor(240, 100, 86), QColor(170, 34, 28), QColor(255, 70, 50)};
    case CapState::LitGreen:
        return {QColor(104, 214, 118), QColor(32, 132, 52), QColor(60, 240, 90)};
    case CapState::LitAmber:
        return {QColor(252, 204, 100), QColor(208, 132, 22), QColor(255, 190, 40)};
    }
    return {style.faceTop, style.faceBottom, {}};
}

} // namespace

QPointF drawCap(QPainter &painter, const QPainterPath &shape, const CapStyle &style, CapState state)
{
    const bool down = state == CapState::Down;
    const QPointF offset(0, down ? 1 : 0);
    const Face face = faceFor(style, state);

    painter.save();
    painter.setPen(Qt::NoPen);
    if (!down) {
        painter.fillPath(shape.translated(0, 2), QColor(0, 0, 0, 50));
        painter.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 120));
    }
    const QPainterPath cap = shape.translated(offset);
    const QRectF box = cap.boundingRect();
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, face.top);
    gradient.setColorAt(1, face.bottom);
    painter.fillPath(cap, gradient);
    if (face.glow.isValid()) {
        // Light from behind the key: brightest in the middle, fading to the edges.
        QRadialGradient glow(box.center(), qMax(box.width(), box.height()) * 0.6);
        QColor centre = face.glow;
        centre.setAlpha(90);
        QColor edge = face.glow;
        edge.setAlpha(0);
        glow.setColorAt(0, centre);
        glow.setColorAt(1, edge);
        painter.fillPath(cap, glow);
    }

    // Bevel: a light sliver along the top-facing edges, a shade along the bottom-facing ones.
    const QPainterPath top = cap.subtracted(cap.translated(0, 1.5));
    const QPainterPath bottom = cap.subtracted(cap.translated(0, -1.5));
    painter.fillPath(top, QColor(255, 255, 255, down ? 25 : 120));
    painter.fillPath(bottom, QColor(0, 0, 0, down ? 20 : 55));
    if (state == CapState::Over) {
        QPainterPathStroker stroker;
        stroker.setWidth(2);
        painter.fillPath(stroker.createStroke(cap).intersected(cap), QColor(120, 180, 255, 150));
    }
    painter.strokePath(cap, QPen(ink::Outline, 1));
    painter.restore();
    return offset;
}

void drawLabel(QPainter &painter, const QPointF &centre, const QString &text, const QFont &font,
               const QColor &colour, const QColor &emboss, int embossDy)
{
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    // Whole-pixel baseline and left edge keep the glyph stems crisp.
    const qreal x = qRound(centre.x() - ink.width() / 2 - ink.left());
    const qreal y = qRound(centre.y() - ink.height() / 2 - ink.top());
    painter.save();
    painter.setFont(font);
    if (emboss.isValid() && embossDy != 0) {
        painter.setPen(emboss);
        painter.drawText(QPointF(x, y + embossDy), text);
    }
    painter.setPen(colour);
    painter.drawText(QPointF(x, y), text);
    painter.restore();
}

ArtWriter::ArtWriter(const QString &folder) : m_dir(folder)
{
    if (!m_dir.exists() && !m_dir.mkpath(QStringLiteral(".")))
        m_errors << QStringLiteral("cannot create %1").arg(folder);
}

QString ArtWriter::path(const QString &name) const
{
    return m_dir.filePath(name + QStringLiteral(".png"));
}

void ArtWriter::write(const QString &name, const QImage &image, QSize expected)
{
    if (expected.isValid() && image.size() != expected) {
        m_errors << QStringLiteral("%1: %2x%3, expected %4x%5")
                        .arg(name)
                        .arg(image.width())
                        .arg(image.height())
                        .arg(expected.width())
                        .arg(expected.height());
        return;
    }
    // Opaque pictures are stored without an alpha channel.
    QImage stored = image.convertToFormat(QImage::Format_ARGB32);
    bool opaque = true;
    for (int y = 0; y < stored.height() && opaque; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(stored.constScanLine(y));
        for (int x = 0; x < stored.width(); ++x)
            if (qAlpha(line[x]) != 255) {
                opaque = false;
                break;
            }
    }
    if (opaque)
        stored = stored.convertToFormat(QImage::Format_RGB888);
    if (!stored.save(path(name), "PNG"))
        m_errors << QStringLiteral("%1: cannot write %2").arg(name, path(name));
    else
        ++m_count;
}

QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

} // namespace dpx::art
