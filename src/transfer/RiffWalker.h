// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <functional>

namespace dpx {

// What a RIFF/WAVE header says about its audio.
struct WaveLayout {
    bool valid = false;       // a WAVE form with a "fmt " chunk before its "data" chunk
    quint16 formatTag = 0;    // 1 = PCM, 7 = mu-law, ...
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint16 bitsPerSample = 0;
    QByteArray formatRecord;  // the "fmt " chunk's first 18 bytes (0-padded when shorter)
    qint64 dataOffset = 0;    // where the audio bytes start in the file
    qint64 dataLength = 0;    // the data chunk's size, clamped to what the file holds

    // 8-bit mu-law, 16000 samples per second, one channel: what the box plays.
    bool isBoxFormat() const;
};

// Walks the chunks of a RIFF/WAVE file without trusting any size: `readAt(offset, count)`
// returns up to `count` bytes of the file from `offset`; `fileSize` bounds every chunk.
WaveLayout walkRiff(const std::function<QByteArray(qint64 offset, int count)> &readAt,
                    qint64 fileSize);

// True when the bytes start with a RIFF header of form WAVE.
bool looksLikeWave(const QByteArray &head);

} // namespace dpx
