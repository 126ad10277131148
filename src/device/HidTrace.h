// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace dpx {

// A recording of the traffic with the box, as line-based text (docs/hid-trace.md):
//   dpx-hid-trace 1
//   program DPX 0.1.0
//   box 04d9 2851 0100 /dev/hidraw3        ("box none" when no box was present)
//   1532 out 0104049c5bffff…               time in µs since the start, then what happened
//   1790 in 0143250326ffffff
// Event kinds: in (a report read from the box), out (a report written to it), arrived
// (vid pid release path), removed, mark (a note such as the script step that acted).
struct HidTraceEvent {
    enum Kind { In, Out, Arrived, Removed, Mark };
    int line = 0;
    qint64 timeUs = 0;
    Kind kind = In;
    QByteArray report;   // In, Out
    HidDeviceInfo device; // Arrived
    QString note;         // Mark

    // True for what the box (or its user) does; false for what the program does.
    bool fromBox() const { return kind == In || kind == Arrived || kind == Removed; }
};

struct HidTrace {
    static constexpr int FormatVersion = 1;
    static constexpr int MaxLineBytes = 4096;

    QString program;
    std::optional<HidDeviceInfo> box; // the box present when the trace began
    QList<HidTraceEvent> events;
};

struct HidTraceParse {
    HidTrace trace;
    QString error; // empty when the whole text was understood
    int errorLine = 0;
};

// Reads a whole trace. The first problem stops the reading: an unknown line, a bad hex byte,
// a time that goes backwards, a line over MaxLineBytes, a last line cut short.
HidTraceParse parseHidTrace(const QByteArray &text);

// The text of the header lines and of one event line (each ending in a newline).
QByteArray hidTraceHeader(const QString &program, const std::optional<HidDeviceInfo> &box);
QByteArray hidTraceLine(const HidTraceEvent &event);

// How an event reads in messages: "out 0104049c5b…".
QString describeTraceEvent(const HidTraceEvent &event);

} // namespace dpx
