// SPDX-License-Identifier: GPL-3.0-or-later
// Shared drawing kit of the art generator: colours, fonts, key caps and the PNG writer.
#pragma once

#include <QColor>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace dpx::art {

// The colour that is cut out of the window's shape; nothing but the outside may use it.
inline const QColor KeyColour(0, 108, 255);

namespace ink {
inline const QColor Outline(14, 15, 17);
inline const QColor Dark(28, 31, 36);
inline const QColor Letters(84, 90, 100);
inline const QColor Light(238, 241, 245);
inline const QColor Engraved(128, 134, 144);
} // namespace ink

// An empty (fully transparent) 32-bit image.
QImage blankImage(int width, int height);
QImage filledImage(int width, int height, const QColor &colour);

// A sans-serif font at an exact pixel size, hinted for crisp small text.
QFont pixelFont(int pixels, int weight = QFont::Bold, bool condensed = false);

// Painter with antialiasing on, as every drawing here wants.
void prepare(QPainter &painter);

// A rounded rectangle on the half-pixel grid, so that 1-px strokes land on whole pixels.
QPainterPath roundedPath(const QRectF &pixels, qreal radius);

// How a key cap looks: face gradient, outline and label ink.
struct CapStyle {
    QColor faceTop;
    QColor faceBottom;
    QColor ink;
    QColor inkShadow; // emboss colour under (light keys) or over (dark keys) the label
    qreal radius = 3;
};

enum class CapState { Normal, Over, Down, LitRed, LitGreen, LitAmber };

// Draws a cap whose resting shape is `shape` (half-pixel path). Down caps sit 1 px lower and
// lose their drop shadow. Returns the offset to apply to the cap's contents.
QPointF drawCap(QPainter &painter, const QPainterPath &shape, const CapStyle &style, CapState state);

// Text centred on `centre` (its visual centre: cap height for capitals, x-height otherwise).
void drawLabel(QPainter &painter, const QPointF &centre, const QString &text, const QFont &font,
               const QColor &colour, const QColor &emboss, int embossDy);

// Writes PNGs into one folder and remembers every failure.
class ArtWriter {
public:
    explicit ArtWriter(const QString &folder);
    void write(const QString &name, const QImage &image, QSize expected = {});
    bool ok() const { return m_errors.isEmpty(); }
    const QStringList &errors() const { return m_errors; }
    int count() const { return m_count; }
    QString path(const QString &name) const;

private:
    QDir m_dir;
    QStringList m_errors;
    int m_count = 0;
};

QColor mix(const QColor &a, const QColor &b, qreal t);

// A top-to-bottom gradient from a at `top` to b at `bottom`.
QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor &a, const QColor &b);

} // namespace dpx::art
