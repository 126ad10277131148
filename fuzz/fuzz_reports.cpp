// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as input reports: event parsing and UsbHidDevice's reads and reply rules must
// never crash nor touch memory outside the reports and the caller's buffer.
#include "device/EventReport.h"
#include "device/HidTransport.h"
#include "device/UsbHidDevice.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

namespace {

// Hands out the fuzzer's reports one per read, each in a heap block of its exact size.
struct ReportFeed {
    std::deque<std::vector<quint8>> reports;
    int inputLength = 8;
};

class FeedConnection : public dpx::HidConnection {
public:
    explicit FeedConnection(ReportFeed &feed) : m_feed(feed) {}
    int inputReportLength() const override { return m_feed.inputLength; }
    int outputReportLength() const override { return 25; }
    int write(const quint8 *, int length) override { return length; }
    int read(quint8 *buffer, int capacity, int) override
    {
        if (m_feed.reports.empty())
            return 0;
        const std::vector<quint8> report = std::move(m_feed.reports.front());
        m_feed.reports.pop_front();
        const int count = std::min(capacity, int(report.size()));
        if (count > 0) // an empty report has no data pointer to copy from
            std::memcpy(buffer, report.data(), size_t(count));
        return count;
    }
    void wake() override {} // reads never block here

private:
    ReportFeed &m_feed;
};

class FeedTransport : public dpx::HidTransport {
public:
    explicit FeedTransport(ReportFeed &feed) : m_feed(feed) {}
    QList<dpx::HidDeviceInfo> enumerate() override
    {
        return {{QStringLiteral("fuzz:box"), 0x04D9, 0x2851, 0, {}}};
    }
    std::unique_ptr<dpx::HidConnection> open(const QString &) override
    {
        return std::make_unique<FeedConnection>(m_feed);
    }

private:
    ReportFeed &m_feed;
};

} // namespace

// Input: byte 0 = input report length (1..64), byte 1 = report ID asked for, byte 2 = length
// asked for, byte 3 = size of the caller's buffer (1..32); then reports, each a length byte
// (0..63) and that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    ReportFeed feed;
    feed.inputLength = 1 + data[0] % 64;
    const quint8 reportId = data[1] % 4;
    const int askedLength = data[2] % 40 - 4; // also zero and negative lengths
    const size_t bufferSize = 1 + data[3] % 32;

    for (size_t pos = 4; pos < size;) {
        const size_t length = std::min(size_t(data[pos] % 64), size - pos - 1);
        std::vector<quint8> report(data + pos + 1, data + pos + 1 + length);
        const dpx::EventReport event = dpx::EventReport::parse(report);
        if (event.count() < 0 || event.count() > 3)
            __builtin_trap();
        feed.reports.push_back(std::move(report));
        pos += 1 + length;
    }

    FeedTransport transport(feed);
    dpx::UsbHidDevice device(transport);
    int pairsHanded = 0;
    device.setEventSink([&](quint8, quint8) { ++pairsHanded; });
    const size_t reportCount = feed.reports.size();
    if (device.Open() == -1)
        __builtin_trap();
    std::vector<quint8> buffer(bufferSize, 0xFF); // exact size, so ASan sees any overrun
    while (!feed.reports.empty()) {
        const int result = device.ReadReply(buffer, askedLength, reportId);
        if (result < dpx::UsbHidDevice::DeviceGone || size_t(result) > buffer.size())
            __builtin_trap();
        if (!feed.reports.empty())
            device.ReadReports(buffer, askedLength);
        if (askedLength <= 0 && !feed.reports.empty())
            device.ReadReports(buffer, 1); // nothing asked reads nothing: take one report
    }
    if (size_t(pairsHanded) > 3 * reportCount)
        __builtin_trap(); // at most three pairs per report read
    return 0;
}
