// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/BoxPresence.h"
#include "device/HidTransport.h"

#include <QStringList>

#include <memory>

class QTimer;

namespace dpx {

class HidapiSession;
class UdevWatcher;

// The system's HID devices: listed through hidapi's hidraw backend, opened and read as hidraw
// nodes. Arrivals and removals come from a udev monitor on "hidraw" nodes; without a running
// udev, a presence check every two seconds reports when the boxes (or their identities) change.
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

    std::shared_ptr<HidapiSession> m_session;
    UdevWatcher *m_udev = nullptr;
    QTimer *m_pollTimer = nullptr;
    BoxPresence m_presence;
};

} // namespace dpx
