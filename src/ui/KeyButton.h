// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRegion>

namespace dpx {

// A telephone key drawn from images, one per state: normal, down (held), over (hovered),
// disabled and focus, optionally shaped by a mask image.
// While the key is held, the down image follows the cursor on and off the key, and a release
// off the key sends no click. A key can also act as a check box or as a radio button; radio
// keys with the same parent and group ID exclude each other.
// Tool tips need nothing of the key: QWidget::setToolTip works as for any widget.
class KeyButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(Kind kind READ kind WRITE setKind)
    Q_PROPERTY(int groupId READ groupId WRITE setGroupId)

public:
    enum class Kind { PushButton, CheckBox, RadioButton };
    Q_ENUM(Kind)

    // How an image covers the key.
    enum DrawMode { DrawCopy = 0, DrawStretch = 1, DrawTile = 2 };

    explicit KeyButton(QWidget *parent = nullptr);

    // Image names: "<name>" loads ":/art/<name>.png"; a name starting with "/" or ":" (or any
    // absolute path) is loaded as a file path as it is. Empty or "0" means no image; no disabled
    // image means the normal one. The draw mode is clamped to 0..2, the margin to 0 or more.
    // A mask gives the key its shape (its non-white pixels); with DrawCopy the key also takes
    // the mask's size, keeping its position. A mask that cannot be loaded or is all white
    // leaves the key rectangular.
    void SetSkin(const QString &normal, const QString &down, const QString &over,
                 const QString &disabled = QString(), const QString &focus = QString(),
                 const QString &mask = QString(), int drawMode = DrawCopy, bool border = false,
                 int margin = 0);

    // Check boxes toggle and radio buttons set on click and Space; a push button is never
    // checked. Setting a radio button unchecks the others of its group.
    void SetCheck(bool checked);
    bool GetCheck() const { return isChecked(); }

    void setKind(Kind kind);
    Kind kind() const { return m_kind; }
    void setGroupId(int id) { m_groupId = id; }
    int groupId() const { return m_groupId; }

    // The caption colour; the palette's button text until set.
    void setTextColour(const QColor &colour);
    QColor textColour() const;

    QString normalImageName() const { return m_names[Normal]; }
    bool isHovered() const { return m_hover; }
    int drawMode() const { return m_drawMode; }
    bool hasBorder() const { return m_border; }
    int focusMargin() const { return m_focusMargin; }
    // The key's shape from its mask; empty when the key is rectangular.
    QRegion shapeRegion() const { return m_shape; }
    QSize sizeHint() const override;

    // The union of one-pixel-high rectangles over the runs of non-white pixels of each row;
    // fully transparent pixels count as white.
    static QRegion regionFromMask(const QImage &mask);

public Q_SLOTS:
    // Clears the checked flag; sent to the other radio buttons of a group.
    void Uncheck();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;

private:
    enum Image { Normal, Down, Over, Disabled, Focus, Mask, ImageCount };

    void setHover(bool hover);
    void applyMask();
    void uncheckGroupSiblings();
    void drawImage(QPainter &painter, Image which) const;
    QPixmap maskedImage(Image which) const;
    void drawCaption(QPainter &painter, const QRect &rect, const QColor &colour) const;

    QPixmap m_images[ImageCount];
    QString m_names[ImageCount];
    QImage m_maskImage;
    QRegion m_shape;
    mutable QHash<int, QPixmap> m_maskedCache; // by image, at the current size
    int m_drawMode = DrawStretch;
    bool m_border = false;
    int m_focusMargin = 0;
    QColor m_textColour;
    Kind m_kind = Kind::PushButton;
    int m_groupId = 0;
    bool m_hover = false;
    bool m_buttonDown = false; // a left press on the key is being followed
};

} // namespace dpx
