// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DropDownButton.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace dpx {

namespace {

// A raised inner edge: light along the top and left, shadow along the bottom and right.
void drawRaisedInner(QPainter &painter, const QRect &r)
{
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    painter.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

DropDownButton::DropDownButton(QWidget *parent)
    : QPushButton(parent), m_face(palette().color(QPalette::Button))
{
    setFont(QFont(QStringLiteral("Arial"), 9));
    setAutoDefault(false);
    setAttribute(Qt::WA_Hover);
}

DropDownButton::~DropDownButton()
{
    closeMenu();
}

QRect DropDownButton::mainRect(QSize size)
{
    return QRect(0, 0, qMax(0, size.width() - ArrowWidth - ArrowGap), size.height());
}

QRect DropDownButton::arrowRect(QSize size)
{
    return QRect(qMax(0, size.width() - ArrowWidth), 0, qMin(ArrowWidth, size.width()),
                 size.height());
}

void DropDownButton::SetMenuResource(const QList<MenuEntry> &entries)
{
    closeMenu();
    m_entries = entries;
}

void DropDownButton::SetCaption(const QString &caption)
{
    setText(caption);
    update();
}

void DropDownButton::SetFaceColor(QColor color)
{
    m_face = color;
    update();
}

void DropDownButton::SetTextColor(QColor color)
{
    m_textColor = color;
    update();
}

QMenu *DropDownButton::shownMenu() const
{
    return m_menu && m_menu->isVisible() ? m_menu.data() : nullptr;
}

void DropDownButton::setState(State state)
{
    if (m_state != state) {
        m_state = state;
        update();
    }
}

void DropDownButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect main = mainRect(size());
    const QRect arrow = arrowRect(size());
    const bool hovered = m_state == State::Hovered;
    painter.fillRect(rect(), hovered ? QColor(HoverFace) : m_face);
    if (m_state != State::MainPressed)
        drawRaisedInner(painter, arrow);
    if (m_state != State::ArrowPressed)
        drawRaisedInner(painter, main);
    if (hovered) {
        painter.setPen(QColor(LinePen));
        painter.drawLine(0, 0, width() - 1, 0);
    }

    const QPoint c = arrow.center();
    const QPolygon triangle({QPoint(c.x() - 3, c.y() - 2), QPoint(c.x() + 4, c.y() - 2),
                             QPoint(c.x(), c.y() + 2)});
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(triangle);

    painter.setFont(font());
    painter.setPen(isEnabled() ? m_textColor : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideRight, main.width() - 4);
    painter.drawText(main, Qt::AlignCenter | Qt::TextSingleLine, shown);
}

void DropDownButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_entries.isEmpty()
        && arrowRect(size()).contains(event->position().toPoint())) {
        setState(State::ArrowPressed);
        openMenu();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        setState(State::MainPressed);
    QPushButton::mousePressEvent(event);
}

void DropDownButton::mouseReleaseEvent(QMouseEvent *event)
{
    setState(State::Normal);
    QPushButton::mouseReleaseEvent(event);
}

void DropDownButton::enterEvent(QEnterEvent *event)
{
    if (m_state == State::Normal)
        setState(State::Hovered);
    QPushButton::enterEvent(event);
}

void DropDownButton::leaveEvent(QEvent *event)
{
    if (m_state != State::ArrowPressed || !shownMenu())
        setState(State::Normal);
    QPushButton::leaveEvent(event);
}

void DropDownButton::openMenu()
{
    // Every press opens the menu afresh, whatever became of the one before.
    closeMenu();
    auto *menu = new QMenu(this);
    for (const MenuEntry &entry : std::as_const(m_entries)) {
        const int id = entry.id;
        connect(menu->addAction(entry.text), &QAction::triggered, this,
                [this, id] { Q_EMIT menuCommand(id); });
    }
    connect(menu, &QMenu::aboutToHide, this, [this] { setState(State::Normal); });
    m_menu = menu;
    menu->popup(mapToGlobal(arrowRect(size()).bottomLeft() + QPoint(0, 1)));
    Q_EMIT menuShown();
}

void DropDownButton::closeMenu()
{
    if (m_menu) {
        m_menu->hide();
        m_menu->deleteLater();
        m_menu = nullptr;
    }
}

} // namespace dpx
