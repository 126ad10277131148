// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTrace.h"
#include "device/HidTransport.h"

#include <memory>
#include <mutex>
#include <optional>

class QIODevice;

namespace dpx {

struct TraceSink;

// Wraps any transport and writes every report read from and written to the box, the box's
// arrivals and removals, and marks, to a trace (HidTrace.h). Reads and writes may come from
// any thread; lines are written whole and their times never go backwards.
class TracingTransport : public HidTransport {
    Q_OBJECT
public:
    // The trace file is opened here; check isOpen(). The header names the program and the
    // box present now (looked up through the wrapped transport).
    TracingTransport(HidTransport &inner, const QString &traceFile, const QString &program,
                     QObject *parent = nullptr);
    // The same onto an open device (tests), which stays owned by the caller.
    TracingTransport(HidTransport &inner, QIODevice &trace, const QString &program,
                     QObject *parent = nullptr);
    ~TracingTransport() override;

    bool isOpen() const;
    QString errorString() const;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const QString &path) override;

    // A note in the trace at this moment, for example the script step about to act.
    void mark(const QString &note);

private:
    void begin(const QString &program);
    void notePresence(const QList<HidDeviceInfo> &devices);

    HidTransport &m_inner;
    std::shared_ptr<TraceSink> m_sink;
    std::mutex m_presenceMutex; // enumerate() may run on a worker's thread
    std::optional<HidDeviceInfo> m_box;
};

} // namespace dpx
