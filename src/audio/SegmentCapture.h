// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/SegmentConverter.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace dpx {

// The part of the playing file the user marks with the convert button: the first press marks
// the start, the second press (or the 36 s limit, or anything that ends the playback) the
// stop. Positions are the player's, in microseconds of the file. Every end checks that the
// stop lies after the start and clamps the segment to the converter's limit, whatever a seek
// in between did.
class SegmentCapture {
public:
    static constexpr int LimitMs = int(SegmentConverter::maxSeconds * 1000);

    struct Outcome {
        std::optional<SegmentRequest> segment; // nullopt: nothing to convert
        QString error;                         // "轉換錯誤!" for a stop not after the start
    };

    bool isCapturing() const { return m_capturing; }
    QString file() const { return m_file; }
    qint64 startUs() const { return m_startUs; }

    // Starts marking `file` at `positionUs`; ignored while a capture runs.
    void start(const QString &file, qint64 positionUs);
    // Ends the capture at `positionUs`; `reachedEnd` when the playback ran to the file's end,
    // so the segment goes to the decoder's last frame. Nothing (no error) when none runs.
    Outcome finish(qint64 positionUs, bool reachedEnd = false);

    static QString backwardsText();

private:
    bool m_capturing = false;
    QString m_file;
    qint64 m_startUs = 0;
};

} // namespace dpx
