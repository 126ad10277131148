// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <initializer_list>
#include <span>

namespace dpx {

// A checksummed command frame of report ID 1, laid out in one output report:
//   byte 0      0x01
//   byte 1      frame type in bits 7..5, N - 1 (the checksum's index) in bits 4..0
//   2 .. N-2    payload
//   N-1         NOT of the 8-bit sum of bytes 1 .. N-2
// The caller sets the length N, calls Prepare, writes the payload, then Seal.
class CommandFrame {
public:
    static constexpr int ReportLength = 25; // one output report
    static constexpr quint32 MinLength = 3;  // header, type byte, checksum
    static constexpr quint32 MaxLength = ReportLength;
    using Buffer = std::array<quint8, ReportLength>;

    // Frame length N, set before each frame.
    quint32 length = 0;

    // Fills bytes 0 .. N-1 with 0xFF and writes the header bytes 0 and 1.
    // Returns false and leaves the buffer alone when N does not fit the buffer or is below 3.
    bool Prepare(std::span<quint8> buffer, quint8 type) const;

    // Stores the checksum of bytes 1 .. N-2 in byte N-1; false as for Prepare.
    bool Seal(std::span<quint8> buffer) const;

    // A whole output report: the frame of this type and payload (N = payload + 3), 0xFF after it.
    static Buffer build(quint8 type, std::span<const quint8> payload);
    static Buffer build(quint8 type, std::initializer_list<quint8> payload);

    // NOT of the 8-bit sum of the bytes; the frame checksum.
    static quint8 checksum(std::span<const quint8> bytes);

private:
    bool fits(std::span<const quint8> buffer) const;
};

} // namespace dpx
