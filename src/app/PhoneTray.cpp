// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneTray.h"

#include "app/FolderCommand.h"
#include "ui/Art.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace dpx {

namespace {
constexpr int AlertStepMs = 100;

QIcon iconFor(int number)
{
    QIcon icon;
    const QString base = QString::number(number);
    for (const QString &name : {base + QStringLiteral("-16"), base + QStringLiteral("-32"), base}) {
        const QPixmap pixmap = artPixmap(name);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}
}

QIcon applicationIcon()
{
    return iconFor(128);
}

PhoneTray::PhoneTray(const QString &title, QObject *parent) : QObject(parent), m_title(title)
{
    m_alertTimer = new QTimer(this);
    m_alertTimer->setInterval(AlertStepMs);
    connect(m_alertTimer, &QTimer::timeout, this, &PhoneTray::showAlertStep);
    m_menu = new QMenu();
    // The tools named as the folder bar names them.
    m_converter = m_menu->addAction(toolName(Tool::AudioConverter) + QStringLiteral("..."));
    m_transfer = m_menu->addAction(toolName(Tool::AudioTransfer) + QStringLiteral("..."));
    m_phoneBook = m_menu->addAction(QStringLiteral("電話簿")); // the folder and its window
    m_converter->setData(quint32(Tool::AudioConverter));
    m_transfer->setData(quint32(Tool::AudioTransfer));
    m_menu->addSeparator();
    m_exit = m_menu->addAction(tr("結束"));

    m_icon = new QSystemTrayIcon(applicationIcon(), this);
    m_icon->setToolTip(title);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A right click opens the menu by itself, at once: the window stays where it is.
                if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
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
    m_alertTimer->stop();
    m_icon->hide();
}

void PhoneTray::startAlert()
{
    m_alertIcon = 237;
    m_icon->setIcon(iconFor(m_alertIcon));
    m_icon->setToolTip(QString());
    m_alertStep = 1;
    m_alertTimer->start();
}

void PhoneTray::showAlertStep()
{
    static constexpr int Icons[] = {238, 239, 236, 237};
    m_alertIcon = Icons[(m_alertStep - 1) % 4];
    m_icon->setIcon(iconFor(m_alertIcon));
    m_alertStep = m_alertStep % 4 + 1;
}

void PhoneTray::stopAlert()
{
    m_alertTimer->stop();
    m_alertIcon = 128;
    m_icon->setIcon(applicationIcon());
    m_icon->setToolTip(m_title);
}

bool PhoneTray::isAlerting() const
{
    return m_alertTimer->isActive();
}

bool PhoneTray::desktopShowsNotifications()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(QLatin1String(NotificationService));
}

void PhoneTray::notify(const QString &title, const QString &text)
{
    // Only the desktop's own notification service: the icon's balloon would cover the popup.
    if (!desktopShowsNotifications())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(NotificationService), QStringLiteral("/org/freedesktop/Notifications"),
        QLatin1String(NotificationService), QStringLiteral("Notify"));
    call << QStringLiteral("DPX") << uint(0) << QStringLiteral("dpx") << title << text
         << QStringList() << QVariantMap() << int(CallerNotificationMs);
    QDBusConnection::sessionBus().asyncCall(call);
}

} // namespace dpx
