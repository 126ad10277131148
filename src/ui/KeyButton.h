// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace dpx {

// A telephone key drawn from images: normal, down (held), over (hovered) and disabled.
// While the key is held, the down image follows the cursor on and off the key, and a
// release off the key sends no click.
class KeyButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit KeyButton(QWidget *parent = nullptr);

    // Image names under ":/art/" without ".png"; an empty disabled image means the normal one.
    void SetSkin(const QString &normal, const QString &down, const QString &over,
                 const QString &disabled = QString());

    QString normalImageName() const { return m_names[Normal]; }
    bool isHovered() const { return m_hover; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    enum Image { Normal, Down, Over, Disabled, ImageCount };
    const QPixmap &currentImage() const;

    QPixmap m_images[ImageCount];
    QString m_names[ImageCount];
    bool m_hover = false;
};

// Loads ":/art/<name>.png"; an empty pixmap when the image does not exist.
QPixmap artPixmap(const QString &name);

} // namespace dpx
