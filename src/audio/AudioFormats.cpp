// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/AudioFormats.h"

#include <QAudioDevice>

#include <optional>

namespace dpx {

QAudioFormat toAudioFormat(const PcmFormat &format)
{
    QAudioFormat audio;
    audio.setSampleRate(format.sampleRate);
    audio.setChannelCount(format.channels);
    switch (format.sampleType) {
    case PcmSampleType::UInt8:
        audio.setSampleFormat(QAudioFormat::UInt8);
        break;
    case PcmSampleType::Int16:
        audio.setSampleFormat(QAudioFormat::Int16);
        break;
    case PcmSampleType::Int32:
        audio.setSampleFormat(QAudioFormat::Int32);
        break;
    case PcmSampleType::Float:
        audio.setSampleFormat(QAudioFormat::Float);
        break;
    case PcmSampleType::MuLaw: // no device takes it: the format stays invalid
        break;
    }
    return audio;
}

namespace {

std::optional<PcmSampleType> toSampleType(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return PcmSampleType::UInt8;
    case QAudioFormat::Int16:
        return PcmSampleType::Int16;
    case QAudioFormat::Int32:
        return PcmSampleType::Int32;
    case QAudioFormat::Float:
        return PcmSampleType::Float;
    default:
        return std::nullopt;
    }
}

} // namespace

// The file's own rate and channels when the device takes them (the sound server then does
// any mixing and resampling); otherwise the device's preferred format, converted to here.
PcmFormat chooseFormat(const QAudioDevice &device, int rate, int channels)
{
    for (const PcmSampleType type : {PcmSampleType::Float, PcmSampleType::Int16}) {
        const PcmFormat candidate{rate, channels, type};
        if (device.isFormatSupported(toAudioFormat(candidate)))
            return candidate;
    }
    const QAudioFormat preferred = device.preferredFormat();
    const std::optional<PcmSampleType> type = toSampleType(preferred.sampleFormat());
    if (!preferred.isValid() || !type)
        return {};
    return {preferred.sampleRate(), preferred.channelCount(), *type};
}

} // namespace dpx
