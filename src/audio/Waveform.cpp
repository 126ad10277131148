// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/Waveform.h"

#include "audio/SoundFileReader.h"

#include <algorithm>
#include <vector>

namespace dpx {

namespace {
constexpr qint64 kBlockFrames = 8192;
constexpr qint64 kChunkFrames = 256; // the resolution kept while decoding
} // namespace

Waveform Waveform::compute(const QString &path, int columns, const std::atomic_bool *cancel)
{
    SoundFileReader reader;
    if (columns <= 0 || !reader.open(path))
        return {};
    const int channels = reader.channels();
    std::vector<float> block(size_t(kBlockFrames) * size_t(channels));
    // Chunks first: the file's true length is known only at its end.
    std::vector<float> low, high;
    float chunkLow = 0, chunkHigh = 0;
    qint64 inChunk = 0;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        const qint64 got = reader.read(block.data(), kBlockFrames);
        if (got <= 0)
            break;
        for (qint64 f = 0; f < got; ++f) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += block[size_t(f) * size_t(channels) + size_t(c)];
            const float v = std::clamp(sum / float(channels), -1.0f, 1.0f);
            chunkLow = inChunk == 0 ? v : std::min(chunkLow, v);
            chunkHigh = inChunk == 0 ? v : std::max(chunkHigh, v);
            if (++inChunk == kChunkFrames) {
                low.push_back(chunkLow);
                high.push_back(chunkHigh);
                inChunk = 0;
            }
        }
    }
    if (inChunk > 0) {
        low.push_back(chunkLow);
        high.push_back(chunkHigh);
    }
    if (low.empty())
        return {};
    Waveform shape;
    shape.minimum.resize(columns);
    shape.maximum.resize(columns);
    const size_t chunks = low.size();
    for (int column = 0; column < columns; ++column) {
        const size_t from = chunks * size_t(column) / size_t(columns);
        const size_t to = std::max(from + 1, chunks * size_t(column + 1) / size_t(columns));
        const size_t end = std::min(to, chunks);
        const size_t first = std::min(from, chunks - 1);
        shape.minimum[column] = *std::min_element(low.begin() + qsizetype(first), low.begin() + qsizetype(std::max(end, first + 1)));
        shape.maximum[column] = *std::max_element(high.begin() + qsizetype(first), high.begin() + qsizetype(std::max(end, first + 1)));
    }
    return shape;
}

} // namespace dpx
