// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneTray.h"

#include "app/FolderCommand.h"
#include "app/LanguageMenu.h"
#include "ui/Art.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QPainter>
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
    // Each tool entry carries its tool, as the folder bar's items do.
    m_converter = m_menu->addAction(QString());
    m_transfer = m_menu->addAction(QString());
    m_phoneBook = m_menu->addAction(QString());
    m_history = m_menu->addAction(QString());
    m_callActions = m_menu->addAction(QString());
    m_converter->setData(quint32(Tool::AudioConverter));
    m_transfer->setData(quint32(Tool::AudioTransfer));
    m_menu->addSeparator();
    addLanguageMenu(m_menu, [this](const QString &text) { Q_EMIT languageProblem(text); });
    m_menu->addSeparator();
    m_exit = m_menu->addAction(QString());
    retranslate();
    m_menu->installEventFilter(this); // the menu is told of a language change, the icon is not

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

void PhoneTray::retranslate()
{
    m_converter->setText(tr("檔轉換..."));
    m_transfer->setText(tr("檔傳輸..."));
    m_phoneBook->setText(tr("通訊簿"));
    m_history->setText(tr("通話記錄"));
    m_callActions->setText(tr("來電動作"));
    m_exit->setText(tr("Exit"));
    if (m_icon && !isAlerting())
        showIdleIcon();
}

bool PhoneTray::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_menu && event->type() == QEvent::LanguageChange)
        retranslate();
    return QObject::eventFilter(watched, event);
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
    showIdleIcon();
}

void PhoneTray::setMissedCalls(int count)
{
    m_missed = std::max(0, count);
    if (!isAlerting())
        showIdleIcon();
}

QString PhoneTray::toolTip() const
{
    return m_icon->toolTip();
}

QIcon PhoneTray::currentIcon() const
{
    return m_icon->icon();
}

void PhoneTray::showIdleIcon()
{
    m_icon->setIcon(badgedIcon(m_missed));
    m_icon->setToolTip(m_missed > 0 ? tr("%1 通未接來電").arg(m_missed) : m_title);
}

QIcon PhoneTray::badgedIcon(int count)
{
    if (count <= 0)
        return applicationIcon();
    // A red disc with the count in white at the bottom right, sized to each picture.
    const QString text = count > 99 ? QStringLiteral("99+") : QString::number(count);
    QIcon icon;
    const QIcon plain = applicationIcon();
    for (const QSize &size : plain.availableSizes()) {
        QPixmap pixmap = plain.pixmap(size);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal d = size.height() * (text.size() > 1 ? 0.62 : 0.55);
        const qreal w = std::max(d, d * 0.45 * text.size());
        const QRectF disc(size.width() - w, size.height() - d, w, d);
        p.setPen(QPen(Qt::white, std::max(1.0, d / 12)));
        p.setBrush(QColor(214, 36, 36));
        p.drawRoundedRect(disc.adjusted(0.5, 0.5, -0.5, -0.5), d / 2, d / 2);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(std::max(6, int(d * (text.size() > 2 ? 0.5 : 0.68))));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(disc, Qt::AlignCenter, text);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
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
