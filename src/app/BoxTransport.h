// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace dpx {

class HidTransport;
class ReplayTransport;
class SimulatedBox;
class TracingTransport;
struct Options;

// The way to the box the command line chose: the system's boxes, the simulated telephone, or
// a recorded trace played back; any of them optionally recorded to a trace file.
class BoxTransport {
public:
    explicit BoxTransport(const Options &options);
    ~BoxTransport();

    // Empty when the transport is ready; else why not (a trace that cannot be read or written).
    QString error() const { return m_error; }

    // What the program talks to (the tracer when recording).
    HidTransport &transport();
    // The simulated telephone, when it is the box.
    SimulatedBox *simulated() const { return m_simulated; }
    // What a script's box steps act on: the simulated telephone, or while replaying a detached
    // one (the trace plays the box's side then).
    SimulatedBox *scriptBox() const;
    ReplayTransport *replay() const { return m_replay; }
    TracingTransport *tracer() const { return m_tracer.get(); }

private:
    std::unique_ptr<HidTransport> m_base;
    std::unique_ptr<TracingTransport> m_tracer;
    std::unique_ptr<SimulatedBox> m_detachedBox;
    SimulatedBox *m_simulated = nullptr;
    ReplayTransport *m_replay = nullptr;
    QString m_error;
};

} // namespace dpx
