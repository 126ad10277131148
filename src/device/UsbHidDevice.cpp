// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/UsbHidDevice.h"

#include "device/BoxIdentity.h"
#include "device/CommandFrame.h"
#include "device/DeviceLog.h"
#include "device/EventReport.h"

#include <QThread>

#include <algorithm>

namespace dpx {

namespace {

int roundUp(int length, int unit)
{
    return (length + unit - 1) / unit * unit;
}

} // namespace

UsbHidDevice::UsbHidDevice(HidTransport &transport)
    : m_transport(transport)
{
}

UsbHidDevice::~UsbHidDevice()
{
    Close();
}

bool UsbHidDevice::Detect()
{
    const auto box = findBox(m_transport.enumerate());
    if (!box)
        return false;
    m_path = box->path;
    return true;
}

int UsbHidDevice::Open()
{
    if (!Detect())
        return -1;
    m_connection.reset();
    m_connection = m_transport.open(m_path);
    if (!m_connection) {
        qCDebug(lcDevice) << "cannot open" << m_path;
        return -1;
    }
    m_inputLength = std::max(0, m_connection->inputReportLength());
    m_outputLength = std::max(0, m_connection->outputReportLength());
    m_readScratch.assign(size_t(m_inputLength), 0);
    m_writeScratch.assign(size_t(m_outputLength), 0xFF);
    return 0;
}

bool UsbHidDevice::IsOpen() const
{
    return m_connection != nullptr;
}

void UsbHidDevice::Close()
{
    m_connection.reset();
    m_path.clear();
    m_inputLength = 0;
    m_outputLength = 0;
}

int UsbHidDevice::WriteReports(std::span<const quint8> buffer, int length, FramePause pause)
{
    if (!m_connection || m_outputLength == 0 || length <= 0)
        return 0;
    const bool commandFrame = pause == FramePause::After && !buffer.empty() && buffer[0] == 0x01;
    const size_t chunk = size_t(m_outputLength);
    int written = 0;
    for (size_t offset = 0; offset < size_t(length); offset += chunk) {
        const size_t available = offset < buffer.size() ? std::min(chunk, buffer.size() - offset) : 0;
        std::copy_n(buffer.begin() + ptrdiff_t(offset), available, m_writeScratch.begin());
        std::fill(m_writeScratch.begin() + ptrdiff_t(available), m_writeScratch.end(), quint8(0xFF));
        const int result = m_connection->write(m_writeScratch.data(), m_outputLength);
        written += std::clamp(result, 0, m_outputLength);
        if (commandFrame)
            QThread::msleep(FramePauseMs);
        if (result != m_outputLength)
            break;
    }
    return written;
}

int UsbHidDevice::WriteFrame(std::span<const quint8> buffer, int length, FramePause pause)
{
    if (m_outputLength == 0 || length <= 0)
        return 0;
    return WriteReports(buffer, roundUp(length, m_outputLength), pause);
}

int UsbHidDevice::ReadReports(std::span<quint8> buffer, int length, int timeoutMs)
{
    if (!m_connection || m_inputLength == 0 || length <= 0)
        return 0;
    const size_t wanted = std::min(size_t(length), buffer.size());
    size_t total = 0;
    int wait = std::max(0, timeoutMs);
    while (total < wanted) {
        const int got = m_connection->read(m_readScratch.data(), m_inputLength, wait);
        wait = 0;
        if (got < 0 && total == 0)
            return DeviceGone; // a pulled box ends a transfer at once instead of timing out
        if (got <= 0)
            break;
        const size_t stored = std::min(size_t(got), buffer.size() - total);
        std::copy_n(m_readScratch.begin(), stored, buffer.begin() + ptrdiff_t(total));
        total += stored;
        if (got < m_inputLength)
            break;
    }
    return int(total);
}

int UsbHidDevice::ReadReply(std::span<quint8> buffer, int length, quint8 reportId, int timeoutMs)
{
    if (m_inputLength == 0 || length <= 0)
        return 0;
    const int count = ReadReports(buffer, roundUp(length, m_inputLength), timeoutMs);
    if (count == DeviceGone)
        return DeviceGone;
    if (count <= 0)
        return 0; // a stale buffer is never judged again
    return judgeReply(buffer.first(size_t(count)), reportId, m_eventSink);
}

int UsbHidDevice::judgeReply(std::span<const quint8> report, quint8 reportId, const EventSink &sink)
{
    if (report.empty())
        return 0;
    // Events are handed on whatever was asked for, so none is lost while a transfer reads data.
    const EventReport event = EventReport::parse(report);
    if (event.isEvent()) {
        if (sink) {
            for (const EventPair &pair : event)
                sink(pair.code, pair.value);
        }
        return 0;
    }
    if (report[0] != reportId)
        return 0;
    if (reportId != 0x01)
        return int(report.size());
    if (report.size() < 2)
        return 0;
    const size_t k = report[1] & 0x1F;
    if (k >= report.size())
        return 0; // a checksum index outside the report is a broken frame
    const quint8 expected = k <= 1 ? quint8(0xFF) : CommandFrame::checksum(report.subspan(1, k - 1));
    return report[k] == expected ? int(report.size()) : 0;
}

void UsbHidDevice::setEventSink(EventSink sink)
{
    m_eventSink = std::move(sink);
}

} // namespace dpx
