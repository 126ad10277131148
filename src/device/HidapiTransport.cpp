// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidapiTransport.h"

#include "device/BoxIdentity.h"
#include "device/DeviceLog.h"
#include "device/ReportDescriptor.h"
#ifdef DPX_HAVE_UDEV
#include "device/UdevWatcher.h"
#endif

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <mutex>

namespace dpx {

// hid_init once for the process while anything uses hidapi; hid_exit after the last user.
class HidapiSession {
public:
    static std::shared_ptr<HidapiSession> acquire()
    {
        static std::mutex mutex;
        static std::weak_ptr<HidapiSession> current;
        const std::lock_guard lock(mutex);
        auto session = current.lock();
        if (!session) {
            session = std::shared_ptr<HidapiSession>(new HidapiSession);
            current = session;
        }
        return session;
    }
    ~HidapiSession()
    {
        if (m_initialised)
            hid_exit();
    }
    bool isInitialised() const { return m_initialised; }

private:
    HidapiSession()
        : m_initialised(hid_init() == 0)
    {
    }
    bool m_initialised;
};

namespace {

// The lengths the box is known to use, for when the descriptor cannot be read.
constexpr ReportLengths BoxReportLengths{8, 25};

// hidapi 0.13 cannot hand out the report descriptor; hidraw publishes it in sysfs.
ReportLengths reportLengthsFor(const QString &devicePath)
{
    const QString node = QFileInfo(devicePath).fileName();
    QFile file(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
    if (node.isEmpty() || !file.open(QIODevice::ReadOnly))
        return BoxReportLengths;
    const QByteArray bytes = file.read(4096);
    const ReportLengths lengths = reportLengthsFromDescriptor(
        std::span(reinterpret_cast<const quint8 *>(bytes.constData()), size_t(bytes.size())));
    if (lengths.input <= 1 || lengths.output <= 1)
        return BoxReportLengths;
    return lengths;
}

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(hid_device *device, ReportLengths lengths, std::shared_ptr<HidapiSession> session)
        : m_device(device)
        , m_lengths(lengths)
        , m_session(std::move(session))
    {
    }
    ~HidapiConnection() override { hid_close(m_device); }

    int inputReportLength() const override { return m_lengths.input; }
    int outputReportLength() const override { return m_lengths.output; }

    int write(const quint8 *data, int length) override
    {
        if (!data || length <= 0)
            return -1;
        return hid_write(m_device, data, size_t(length));
    }

    int read(quint8 *buffer, int capacity, int timeoutMs) override
    {
        if (!buffer || capacity <= 0)
            return 0;
        return hid_read_timeout(m_device, buffer, size_t(capacity), std::max(0, timeoutMs));
    }

private:
    hid_device *m_device;
    ReportLengths m_lengths;
    std::shared_ptr<HidapiSession> m_session;
};

} // namespace

HidapiTransport::HidapiTransport(QObject *parent)
    : HidTransport(parent)
    , m_session(HidapiSession::acquire())
{
#ifdef DPX_HAVE_UDEV
    auto *watcher = new UdevWatcher(this);
    if (watcher->start()) {
        m_udev = watcher;
        connect(watcher, &UdevWatcher::hidrawChanged, this, &HidTransport::devicesChanged);
    } else {
        delete watcher;
    }
#endif
    if (!m_udev) {
        m_lastBoxPaths = boxPaths();
        m_pollTimer = new QTimer(this);
        m_pollTimer->setInterval(PresencePollMs);
        connect(m_pollTimer, &QTimer::timeout, this, &HidapiTransport::pollPresence);
        m_pollTimer->start();
    }
}

HidapiTransport::~HidapiTransport() = default;

QString HidapiTransport::libraryVersion()
{
    return QString::fromLatin1(hid_version_str());
}

bool HidapiTransport::watchesWithUdev() const
{
    return m_udev != nullptr;
}

QList<HidDeviceInfo> HidapiTransport::enumerate()
{
    QList<HidDeviceInfo> result;
    if (!m_session->isInitialised())
        return result;
    hid_device_info *list = hid_enumerate(0, 0);
    for (const hid_device_info *it = list; it; it = it->next) {
        if (!it->path)
            continue;
        result.append({QString::fromLocal8Bit(it->path), it->vendor_id, it->product_id,
                       it->release_number});
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidConnection> HidapiTransport::open(const QString &path)
{
    if (!m_session->isInitialised() || path.isEmpty())
        return nullptr;
    hid_device *device = hid_open_path(path.toLocal8Bit().constData());
    if (!device) {
        qCDebug(lcDevice) << "hid_open_path failed:" << path;
        return nullptr;
    }
    return std::make_unique<HidapiConnection>(device, reportLengthsFor(path), m_session);
}

QStringList HidapiTransport::boxPaths()
{
    QStringList paths;
    for (const HidDeviceInfo &info : enumerate()) {
        if (isBox(info))
            paths.append(info.path);
    }
    return paths;
}

void HidapiTransport::pollPresence()
{
    QStringList paths = boxPaths();
    if (paths == m_lastBoxPaths)
        return;
    m_lastBoxPaths = std::move(paths);
    Q_EMIT devicesChanged();
}

} // namespace dpx
