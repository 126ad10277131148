// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/PcmConverter.h"

#include "audio/AudioLog.h"
#include "audio/MuLaw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <soxr.h>

namespace dpx {

namespace {

constexpr int kMaxChannels = 32;

float clipped(float sample)
{
    // NaN from a damaged file becomes silence instead of an undefined conversion.
    if (!(sample == sample))
        return 0.0f;
    return std::clamp(sample, -1.0f, 1.0f);
}

} // namespace

int PcmFormat::bytesPerSample() const
{
    switch (sampleType) {
    case PcmSampleType::UInt8:
    case PcmSampleType::MuLaw:
        return 1;
    case PcmSampleType::Int16:
        return 2;
    case PcmSampleType::Int32:
    case PcmSampleType::Float:
        return 4;
    }
    return 4;
}

PcmConverter::PcmConverter(int sourceRate, int sourceChannels, const PcmFormat &target,
                           ResampleQuality quality)
    : m_sourceRate(sourceRate), m_sourceChannels(sourceChannels), m_target(target)
{
    if (sourceRate <= 0 || sourceChannels <= 0 || sourceChannels > kMaxChannels ||
        !target.isValid() || target.channels > kMaxChannels)
        return;
    if (sourceRate != target.sampleRate) {
        soxr_error_t error = nullptr;
        soxr_quality_spec_t spec =
            soxr_quality_spec(quality == ResampleQuality::High ? SOXR_HQ : SOXR_MQ, 0);
        // High keeps 95 % of the band, as the common command-line converter does.
        if (quality == ResampleQuality::High)
            spec.passband_end = 0.95;
        m_resampler = soxr_create(sourceRate, target.sampleRate, unsigned(target.channels), &error,
                                  nullptr, &spec, nullptr);
        if (error || !m_resampler) {
            qCDebug(lcAudio) << "resampler refused" << sourceRate << target.sampleRate << error;
            if (m_resampler)
                soxr_delete(m_resampler);
            m_resampler = nullptr;
            return;
        }
    }
    m_valid = true;
}

PcmConverter::~PcmConverter()
{
    if (m_resampler)
        soxr_delete(m_resampler);
}

void PcmConverter::convert(const float *interleaved, qint64 frames, QByteArray &out)
{
    if (!m_valid || frames <= 0)
        return;
    const int from = m_sourceChannels;
    const int to = m_target.channels;
    std::vector<float> mapped;
    const float *samples = interleaved;
    if (from != to) {
        mapped.resize(size_t(frames) * size_t(to));
        for (qint64 f = 0; f < frames; ++f) {
            const float *in = interleaved + f * from;
            float *dst = mapped.data() + f * to;
            if (to == 1) {
                float sum = 0.0f;
                for (int c = 0; c < from; ++c)
                    sum += in[c];
                dst[0] = sum / float(from);
            } else {
                for (int c = 0; c < to; ++c)
                    dst[c] = in[c % from];
            }
        }
        samples = mapped.data();
    }
    if (m_resampler)
        resampleAndStore(samples, frames, false, out);
    else
        store(samples, frames, out);
}

void PcmConverter::finish(QByteArray &out)
{
    if (m_valid && m_resampler)
        resampleAndStore(nullptr, 0, true, out);
}

void PcmConverter::resampleAndStore(const float *mapped, qint64 frames, bool last, QByteArray &out)
{
    const double ratio = double(m_target.sampleRate) / double(m_sourceRate);
    const size_t room = size_t(std::ceil(double(frames) * ratio)) + 1024;
    std::vector<float> resampled(room * size_t(m_target.channels));
    size_t used = 0;
    // Draining (input NULL) hands out the tail in as many calls as the room needs.
    for (int turn = 0; turn < 1000; ++turn) {
        size_t taken = 0;
        size_t produced = 0;
        const float *in = last ? nullptr : mapped + used * size_t(m_target.channels);
        const soxr_error_t error = soxr_process(m_resampler, in, last ? 0 : size_t(frames) - used,
                                                &taken, resampled.data(), room, &produced);
        if (error) {
            qCDebug(lcAudio) << "resampler failed:" << error;
            return;
        }
        store(resampled.data(), qint64(produced), out);
        used += taken;
        if (last ? produced == 0 : (used >= size_t(frames) && produced < room))
            return;
    }
}

void PcmConverter::store(const float *samples, qint64 frames, QByteArray &out) const
{
    const qint64 count = frames * m_target.channels;
    const qsizetype start = out.size();
    out.resize(start + qsizetype(count) * m_target.bytesPerSample());
    char *dst = out.data() + start;
    switch (m_target.sampleType) {
    case PcmSampleType::Float:
        for (qint64 i = 0; i < count; ++i) {
            const float value = clipped(samples[i]);
            std::memcpy(dst + i * 4, &value, 4);
        }
        break;
    case PcmSampleType::Int16:
        for (qint64 i = 0; i < count; ++i) {
            const qint16 value = qint16(std::lround(clipped(samples[i]) * 32767.0f));
            std::memcpy(dst + i * 2, &value, 2);
        }
        break;
    case PcmSampleType::Int32:
        for (qint64 i = 0; i < count; ++i) {
            const qint32 value = qint32(std::llround(double(clipped(samples[i])) * 2147483647.0));
            std::memcpy(dst + i * 4, &value, 4);
        }
        break;
    case PcmSampleType::UInt8:
        for (qint64 i = 0; i < count; ++i)
            dst[i] = char(quint8(std::lround(clipped(samples[i]) * 127.0f) + 128));
        break;
    case PcmSampleType::MuLaw:
        // Unclipped: the encoder's own 16-bit clip keeps +1.0 at the top code.
        for (qint64 i = 0; i < count; ++i)
            dst[i] = char(mulaw::encodeFloat(samples[i]));
        break;
    }
}

} // namespace dpx
