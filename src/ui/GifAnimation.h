// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace dpx {

class GifTicker;

// Shows a picture at its natural size and plays it when it is an animated GIF: the lamps
// and indicators of the main window. Frames are cut out of the GIF by the block walker
// (GifFile), decoded one by one and composed on an off-screen canvas, which painting copies.
// The playing controls of a window are driven by one timer, the window's GifTicker.
//
// Usage: LoadFromResource(number), SetBackgroundColor(colour), Play(). Loading unloads the
// old picture first, and unloading sets the background back to white, so set the colour
// after each load. Qt::transparent makes the control see-through where the canvas is clear.
class GifAnimation : public QWidget {
    Q_OBJECT
public:
    // `ticker` moves the animation; the control may outlive it (it then stops moving).
    explicit GifAnimation(GifTicker &ticker, QWidget *parent = nullptr);
    ~GifAnimation() override;

    // ":/art/<number>.gif", or ":/art/<number>.png" when there is no GIF of that number.
    bool LoadFromResource(int number);
    // A GIF (still or animated) or any picture Qt can read (PNG, JPEG, BMP, ...).
    bool LoadFromMemory(const QByteArray &data);
    // Fills the whole canvas with `colour`, then draws the picture shown back over it.
    void SetBackgroundColor(const QColor &colour);
    // Starts the animation, or draws a still picture. False when nothing is loaded.
    bool Play();
    // Ends the animation; the frame shown stays on the canvas.
    void Stop();
    // Stops and forgets the picture; the background becomes white again.
    void Unload();

    bool isLoaded() const { return !m_canvas.isNull(); }
    bool isAnimated() const { return m_frames.size() > 1; }
    bool isPlaying() const { return m_playing; }
    int frameCount() const { return int(m_frames.size()); } // 0 for a still picture
    int currentFrame() const { return m_current; }          // -1 before the first frame
    int frameDelayMs(int index) const;
    QColor backgroundColor() const { return m_background; }
    const QImage &canvas() const { return m_canvas; }

    // Shows the next frame at once (the first one when none has been shown), as if the
    // current frame's time had passed; while playing, the new frame's time starts now.
    void advanceFrame();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    friend class GifTicker;

    struct Frame {
        QImage image; // the frame's own area, not the whole screen
        QRect area;
        int delayMs = 0;
        int disposal = 0;
    };

    void makeCanvas(const QSize &size);
    void fillCanvas(const QRect &area);
    void showFrame(int index);
    void disposeFrame(int index);
    int stepFrame(); // disposes of the current frame, shows the next; returns its time
    void updateOpacity();

    QPointer<GifTicker> m_ticker;
    QImage m_canvas;
    QImage m_still;
    QList<Frame> m_frames;
    QImage m_saved; // what lay under the current frame, when it must be restored
    QColor m_background = Qt::white;
    int m_current = -1;
    bool m_playing = false;
    bool m_stillShown = false;
};

} // namespace dpx
