// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BoxLink.h"

#include "device/BoxIdentity.h"
#include "device/DeviceLog.h"
#include "device/HidTransport.h"
#include "device/ReaderThread.h"

namespace dpx {

BoxLink::BoxLink(HidTransport &transport, QObject *parent)
    : QObject(parent)
    , m_transport(transport)
    , m_command(transport)
{
    m_command.setEventSink(eventSink());
    connect(&m_transport, &HidTransport::devicesChanged, this, &BoxLink::handleDeviceChange);
}

BoxLink::~BoxLink()
{
    m_reader.reset(); // stops and joins
    m_retired.clear();
    m_command.Close();
}

bool BoxLink::DetectBox()
{
    const auto box = findBox(m_transport.enumerate());
    if (!box)
        return false;
    m_path = box->path;
    return true;
}

void BoxLink::start()
{
    if (!DetectBox())
        return;
    m_present = true;
    postBoxFound();
    if (!m_suspended)
        startReader();
}

void BoxLink::handleDeviceChange()
{
    if (!m_present) {
        if (DetectBox()) {
            m_present = true;
            postBoxFound();
            if (!m_suspended)
                startReader();
        }
        return;
    }

    const QString previousPath = m_path;
    if (!DetectBox()) {
        m_present = false;
        stopReader();
        if (m_command.IsOpen())
            m_command.Close();
        Q_EMIT boxLost();
        return;
    }
    if (m_path != previousPath) {
        // Re-plugged (or another box took its place) between two notifications: the old
        // connections point at a node that no longer exists.
        stopReader();
        m_command.Close();
        postBoxFound();
        if (!m_suspended)
            startReader();
    } else if (!m_suspended && !isReaderRunning()) {
        startReader(); // the reader ended on a transient loss or open failure
    }
}

void BoxLink::SuspendReader()
{
    m_suspended = true;
    stopReader();
}

void BoxLink::ResumeReader()
{
    m_suspended = false;
    if (m_present && !isReaderRunning())
        startReader();
}

bool BoxLink::isReaderRunning() const
{
    return m_reader && m_reader->isRunning();
}

UsbHidDevice::EventSink BoxLink::eventSink()
{
    return [this](quint8 code, quint8 value) {
        QMetaObject::invokeMethod(
            this, [this, code, value] { Q_EMIT eventPair(code, value); }, Qt::QueuedConnection);
    };
}

void BoxLink::startReader()
{
    if (isReaderRunning())
        return;
    m_reader = std::make_unique<ReaderThread>(m_transport, m_path);
    connect(m_reader.get(), &ReaderThread::opened, this, &BoxLink::readerListening);
    connect(m_reader.get(), &ReaderThread::eventPair, this, &BoxLink::eventPair);
    connect(m_reader.get(), &ReaderThread::deviceGone, this, &BoxLink::handleReaderGone);
    m_reader->start();
}

void BoxLink::stopReader()
{
    if (!m_reader)
        return;
    m_reader->requestStop();
    if (!m_reader->wait(ReaderStopWaitMs)) {
        qCDebug(lcDevice) << "reader did not stop in time";
        m_retired.push_back(std::move(m_reader));
    }
    m_reader.reset();
}

void BoxLink::postBoxFound()
{
    QMetaObject::invokeMethod(this, [this] { Q_EMIT boxFound(); }, Qt::QueuedConnection);
}

void BoxLink::handleReaderGone()
{
    // The box's node went away under the reader; the command connection shares its fate and
    // is reopened by the next command. Presence itself changes on the next device notification.
    if (m_command.IsOpen())
        m_command.Close();
}

} // namespace dpx
