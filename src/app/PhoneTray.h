// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QIcon;
class QSystemTrayIcon;
class QTimer;

namespace dpx {

// The program icon (128) in its three sizes.
QIcon applicationIcon();

// The notification-area icon and its menu. When the desktop has no notification area the
// icon is not shown and available() is false; the window then minimises instead of hiding.
class PhoneTray : public QObject {
    Q_OBJECT
public:
    static constexpr int CallerNotificationMs = 4000;

    explicit PhoneTray(const QString &title, QObject *parent = nullptr);
    ~PhoneTray() override;

    bool available() const;
    void show();
    void remove();

    // The caller alert: the ringing icons 238, 239, 236, 237 in turn, every 100 ms, with no
    // tip; stopping brings back icon 128 with the program's title.
    void startAlert();
    void stopAlert();
    bool isAlerting() const;
    int alertIcon() const { return m_alertIcon; } // the icon shown now (128 when idle)
    // Calls missed since the history was last opened: "N 通未接來電" as the tool tip and the
    // count on a small badge over the icon; 0 brings back the plain icon and the title.
    void setMissedCalls(int count);
    int missedCalls() const { return m_missed; }
    QString toolTip() const;
    QIcon currentIcon() const;
    // The program icon with the badge for count drawn on it (the plain icon for 0).
    static QIcon badgedIcon(int count);

    // A desktop notification where the desktop runs a notification service; nothing else
    // (never the icon's own balloon).
    void notify(const QString &title, const QString &text);
    static bool desktopShowsNotifications();
    static constexpr const char *NotificationService = "org.freedesktop.Notifications";

    QMenu *menu() const { return m_menu; }
    QAction *converterAction() const { return m_converter; }
    QAction *transferAction() const { return m_transfer; }
    QAction *phoneBookAction() const { return m_phoneBook; }
    QAction *historyAction() const { return m_history; }
    QAction *callActionsAction() const { return m_callActions; }
    QAction *exitAction() const { return m_exit; }
    // The entries of the folder bar's tools; each carries its tool (a Tool value) as its data.
    QList<QAction *> toolActions() const { return {m_converter, m_transfer}; }

Q_SIGNALS:
    void doubleClicked();
    // The language chosen in the menu could not be loaded (the text says so).
    void languageProblem(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslate();
    void showAlertStep();
    void showIdleIcon();

    QSystemTrayIcon *m_icon = nullptr;
    QString m_title;
    QTimer *m_alertTimer = nullptr; // steps the ringing icons while the caller alert runs
    int m_alertStep = 1;
    int m_alertIcon = 128;
    QMenu *m_menu = nullptr;
    QAction *m_converter = nullptr;
    QAction *m_transfer = nullptr;
    QAction *m_phoneBook = nullptr;
    QAction *m_history = nullptr;
    QAction *m_callActions = nullptr;
    int m_missed = 0;
    QAction *m_exit = nullptr;
};

} // namespace dpx
