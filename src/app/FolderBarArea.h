// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

namespace dpx {

// The folder bar's place on the left of the telephone: its three folders with the tools
// folder open. Its items are shown greyed until the windows they open are available.
class FolderBarArea : public QWidget {
    Q_OBJECT
public:
    explicit FolderBarArea(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_images;
};

// The volume slider's place: channel and thumb at the start position. It does not move
// the PC's volume in this version, and says so in its tool tip.
class VolumeSliderArea : public QWidget {
    Q_OBJECT
public:
    explicit VolumeSliderArea(QWidget *parent = nullptr);
    int position() const { return m_position; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_channel;
    QPixmap m_thumb;
    int m_position = 45;
};

} // namespace dpx
