// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StatusLine.h"

#include "ui/Art.h"

#include <QPainter>

namespace dpx {

StatusLine::StatusLine(QWidget *parent) : QWidget(parent), m_background(artPixmap(QStringLiteral("512")))
{
    // Drags of the window pass through the status line, as through the window body.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(m_background.isNull() ? QSize(287, 56) : m_background.size());
}

void StatusLine::setText(const QString &text)
{
    m_text = text;
    repaint(); // shown at once, also in the middle of a long operation
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    if (m_text.isEmpty())
        return;
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(QColor(250, 250, 250));
    const QRect area(30, 25 - 2, width() - 34, height() - 25);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(m_text, Qt::ElideRight, area.width()));
}

} // namespace dpx
