// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <atomic>

namespace dpx {

// The shape of a sound file for drawing: for each of `columns` equal parts of the decoded
// file the lowest and highest sample of its mono mix, in [-1, 1]. The whole file is decoded
// (the end is the decoder's, not the header's estimate); meant for a worker thread.
struct Waveform {
    QList<float> minimum;
    QList<float> maximum;

    bool isEmpty() const { return minimum.isEmpty(); }

    // Empty when the file cannot be read, holds no sound, or `cancel` was set meanwhile.
    static Waveform compute(const QString &path, int columns, const std::atomic_bool *cancel = nullptr);
};

} // namespace dpx
