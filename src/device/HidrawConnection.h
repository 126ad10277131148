// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"
#include "device/ReportDescriptor.h"

#include <memory>

namespace dpx {

// An open hidraw node, read with poll() together with a wake-up descriptor, so that a stop
// request ends a waiting read at once (hidapi's own read can only time out).
class HidrawConnection final : public HidConnection {
public:
    // nullptr when the node cannot be opened (no access rights without the udev rule).
    static std::unique_ptr<HidrawConnection> open(const QString &nodePath, ReportLengths lengths);
    ~HidrawConnection() override;

    int inputReportLength() const override { return m_lengths.input; }
    int outputReportLength() const override { return m_lengths.output; }
    int write(const quint8 *data, int length) override;
    int read(quint8 *buffer, int capacity, int timeoutMs) override;
    void wake() override;

private:
    HidrawConnection(int fd, int wakeFd, ReportLengths lengths);

    const int m_fd;
    const int m_wakeFd;
    const ReportLengths m_lengths;
};

} // namespace dpx
