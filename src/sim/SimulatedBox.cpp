// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimulatedBox.h"

#include "sim/SimBoxState.h"
#include "sim/SimConnection.h"
#include "sim/SimTelephone.h"

#include <algorithm>

namespace dpx {

SimulatedBox::SimulatedBox(QObject *parent)
    : HidTransport(parent)
    , m_state(std::make_shared<SimBoxState>())
    , m_telephone(std::make_unique<SimTelephone>(m_state))
{
    m_state->owner = this;
    m_state->telephone = m_telephone.get();
}

// Connections may outlive the box: they keep the state and read -1 from now on.
SimulatedBox::~SimulatedBox()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->owner = nullptr;
        m_state->unplugLocked();
    }
    {
        std::lock_guard phoneLock(m_state->phoneMutex);
        m_state->telephone = nullptr;
    }
    m_telephone.reset();
}

QList<HidDeviceInfo> SimulatedBox::enumerate()
{
    std::lock_guard lock(m_state->mutex);
    QList<HidDeviceInfo> devices = m_state->devicesBefore;
    if (m_state->plugged)
        devices.append({devicePath(), VendorId, ProductId, ReleaseNumber});
    devices.append(m_state->devicesAfter);
    return devices;
}

std::unique_ptr<HidConnection> SimulatedBox::open(const QString &path)
{
    std::lock_guard lock(m_state->mutex);
    if (!m_state->plugged || path != devicePath())
        return nullptr;
    auto queue = std::make_shared<SimInputQueue>();
    m_state->queues.push_back(queue);
    return std::make_unique<SimConnection>(m_state, queue);
}

void SimulatedBox::plug()
{
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->plugged)
            return;
        m_state->plugged = true;
    }
    m_telephone->powerOn();
    Q_EMIT devicesChanged();
}

void SimulatedBox::unplug()
{
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_state->plugged)
            return;
        m_state->unplugLocked();
    }
    Q_EMIT devicesChanged();
}

bool SimulatedBox::isPlugged() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->plugged;
}

QString SimulatedBox::devicePath() const
{
    return QStringLiteral("sim:usb-box");
}

void SimulatedBox::setOtherDevices(const QList<HidDeviceInfo> &before, const QList<HidDeviceInfo> &after)
{
    std::lock_guard lock(m_state->mutex);
    m_state->devicesBefore = before;
    m_state->devicesAfter = after;
}

void SimulatedBox::sendEvent(const QList<std::pair<quint8, quint8>> &pairs)
{
    m_state->sendReports(sim::eventReports(pairs));
}

void SimulatedBox::sendReport(const QByteArray &report)
{
    if (!report.isEmpty())
        m_state->sendReports({sim::padReport(report, InputReportLength)});
}

QList<QByteArray> SimulatedBox::outputReports() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->outputReports;
}

QByteArray SimulatedBox::lastOutputReport() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->outputReports.isEmpty() ? QByteArray() : m_state->outputReports.constLast();
}

void SimulatedBox::clearOutputReports()
{
    std::lock_guard lock(m_state->mutex);
    m_state->outputReports.clear();
}

void SimulatedBox::setOutputReportLimit(int count)
{
    std::lock_guard lock(m_state->mutex);
    m_state->outputReportLimit = std::max(count, 1);
    while (m_state->outputReports.size() > m_state->outputReportLimit)
        m_state->outputReports.removeFirst();
}

void SimulatedBox::setFaults(const Faults &faults)
{
    std::lock_guard lock(m_state->mutex);
    m_state->faults = faults;
    m_state->firmware.corruptNextDataBlocks = std::max(faults.corruptNextDataBlocks, 0);
    m_state->firmware.skipNextErase = faults.skipNextErase;
    m_state->firmware.flipBitInNextStoredBlock = faults.flipBitInNextStoredBlock;
}

void SimulatedBox::setPacing(bool on)
{
    std::lock_guard lock(m_state->mutex);
    m_state->pacing = on;
}

void SimulatedBox::setEraseTimeMs(int ms)
{
    std::lock_guard lock(m_state->mutex);
    m_state->firmware.eraseTimeMs = std::max(ms, 0);
}

SimulatedBox::Faults SimulatedBox::faults() const
{
    std::lock_guard lock(m_state->mutex);
    Faults faults = m_state->faults;
    faults.corruptNextDataBlocks = m_state->firmware.corruptNextDataBlocks;
    faults.skipNextErase = m_state->firmware.skipNextErase;
    faults.flipBitInNextStoredBlock = m_state->firmware.flipBitInNextStoredBlock;
    return faults;
}

QByteArray SimulatedBox::eeprom() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->firmware.memory();
}

QByteArray SimulatedBox::eepromBytes(int offset, int length) const
{
    std::lock_guard lock(m_state->mutex);
    if (offset < 0 || length < 0)
        return {};
    return m_state->firmware.memory().mid(offset, length);
}

void SimulatedBox::setEeprom(const QByteArray &image)
{
    std::lock_guard lock(m_state->mutex);
    m_state->firmware.memory() = sim::padReport(image, EepromSize);
}

void SimulatedBox::setEepromBytes(int offset, const QByteArray &bytes)
{
    std::lock_guard lock(m_state->mutex);
    if (offset < 0 || offset >= EepromSize)
        return;
    QByteArray &memory = m_state->firmware.memory();
    const qsizetype count = std::min<qsizetype>(bytes.size(), EepromSize - offset);
    std::copy_n(bytes.constData(), count, memory.begin() + offset);
}

bool SimulatedBox::linkOn() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->firmware.linkOn();
}

bool SimulatedBox::eepromAccessOn() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->firmware.eepromAccessOn();
}

bool SimulatedBox::ringEnabled() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->firmware.ringEnabled();
}

bool SimulatedBox::switch5On() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->firmware.switch5On();
}

SimTelephone &SimulatedBox::telephone()
{
    return *m_telephone;
}

} // namespace dpx
