// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace dpx {

// Reports hidraw nodes that appear or disappear, from udev's monitor (after udev has set the
// node up). Runs on the owner's event loop.
class UdevWatcher : public QObject {
    Q_OBJECT
public:
    explicit UdevWatcher(QObject *parent = nullptr);
    ~UdevWatcher() override;

    // False when udev is not running or its monitor cannot be had.
    bool start();

Q_SIGNALS:
    void hidrawChanged();

private:
    void drain();

    struct udev *m_udev = nullptr;
    struct udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace dpx
