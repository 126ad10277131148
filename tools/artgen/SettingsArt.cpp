// SPDX-License-Identifier: GPL-3.0-or-later
// Background of the phone settings window. The window stretches it over its client area and
// writes black labels on it, so it stays light and smooth (no detail that stretching would
// blur), with a quiet band at the top and a faint telephone in the lower right corner.
#include "Art.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace dpx::art {

QImage paintSettingsBackground()
{
    constexpr int W = 340, H = 340;
    QImage image = filledImage(W, H, QColor(240, 243, 247));
    QPainter p(&image);
    prepare(p);
    QLinearGradient body(0, 0, 0, H);
    body.setColorAt(0, QColor(250, 251, 253));
    body.setColorAt(1, QColor(226, 232, 240));
    p.fillRect(QRect(0, 0, W, H), body);

    // A soft light from the upper left.
    QRadialGradient glow(QPointF(W * 0.2, H * 0.1), W * 0.9);
    glow.setColorAt(0, QColor(255, 255, 255, 120));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, W, H), glow);

    // The telephone's graphite as a thin cap line and a pale steel band under it.
    p.fillRect(QRect(0, 0, W, 3), QColor(46, 52, 62));
    QLinearGradient band(0, 3, 0, 10);
    band.setColorAt(0, QColor(176, 190, 210));
    band.setColorAt(1, QColor(176, 190, 210, 0));
    p.fillRect(QRect(0, 3, W, 7), band);

    // Watermark: the outline of a desk telephone, barely darker than the paper.
    p.save();
    p.translate(W - 118, H - 100);
    p.scale(1.6, 1.6);
    p.setOpacity(0.07);
    drawTelephoneBody(p, false);
    drawTelephoneHandset(p, false);
    p.restore();

    // A hairline frame so the window's edge reads on a light desktop.
    p.setPen(QPen(QColor(150, 160, 176), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, W - 1, H - 1));
    return image;
}

} // namespace dpx::art
