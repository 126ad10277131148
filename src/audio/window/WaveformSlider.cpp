// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/window/WaveformSlider.h"

#include "ui/Art.h"

#include <QBitmap>
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
        const int from = x0 + int(std::lround(std::clamp(m_markFrom, 0.0, 1.0) * (width - 1)));
        const int to = x0 + int(std::lround(std::clamp(m_markTo, 0.0, 1.0) * (width - 1)));
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
