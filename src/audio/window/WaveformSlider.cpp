// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/window/WaveformSlider.h"

#include "ui/Art.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace dpx {

namespace {
const QColor Background(44, 48, 56);
const QColor ThumbKey(255, 0, 255);
} // namespace

WaveformSlider::WaveformSlider(int controlId, QWidget *parent) : BitmapSlider(controlId, parent)
{
    m_thumb = artPixmap(QStringLiteral("converter-thumb"));
    if (!m_thumb.isNull())
        m_thumb.setMask(m_thumb.createMaskFromColor(ThumbKey, Qt::MaskInColor));
}

int WaveformSlider::columns() const
{
    return std::max(1, thumbCentreForPos(GetRangeMax()) - thumbCentreForPos(GetRangeMin()) + 1);
}

void WaveformSlider::setWaveform(const Waveform &waveform)
{
    m_waveform = waveform;
    update();
}

void WaveformSlider::setMarks(double from, double to)
{
    m_markFrom = from;
    m_markTo = to;
    update();
}

void WaveformSlider::setMarksDraggable(double maxSpan)
{
    m_maxSpan = maxSpan;
    m_draggedEdge = -1;
}

int WaveformSlider::xForFraction(double fraction) const
{
    return thumbCentreForPos(GetRangeMin()) + int(std::lround(std::clamp(fraction, 0.0, 1.0) * (columns() - 1)));
}

void WaveformSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_maxSpan > 0 && hasMarks()) {
        const int x = event->position().toPoint().x();
        constexpr int Reach = 3;
        if (std::abs(x - xForFraction(m_markFrom)) <= Reach)
            m_draggedEdge = 0;
        else if (std::abs(x - xForFraction(m_markTo)) <= Reach)
            m_draggedEdge = 1;
        if (m_draggedEdge >= 0) {
            event->accept();
            return;
        }
    }
    BitmapSlider::mousePressEvent(event);
}

void WaveformSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (m_draggedEdge < 0) {
        BitmapSlider::mouseMoveEvent(event);
        return;
    }
    const double step = 1.0 / std::max(1, columns() - 1);
    const double at = std::clamp(double(event->position().x() - xForFraction(0)) * step, 0.0, 1.0);
    if (m_draggedEdge == 0) {
        const double lowest = std::max(0.0, m_markTo - m_maxSpan);
        m_markFrom = std::clamp(at, lowest, std::max(lowest, m_markTo - step));
    } else {
        const double highest = std::min(1.0, m_markFrom + m_maxSpan);
        m_markTo = std::clamp(at, std::min(highest, m_markFrom + step), highest);
    }
    update();
    Q_EMIT marksDragged(m_markFrom, m_markTo);
}

void WaveformSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_draggedEdge >= 0 && event->button() == Qt::LeftButton) {
        m_draggedEdge = -1;
        return;
    }
    BitmapSlider::mouseReleaseEvent(event);
}

void WaveformSlider::paintEvent(QPaintEvent *event)
{
    if (m_waveform.isEmpty()) {
        BitmapSlider::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.fillRect(rect(), Background);
    const int x0 = thumbCentreForPos(GetRangeMin());
    const int width = columns();
    const int played = thumbCentre();
    if (m_markTo > m_markFrom) {
        const int from = xForFraction(m_markFrom);
        const int to = xForFraction(m_markTo);
        p.fillRect(QRect(from, 0, std::max(1, to - from + 1), height()), QColor(255, 255, 255, 70));
        p.fillRect(QRect(from, 0, 1, height()), QColor(255, 236, 120));
        p.fillRect(QRect(to, 0, 1, height()), QColor(255, 236, 120));
    }
    const double middle = (height() - 1) / 2.0;
    const double half = middle - 1;
    const qsizetype count = m_waveform.minimum.size();
    for (int i = 0; i < width; ++i) {
        const qsizetype column = std::min<qsizetype>(count - 1, qsizetype(i) * count / width);
        const int top = int(std::floor(middle - m_waveform.maximum.at(column) * half));
        const int bottom = int(std::ceil(middle - m_waveform.minimum.at(column) * half));
        const int x = x0 + i;
        p.fillRect(QRect(x, top, 1, std::max(1, bottom - top + 1)), x <= played ? Played : Ahead);
    }
    if (isEnabled() && !m_thumb.isNull())
        p.drawPixmap(thumbRect().topLeft(), m_thumb);
}

} // namespace dpx
