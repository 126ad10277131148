// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPixmap>
#include <QPushButton>

#include <array>

namespace dpx {

// A push button drawn from a strip of equal-width images (normal, pressed, disabled, focused,
// in that order), each stretched to the button as a nine-slice: the corners keep their size,
// the edges stretch along their length and the centre both ways. The state images are rebuilt
// whenever the button's size or device pixel ratio changes. The caption is drawn in "Arial",
// black on the bitmap (grey when disabled) whatever the look, moved 5 pixels to the right while the button is pressed.
class SkinBitmapButton : public QPushButton {
    Q_OBJECT
public:
    enum Image { Normal = 0, Pressed = 1, Disabled = 2, Focused = 3 };
    static constexpr int StateImageCount = 4;
    static constexpr int PressedCaptionShift = 5;

    explicit SkinBitmapButton(QWidget *parent = nullptr);
    SkinBitmapButton(const QString &caption, QWidget *parent = nullptr);

    // Takes the strip of `imageCount` images side by side and the border widths. False (and
    // the button keeps its plain look) when the strip is empty, holds fewer than four images,
    // or the count does not fit its width. Borders wider than half an image are cut to that.
    bool SetUp(const QPixmap &strip, int imageCount, int top, int bottom, int left, int right);
    // The same with one of the program's numbered images.
    bool SetUp(int bitmapId, int imageCount, int top, int bottom, int left, int right);

    bool isSetUp() const { return !m_images[Normal].isNull(); }
    QMargins borders() const { return m_borders; }
    // The image the button shows in its present state.
    Image currentImage() const;
    // State image `image` for a button of `size` at a device pixel ratio (corners keep their
    // size in device-independent pixels).
    QPixmap stateImage(Image image, QSize size, qreal ratio = 1) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuildIfNeeded();

    std::array<QPixmap, StateImageCount> m_images;
    QMargins m_borders;
    std::array<QPixmap, StateImageCount> m_built;
    QSize m_builtSize;
    qreal m_builtRatio = 0;
};

} // namespace dpx
