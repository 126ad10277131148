// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidapiTransport.h"

#include "device/BoxIdentity.h"
#include "device/DeviceLog.h"
#include "device/HidrawConnection.h"
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

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace dpx {

namespace {

// hidapi keeps global state (its init flag and an error string that hid_init frees without a
// lock); every hidapi call runs under this one lock, so two threads never race on it.
std::mutex &hidapiMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

// hid_init once for the process while anything uses hidapi; hid_exit after the last user.
class HidapiSession {
public:
    static std::shared_ptr<HidapiSession> acquire()
    {
        static std::weak_ptr<HidapiSession> current;
        const std::lock_guard lock(hidapiMutex());
        auto session = current.lock();
        if (!session) {
            session = std::shared_ptr<HidapiSession>(new HidapiSession);
            current = session;
        }
        return session;
    }
    ~HidapiSession()
    {
        const std::lock_guard lock(hidapiMutex());
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

// Changes on every plug: the node's sysfs device path carries the HID device's sequence
// number, and the node itself is created anew.
QString identityOf(const QString &devicePath)
{
    const QString node = QFileInfo(devicePath).fileName();
    const QString sysfs = QFileInfo(QStringLiteral("/sys/class/hidraw/%1").arg(node)).symLinkTarget();
    struct stat status {};
    const qulonglong inode = ::stat(QFile::encodeName(devicePath).constData(), &status) == 0
        ? qulonglong(status.st_ino) : 0;
    return sysfs + QLatin1Char('#') + QString::number(inode);
}

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
        m_presence.update(enumerate());
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
    {
        const std::lock_guard lock(hidapiMutex());
        hid_device_info *list = hid_enumerate(0, 0);
        for (const hid_device_info *it = list; it; it = it->next) {
            if (!it->path)
                continue;
            result.append({QString::fromLocal8Bit(it->path), it->vendor_id, it->product_id,
                           it->release_number, {}});
        }
        hid_free_enumeration(list);
    }
    for (HidDeviceInfo &info : result)
        if (isBox(info))
            info.identity = identityOf(info.path);
    return result;
}

std::unique_ptr<HidConnection> HidapiTransport::open(const QString &path)
{
    // The node is read directly (hidapi stays for enumeration): only so can a stop request
    // wake a waiting read.
    if (path.isEmpty())
        return nullptr;
    auto connection = HidrawConnection::open(path, reportLengthsFor(path));
    if (!connection)
        qCDebug(lcDevice) << "cannot open" << path << ::strerror(errno);
    return connection;
}

void HidapiTransport::pollPresence()
{
    if (m_presence.update(enumerate()))
        Q_EMIT devicesChanged();
}

} // namespace dpx
