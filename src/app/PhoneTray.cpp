// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneTray.h"

#include "ui/KeyButton.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace dpx {

QIcon applicationIcon()
{
    QIcon icon;
    for (const char *name : {"128-16", "128-32", "128"})
        icon.addPixmap(artPixmap(QLatin1String(name)));
    return icon;
}

PhoneTray::PhoneTray(const QString &title, QObject *parent) : QObject(parent)
{
    m_menu = new QMenu();
    m_converter = m_menu->addAction(QStringLiteral("檔轉換..."));
    m_transfer = m_menu->addAction(QStringLiteral("檔傳輸..."));
    m_phoneBook = m_menu->addAction(QStringLiteral("通訊簿"));
    m_menu->addSeparator();
    m_exit = m_menu->addAction(QStringLiteral("Exit"));
    // The windows behind these entries are not part of this build yet.
    for (QAction *action : {m_converter, m_transfer, m_phoneBook}) {
        action->setEnabled(false);
        action->setToolTip(QStringLiteral("Not available in this version"));
    }

    m_icon = new QSystemTrayIcon(applicationIcon(), this);
    m_icon->setToolTip(title);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
                else if (reason == QSystemTrayIcon::Context)
                    Q_EMIT menuRequested();
            });
}

PhoneTray::~PhoneTray()
{
    delete m_menu;
}

bool PhoneTray::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void PhoneTray::show()
{
    if (available())
        m_icon->show();
}

void PhoneTray::remove()
{
    m_icon->hide();
}

} // namespace dpx
