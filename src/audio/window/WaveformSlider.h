// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/Waveform.h"
#include "ui/BitmapSlider.h"

namespace dpx {

// The converter's position slider: once the playing file's waveform is known it draws that
// instead of the plain channel, the played part in the active colour and the rest in the idle
// one, with the part marked for conversion shaded; the thumb stays on top. While marks are
// draggable, a press on either edge moves that edge (never past the other one nor wider than
// the mark limit) instead of the thumb.
class WaveformSlider : public BitmapSlider {
    Q_OBJECT
public:
    static inline const QColor Played{244, 166, 143};
    static inline const QColor Ahead{216, 226, 253};

    explicit WaveformSlider(int controlId, QWidget *parent = nullptr);

    // The drawing width the waveform needs, in columns.
    int columns() const;
    void setWaveform(const Waveform &waveform);
    const Waveform &waveform() const { return m_waveform; }
    // The marked part as fractions of the file (from > to: nothing marked).
    void setMarks(double from, double to);
    void clearMarks() { setMarks(1, 0); }
    bool hasMarks() const { return m_markTo > m_markFrom; }
    double markFrom() const { return m_markFrom; }
    double markTo() const { return m_markTo; }
    // `maxSpan`: the widest the marks may be dragged apart, as a fraction of the file; 0 or
    // less: not draggable.
    void setMarksDraggable(double maxSpan);
    // Where an edge is drawn, in slider pixels (for tests).
    int xForFraction(double fraction) const;

Q_SIGNALS:
    // An edge was dragged; the new marks.
    void marksDragged(double from, double to);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Waveform m_waveform;
    double m_markFrom = 1;
    double m_markTo = 0;
    double m_maxSpan = 0;
    int m_draggedEdge = -1; // 0: start, 1: stop
    QPixmap m_thumb;
};

} // namespace dpx
