// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RingStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace dpx {

namespace {
constexpr qint64 kDecodeFrames = 4096;
}

RingStream::RingStream(std::unique_ptr<SoundFileReader> reader, const PcmFormat &target,
                       QObject *parent)
    : QIODevice(parent), m_reader(std::move(reader)),
      m_converter(m_reader ? m_reader->sampleRate() : 0, m_reader ? m_reader->channels() : 0,
                  target)
{
    if (!m_reader || !m_reader->isOpen() || !m_converter.isValid())
        m_decodedAll = true;
}

RingStream::~RingStream() = default;

qint64 RingStream::bytesAvailable() const
{
    // The audio output sizes its start-up buffering by this: for a file shorter than that
    // buffer it must not wait for more than the file holds, or the sound never starts.
    qint64 more = 0;
    if (!m_decodedAll) {
        const PcmFormat &target = m_converter.target();
        const qint64 left = m_reader->framesLeft();
        // Headers are untrusted: a frame count in the billions must not overflow.
        const double frames = left >= 0 ? double(left) * target.sampleRate / m_reader->sampleRate()
                                        : double(kDecodeFrames);
        more = qint64(std::min(frames * target.bytesPerFrame(), double(1 << 30)));
    }
    return m_pending.size() + more + QIODevice::bytesAvailable();
}

void RingStream::decodeMore(qint64 wanted)
{
    const int channels = m_reader->channels();
    std::vector<float> block(size_t(kDecodeFrames) * size_t(channels));
    while (!m_decodedAll && m_pending.size() < wanted) {
        const qint64 frames = m_reader->read(block.data(), kDecodeFrames);
        if (frames <= 0) {
            m_converter.finish(m_pending);
            m_decodedAll = true;
            m_reader->close(); // release the file now, not at the next Stop
            break;
        }
        m_converter.convert(block.data(), frames, m_pending);
    }
}

qint64 RingStream::readData(char *data, qint64 maxSize)
{
    if (maxSize <= 0)
        return 0;
    if (!m_decodedAll)
        decodeMore(maxSize);
    // Hand out whole frames only: the sound server rejects a torn frame.
    const qint64 frameBytes = m_converter.target().bytesPerFrame();
    qint64 count = std::min<qint64>(maxSize, m_pending.size());
    if (frameBytes > 0 && count >= frameBytes)
        count -= count % frameBytes;
    std::memcpy(data, m_pending.constData(), size_t(count));
    m_pending.remove(0, qsizetype(count));
    return count;
}

} // namespace dpx
