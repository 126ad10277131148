// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BoxLink.h"

#include "device/BoxIdentity.h"
#include "device/DeviceLog.h"
#include "device/HidTransport.h"
#include "device/ReaderThread.h"

#include <algorithm>
#include <iterator>

namespace dpx {

BoxLink::BoxLink(HidTransport &transport, QObject *parent)
    : QObject(parent)
    , m_transport(transport)
    , m_command(transport)
{
    m_sinkGuard->link = this;
    m_command.setEventSink(eventSink());
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (m_present && !m_suspended && !isReaderRunning())
            startReader();
    });
    connect(&m_transport, &HidTransport::devicesChanged, this, &BoxLink::handleDeviceChange);
}

BoxLink::~BoxLink()
{
    {
        const std::lock_guard lock(m_sinkGuard->mutex);
        m_sinkGuard->link = nullptr;
    }
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
    m_identity = box->identity;
    return true;
}

void BoxLink::start()
{
    if (DetectBox())
        boxArrived();
}

void BoxLink::boxArrived()
{
    m_present = true;
    m_foundPosted = false;
    m_unreadable = false;
    m_failures = 0;
    m_retryTimer.stop();
    if (m_suspended)
        postBoxFound(); // no reader now: the box counts as found as it is
    else
        startReader();
}

void BoxLink::handleDeviceChange()
{
    if (!m_present) {
        if (DetectBox())
            boxArrived();
        return;
    }

    const QString previousPath = m_path;
    const QString previousIdentity = m_identity;
    if (!DetectBox()) {
        m_present = false;
        m_unreadable = false;
        m_retryTimer.stop();
        stopReader();
        if (m_command.IsOpen())
            m_command.Close();
        Q_EMIT boxLost();
        return;
    }
    if (m_path != previousPath || m_identity != previousIdentity) {
        // Re-plugged (or another box took its place) between two notifications: the old
        // connections point at a node that no longer exists.
        stopReader();
        m_command.Close();
        boxArrived();
    } else if (!m_suspended && !isReaderRunning()) {
        startReader(); // every change is a chance for a box that could not be opened
    }
}

void BoxLink::SuspendReader()
{
    m_suspended = true;
    m_retryTimer.stop();
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
    // Called on other threads (the transfer's worker): the pair is posted only while this
    // object lives, and the guard keeps it alive for the time of the post.
    return [guard = m_sinkGuard](quint8 code, quint8 value) {
        const std::lock_guard lock(guard->mutex);
        if (BoxLink *link = guard->link)
            QMetaObject::invokeMethod(
                link, [link, code, value] { Q_EMIT link->eventPair(code, value); },
                Qt::QueuedConnection);
    };
}

void BoxLink::startReader()
{
    if (isReaderRunning())
        return;
    m_retryTimer.stop();
    m_reader = std::make_unique<ReaderThread>(m_transport, m_path);
    const ReaderThread *reader = m_reader.get();
    connect(reader, &ReaderThread::opened, this, &BoxLink::handleReaderOpened);
    connect(reader, &ReaderThread::eventPair, this, &BoxLink::eventPair);
    connect(reader, &ReaderThread::eventPair, this, [this] { m_failures = 0; });
    connect(reader, &ReaderThread::deviceGone, this, &BoxLink::handleReaderGone);
    connect(reader, &ReaderThread::openFailed, this, &BoxLink::handleOpenFailed);
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
    m_foundPosted = true;
    QMetaObject::invokeMethod(this, [this] { Q_EMIT boxFound(); }, Qt::QueuedConnection);
}

void BoxLink::handleReaderOpened()
{
    m_unreadable = false;
    if (!m_foundPosted)
        postBoxFound();
    Q_EMIT readerListening();
}

bool BoxLink::settleEndedReader()
{
    // A report from a reader that has since been replaced is old news.
    if (!m_reader || sender() != m_reader.get())
        return false;
    m_reader->wait(ReaderStopWaitMs); // it is on its way out: the signal was its last act
    return true;
}

void BoxLink::handleOpenFailed()
{
    if (!settleEndedReader() || !m_present)
        return;
    const bool first = !m_unreadable;
    m_unreadable = true;
    retryLater();
    if (first)
        Q_EMIT boxUnreadable();
}

void BoxLink::handleReaderGone()
{
    if (!settleEndedReader())
        return;
    // The command connection shares the reader's fate and is reopened by the next command.
    if (m_command.IsOpen())
        m_command.Close();
    if (!m_present || m_suspended)
        return;
    // A read error while the box is still listed (an interrupted read, a replug that came
    // back under the same path): open it again, at once the first time.
    const auto box = findBox(m_transport.enumerate());
    if (!box || box->path != m_path || box->identity != m_identity) {
        handleDeviceChange(); // gone, or plugged in again: a removal or an arrival
        return;
    }
    if (m_failures == 0) {
        ++m_failures;
        startReader();
    } else {
        retryLater();
    }
}

void BoxLink::retryLater()
{
    const int step = std::min<int>(m_failures, int(std::size(RetryDelaysMs)) - 1);
    ++m_failures;
    m_retryTimer.start(RetryDelaysMs[step]);
}

} // namespace dpx
