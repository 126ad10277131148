// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <array>
#include <functional>

class QMenu;
class QSoundEffect;

namespace dpx {

// A push button drawn from one or two images with a transparent colour: image 0 while hovered,
// pressed or checked, image 1 (when there is one) otherwise. Flat by default (a border only
// while hovered or pressed), six state colours, an optional copy of the parent's background
// under it, and as options a check box, a menu, a link, a cursor and hover/click sounds.
// Drawing is split into steps that a subclass may replace.
class ImageButton : public QPushButton {
    Q_OBJECT
public:
    enum Result { Ok = 0, ImageUnreadable = 1, MaskFailed = 2, BadColorIndex = 3, BadStyle = 6 };
    enum ColorIndex { BackHot = 0, TextHot, BackIdle, TextIdle, BackFocus, TextFocus, ColorCount };
    enum class ImageAlign { Left = 0, Above = 1, Right = 2 };
    static constexpr int MaxTipWidth = 400;
    static constexpr int MaxLinkBytes = 260;
    static constexpr QPoint ImageOrigin{3, 3};

    explicit ImageButton(QWidget *parent = nullptr);
    ~ImageButton() override;

    // Image 0 and an optional image 1 with their transparent colours. Ok, ImageUnreadable when
    // an image is empty, MaskFailed when no mask could be made (then no image is kept).
    int LoadImages(const QImage &image0, QColor transparent0, const QImage &image1 = {},
                   QColor transparent1 = {});
    // The same with the program's numbered images (0 = none for the second).
    int LoadImages(int bitmapId0, QColor transparent0, int bitmapId1 = 0, QColor transparent1 = {});

    void SetFlatLook(bool flat, bool repaint = true);
    // 0: pressed images move by (1, 1); 1: by (0, 2); anything else gives BadStyle.
    int SetPressOffsetStyle(int style, bool repaint = true);
    // For check-box buttons only.
    void SetChecked(bool checked, bool repaint = true);
    void ResetColors(bool repaint = true);
    int SetStateColor(int index, QColor color, bool repaint = true);
    void SetTipText(const QString &text, bool activate);
    void UseParentBackground(bool repaint = true);
    void SetLinkTarget(const QString &target);
    // A menu shown under the button on a click; `beforeShow` is told first.
    void SetMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow = {});
    // Sound files played on hover and click (empty: none).
    void SetSounds(const QString &hoverSound, const QString &clickSound);
    void SetImageAlignment(ImageAlign align);
    void SetDrawBorder(bool draw);
    void SetCheckBox(bool checkBox) { setCheckable(checkBox); }
    // Off (the default): the button lights under the mouse only while the application is
    // active; on: also while another program is. Mouse moves are followed in both cases, so a
    // button under the cursor lights with the first move after the application comes forward.
    void SetTrackAlways(bool always);

    bool isFlat() const { return m_flat; }
    bool isHovering() const { return m_hovering; }
    bool isPressedLook() const;
    QPoint pressOffset() const { return m_pressOffset; }
    QColor stateColor(int index) const { return m_colors.at(size_t(index)); }
    QString tipText() const { return m_tipText; }
    bool isTipActive() const { return m_tipActive; }
    QString linkTarget() const { return m_link; }
    bool isMenuShown() const { return m_menuShown; }
    // The image drawn in the present state: 0, 1, or -1 when there is none.
    int shownImage() const;
    // The mask of an image: white where the transparent colour was, black elsewhere.
    const QImage &mask(int image) const { return m_masks.at(size_t(image)); }
    bool hasCapturedBackground() const { return !m_background.isNull(); }

    // Hover as the mouse gives it (also for tests and scripts).
    void setHovering(bool hovering);

Q_SIGNALS:
    void menuCommand(QAction *action);

protected:
    // The drawing steps, in order.
    virtual void drawItem(QPainter &painter);
    virtual void drawBackground(QPainter &painter, QRect &rect);
    virtual void drawBorder(QPainter &painter, const QRect &rect);
    virtual void drawIconImage(QPainter &painter, const QRect &rect);
    virtual void drawBitmapImage(QPainter &painter, const QRect &rect);
    virtual void drawText(QPainter &painter, const QRect &rect);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void nextCheckState() override;

private:
    void onClicked();
    // The mouse entered or moved (inside: over the button): it lights when the rules allow.
    void trackHover(bool inside);
    void playSound(QSoundEffect *&effect, const QString &file);
    QRect imageRect(const QRect &rect, QSize imageSize) const;
    void dropImages();

    bool m_flat = true;
    bool m_hovering = false;
    bool m_parentBackground = false;
    bool m_drawBorder = true;
    bool m_trackAlways = false;
    bool m_menuShown = false;
    ImageAlign m_align = ImageAlign::Left;
    QPoint m_pressOffset{1, 1};
    std::array<QColor, ColorCount> m_colors;
    std::array<QPixmap, 2> m_images;
    std::array<QImage, 2> m_masks;
    QString m_tipText;
    bool m_tipActive = false;
    QString m_link;
    QPointer<QMenu> m_menu;
    std::function<void(QMenu *)> m_beforeMenu;
    QString m_hoverSoundFile;
    QString m_clickSoundFile;
    QSoundEffect *m_hoverSound = nullptr;
    QSoundEffect *m_clickSound = nullptr;
    QPixmap m_background;
};

} // namespace dpx
