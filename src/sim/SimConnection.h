// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <memory>

namespace dpx {

struct SimBoxState;
struct SimInputQueue;

// One open handle to the simulated box, with its own queue of input reports.
class SimConnection final : public HidConnection {
public:
    SimConnection(std::shared_ptr<SimBoxState> state, std::shared_ptr<SimInputQueue> queue);
    ~SimConnection() override;

    int inputReportLength() const override;
    int outputReportLength() const override;
    int write(const quint8 *data, int length) override;
    int read(quint8 *buffer, int capacity, int timeoutMs) override;
    void wake() override;

private:
    std::shared_ptr<SimBoxState> m_state;
    std::shared_ptr<SimInputQueue> m_queue;
};

} // namespace dpx
