// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace dpx {

// A part of a sound file to bring into the box's format.
struct SegmentRequest {
    QString source;
    double startSeconds = 0;
    // Missing: up to the end of the file. Always capped at maxSeconds.
    std::optional<double> lengthSeconds;
};

// Turns a part of a sound file (WAV, MP3, ... told by content) into the box's raw format:
// headerless 8-bit G.711 mu-law, mono, 16 000 samples per second, exactly
// floor(seconds x 16000) bytes. Only the segment is decoded: the reader seeks to its start.
class SegmentConverter {
public:
    static constexpr int outputRate = 16000;
    static constexpr double maxSeconds = 36.0;

    struct Result {
        QByteArray raw;
        QString error; // empty on success
        bool ok() const { return error.isEmpty(); }
    };

    static Result convert(const SegmentRequest &request);

    // Writes `raw` to `target` all at once (a temporary file renamed into place): the old
    // file stays intact on any failure. Returns the error, empty on success.
    static QString write(const QString &target, const QByteArray &raw);
};

} // namespace dpx
