// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The box's side of the frame layout: checking the PC's command frames and building
// reply frames, event reports and bulk-data reports. Kept apart from the PC's own frame
// code on purpose, so that a mistake there is not mirrored here.

#include <QByteArray>
#include <QList>

#include <utility>

namespace dpx::sim {

inline constexpr int InputReportLength = 8;
inline constexpr int OutputReportLength = 25;
inline constexpr quint8 FrameReportId = 0x01;
inline constexpr quint8 DataReportId = 0x02;

using EventPair = std::pair<quint8, quint8>;

// Bitwise NOT of the 8-bit sum of bytes [from, to).
quint8 notSum(const QByteArray &bytes, int from, int to);

// A command frame as the box reads it out of an output report.
struct CommandFrameView {
    quint8 type = 0;
    int length = 0;      // N: checksum in byte N - 1
    QByteArray payload;  // bytes 2 .. N - 2
};

// Parses a report-ID-1 output report; false when the header or the checksum is wrong.
bool parseCommandFrame(const QByteArray &report, CommandFrameView *frame);

// A reply frame in an 8-byte input report: 01, type << 5 | 4, b2, b3, checksum, FF FF FF.
QByteArray replyFrame(quint8 type, quint8 b2, quint8 b3);

// Event reports carrying the pairs in order, three per report at most.
QList<QByteArray> eventReports(const QList<EventPair> &pairs);

// The report cut or padded with 0xFF to the given length.
QByteArray padReport(const QByteArray &report, int length);

// Key codes carry an even-parity bit in bit 7; returns the 7-bit code, or -1 when the parity is wrong.
int keyCodeFromWire(quint8 wire);
quint8 keyCodeToWire(quint8 code);

} // namespace dpx::sim
