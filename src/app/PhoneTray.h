// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QIcon;
class QSystemTrayIcon;

namespace dpx {

// The program icon (128) in its three sizes.
QIcon applicationIcon();

// The notification-area icon and its menu. When the desktop has no notification area the
// icon is not shown and available() is false; the window then minimises instead of hiding.
class PhoneTray : public QObject {
    Q_OBJECT
public:
    explicit PhoneTray(const QString &title, QObject *parent = nullptr);
    ~PhoneTray() override;

    bool available() const;
    void show();
    void remove();

    QMenu *menu() const { return m_menu; }
    QAction *converterAction() const { return m_converter; }
    QAction *transferAction() const { return m_transfer; }
    QAction *phoneBookAction() const { return m_phoneBook; }
    QAction *exitAction() const { return m_exit; }

Q_SIGNALS:
    void doubleClicked();
    void menuRequested(); // right button: the window comes forward before the menu shows

private:
    QSystemTrayIcon *m_icon = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_converter = nullptr;
    QAction *m_transfer = nullptr;
    QAction *m_phoneBook = nullptr;
    QAction *m_exit = nullptr;
};

} // namespace dpx
