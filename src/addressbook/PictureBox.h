// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

namespace dpx {

// The contact editor's picture area: shows one image at its natural size, asks for another on
// a double-click or when an image file is dropped on it, and offers to remove it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    QImage image() const { return m_image; }
    // Read-only: no chooser, no drop, no menu.
    void setChangeable(bool changeable);
    void setRemovable(bool removable) { m_removable = removable; }

Q_SIGNALS:
    void chooseRequested();
    void fileDropped(const QString &path);
    void removeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QImage m_image;
    bool m_changeable = true;
    bool m_removable = false;
};

} // namespace dpx
