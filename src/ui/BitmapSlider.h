// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace dpx {

// A slider drawn from images: a channel, and a thumb that follows the mouse and the keys.
// Dragging reports every new position with sliderMoved; the release that ends a drag, and
// every key that changes the position, report with sliderReleased. Both carry the control ID.
// The channel's active image fills the part from the minimum end (left, or top) to the thumb.
class BitmapSlider : public QWidget {
    Q_OBJECT

public:
    static constexpr int PageSize = 20;

    explicit BitmapSlider(int controlId = 0, QWidget *parent = nullptr);
    explicit BitmapSlider(QWidget *parent) : BitmapSlider(0, parent) {}

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }
    // Which part of the channel shows the active image: from the minimum end up to the thumb
    // (the default) or from the thumb to the maximum end.
    void setActiveTowardsMaximum(bool towardsMaximum) { m_activeTowardsMaximum = towardsMaximum; update(); }

    // Image names as for KeyButton (":/art/<name>.png", or a path starting with "/" or ":").
    // An empty normal image removes the channel and succeeds. With transparent set, pixels of
    // the given colour are not drawn; an invalid colour means the colour of pixel (x, y).
    // False when an image cannot be loaded; the channel is then left without images.
    // The slider takes the channel's size, keeping its position.
    bool SetBitmapChannel(const QString &normal, const QString &active = QString(),
                          bool transparent = false, const QColor &colour = QColor(), int x = 0,
                          int y = 0);
    // The same for the thumb. Without a channel image the channel is the slider's own area.
    bool SetBitmapThumb(const QString &normal, const QString &active = QString(),
                        bool transparent = false, const QColor &colour = QColor(), int x = 0,
                        int y = 0);

    // The position is brought into the new range.
    void SetRange(int minimum, int maximum, bool redraw = false);
    int GetRangeMin() const { return m_minimum; }
    int GetRangeMax() const { return m_maximum; }
    // Clamps to the maximum, then to the minimum, and repaints.
    void SetPos(int position);
    int GetPos() const { return m_position; }
    void SetMargin(int left, int top, int right, int bottom);
    QMargins margin() const { return m_margin; }
    void SetDrawFocusRect(bool draw, bool redraw = true);
    bool drawsFocusRect() const { return m_drawFocusRect; }
    // Horizontal unless set; a vertical slider has its minimum at the top.
    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const { return m_orientation; }

    // Geometry along the slider (x, or y when vertical), in slider pixels.
    int thumbCentreForPos(int position) const;
    int posForThumbCentre(int centre) const;
    int thumbCentre() const { return thumbCentreForPos(m_position); }
    // Where the thumb is drawn: centred on the thumb centre along the slider, and across it
    // centred between the two other margins.
    QRect thumbRect() const;
    bool isDragging() const { return m_dragging; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void sliderMoved(int controlId, int position);
    void sliderReleased(int controlId, int position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Images {
        QPixmap normal;
        QPixmap active;
    };
    static bool loadImages(Images &images, const QString &normal, const QString &active,
                           bool transparent, const QColor &colour, int x, int y);

    bool horizontal() const { return m_orientation == Qt::Horizontal; }
    QSize channelSize() const;
    int channelLength() const;
    int thumbLength() const;
    int marginBefore() const;
    int marginAfter() const;
    int along(const QPoint &point) const { return horizontal() ? point.x() : point.y(); }
    void dragTo(int mouse);

    int m_controlId = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QMargins m_margin;
    Images m_channel;
    Images m_thumb;
    int m_mouseOffset = 0; // where inside the thumb the mouse holds it, from its centre
    bool m_drawFocusRect = true;
    bool m_dragging = false;
    bool m_activeTowardsMaximum = false;
};

} // namespace dpx
