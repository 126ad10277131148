// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/UdevWatcher.h"

#include "device/DeviceLog.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <cstring>

namespace dpx {

UdevWatcher::UdevWatcher(QObject *parent)
    : QObject(parent)
{
}

UdevWatcher::~UdevWatcher()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool UdevWatcher::start()
{
    if (m_notifier)
        return true;
    m_udev = udev_new();
    if (!m_udev)
        return false;
    // Without the udev daemon no "udev" events ever come; the caller then polls instead.
    struct udev_queue *queue = udev_queue_new(m_udev);
    const bool active = queue && udev_queue_get_udev_is_active(queue) == 1;
    if (queue)
        udev_queue_unref(queue);
    if (!active) {
        qCDebug(lcDevice) << "udev is not running";
        return false;
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        qCDebug(lcDevice) << "udev monitor unavailable";
        return false;
    }
    const int fd = udev_monitor_get_fd(m_monitor);
    if (fd < 0)
        return false;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevWatcher::drain);
    return true;
}

void UdevWatcher::drain()
{
    bool changed = false;
    // The monitor socket is non-blocking: take every queued event, report once.
    while (struct udev_device *device = udev_monitor_receive_device(m_monitor)) {
        const char *action = udev_device_get_action(device);
        if (action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0))
            changed = true;
        udev_device_unref(device);
    }
    if (changed)
        Q_EMIT hidrawChanged();
}

} // namespace dpx
