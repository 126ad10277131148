// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

namespace dpx {

// The status line above the display: the program's short messages on bitmap 512.
class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
    QString m_text;
};

} // namespace dpx
