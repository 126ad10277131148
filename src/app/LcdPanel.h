// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace dpx {

// The telephone's two-line display drawn on bitmap 511. Each update draws into an
// off-screen canvas that the paint path then copies in one piece.
class LcdPanel : public QWidget {
    Q_OBJECT
public:
    explicit LcdPanel(QWidget *parent = nullptr);

    // Line 1 as drawn (blank cells already doubled); blockStart/blockLength mark the part
    // of that text drawn as a black cursor block (length 0 for none). Line 2 shows as its
    // three soft-key words.
    void showLines(const QString &line1, int blockStart, int blockLength,
                   const QStringList &softKeys);
    // Line 2 drawn as one text, for a line whose words would repeat one run (a long number).
    void showLinesWhole(const QString &line1, int blockStart, int blockLength, const QString &line2);
    // The clock in place of line 1, with the soft-key words a little shifted as the telephone does.
    void showClock(const QString &clock, const QStringList &softKeys);
    // A note of the program's own in place of the telephone's display (no box, for one).
    void showNotice(const QString &line1, const QString &line2);

    const QPixmap &canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(const QString &line1, int blockStart, int blockLength, const QStringList &line2Parts,
              const int *partX);

    QPixmap m_background;
    QPixmap m_canvas;
    QFont m_font;
};

} // namespace dpx
