// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QPushButton>

class QMenu;

namespace dpx {

// A push button split into a main part and a 20-pixel arrow part at its right edge, one pixel
// apart. The main part clicks like any button (clicked()); the arrow part opens the button's
// menu under itself on every press, and the chosen entry comes back as menuCommand(id). Without
// a menu the arrow part is part of the button.
class DropDownButton : public QPushButton {
    Q_OBJECT
public:
    enum class State { Normal, Hovered, MainPressed, ArrowPressed };
    struct MenuEntry {
        int id = 0;
        QString text;
    };
    static constexpr int ArrowWidth = 20;
    static constexpr int ArrowGap = 1;
    static constexpr QRgb HoverFace = 0xE2E2E2;
    static constexpr QRgb LinePen = 0xC0C0C0;

    explicit DropDownButton(QWidget *parent = nullptr);
    ~DropDownButton() override;

    // The entries of the arrow's menu; none means no menu.
    void SetMenuResource(const QList<MenuEntry> &entries);
    void SetCaption(const QString &caption);
    void SetFaceColor(QColor color);
    void SetTextColor(QColor color);
    QString caption() const { return text(); }
    QColor faceColor() const { return m_face; }

    State state() const { return m_state; }
    // The open menu, or nullptr.
    QMenu *shownMenu() const;

    static QRect mainRect(QSize size);
    static QRect arrowRect(QSize size);

Q_SIGNALS:
    void menuCommand(int id);
    void menuShown();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setState(State state);
    void openMenu();
    void closeMenu();

    State m_state = State::Normal;
    QColor m_face;
    QColor m_textColor = Qt::black;
    QList<MenuEntry> m_entries;
    QPointer<QMenu> m_menu;
};

} // namespace dpx
