// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LcdPanel.h"

#include "ui/Art.h"

#include <QPainter>

namespace dpx {

namespace {
constexpr int TextX = 55;
constexpr int Line1Y = 5;
constexpr int Line2Y = 30;
constexpr int LineWordX[3] = {62, 125, 190};
constexpr int ClockWordX[3] = {57, 125, 195};
constexpr int WholeLineX[1] = {TextX};
}

LcdPanel::LcdPanel(QWidget *parent)
    : QWidget(parent), m_background(artPixmap(QStringLiteral("511")))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(m_background.isNull() ? QSize(287, 60) : m_background.size());
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPointSizeF(13.5);
    m_canvas = m_background;
}

void LcdPanel::showLines(const QString &line1, int blockStart, int blockLength,
                         const QStringList &softKeys)
{
    draw(line1, blockStart, blockLength, softKeys.mid(0, 3), LineWordX);
}

void LcdPanel::showLinesWhole(const QString &line1, int blockStart, int blockLength,
                              const QString &line2)
{
    // Blank cells doubled, as line 1 draws them: the font's blank is narrow.
    draw(line1, blockStart, blockLength, {QString(line2).replace(u' ', QStringLiteral("  "))},
         WholeLineX);
}

void LcdPanel::showNotice(const QString &line1, const QString &line2)
{
    draw(line1, 0, 0, {line2}, WholeLineX);
}

void LcdPanel::showClock(const QString &clock, const QStringList &softKeys)
{
    draw(clock, 0, 0, softKeys.mid(0, 3), ClockWordX);
}

void LcdPanel::draw(const QString &line1, int blockStart, int blockLength,
                    const QStringList &line2Parts, const int *partX)
{
    m_canvas = m_background.isNull() ? QPixmap(size()) : m_background.copy();
    if (m_background.isNull())
        m_canvas.fill(QColor(160, 180, 150));
    QPainter painter(&m_canvas);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(m_font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter.drawText(QRect(TextX, Line1Y, width() - TextX, metrics.height()), flags, line1);
    if (blockLength > 0) {
        // The cursor cell is a solid block over the glyph that stands for it.
        const int x = TextX + 2 + metrics.horizontalAdvance(line1.left(blockStart));
        const int w = metrics.horizontalAdvance(line1.mid(blockStart, blockLength));
        painter.fillRect(QRect(x, Line1Y, w, metrics.height()), Qt::black);
    }
    for (int i = 0; i < line2Parts.size(); ++i)
        painter.drawText(QRect(partX[i], Line2Y, width() - partX[i], metrics.height()), flags,
                         line2Parts.at(i));
    painter.end();
    update();
}

void LcdPanel::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_canvas);
}

} // namespace dpx
