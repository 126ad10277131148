// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <QStringList>

#include <memory>

class QTimer;

namespace dpx {

class HidapiSession;
class UdevWatcher;

// The system's HID devices through hidapi's hidraw backend. Arrivals and removals come from a
// udev monitor on "hidraw" nodes; without a running udev, a presence check every two seconds
// reports when the set of boxes changes.
class HidapiTransport : public HidTransport {
    Q_OBJECT
public:
    static constexpr int PresencePollMs = 2000;

    explicit HidapiTransport(QObject *parent = nullptr);
    ~HidapiTransport() override;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const QString &path) override;

    // The hidapi library in use, for --version.
    static QString libraryVersion();

    // Whether arrivals are watched through udev (false: the polling fallback runs).
    bool watchesWithUdev() const;

private:
    void pollPresence();
    QStringList boxPaths();

    std::shared_ptr<HidapiSession> m_session;
    UdevWatcher *m_udev = nullptr;
    QTimer *m_pollTimer = nullptr;
    QStringList m_lastBoxPaths;
};

} // namespace dpx
