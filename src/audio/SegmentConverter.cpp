// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SegmentConverter.h"

#include "audio/PcmConverter.h"
#include "audio/SoundFileReader.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace dpx {

namespace {

constexpr qint64 kBlockFrames = 8192;
// Real audio around the segment feeds the resampler's filter, so the cut edges match a
// conversion of the whole file cut afterwards (about 20 ms each side).
constexpr double kContextSeconds = 0.02;

SegmentConverter::Result failure(const QString &error)
{
    return {{}, error};
}

} // namespace

SegmentConverter::Result SegmentConverter::convert(const SegmentRequest &request)
{
    const double start = request.startSeconds;
    const double length = std::min(request.lengthSeconds.value_or(maxSeconds), maxSeconds);
    if (!std::isfinite(start) || start < 0 || !std::isfinite(length) || length <= 0)
        return failure(QStringLiteral("The segment's start or length is out of range."));
    if (!QFileInfo(request.source).isFile())
        return failure(QStringLiteral("%1 is not a file.").arg(request.source));

    SoundFileReader reader;
    if (!reader.open(request.source))
        return failure(QStringLiteral("%1 is not a sound file that can be read.").arg(request.source));
    const qint64 rate = reader.sampleRate();
    const int channels = reader.channels();
    const qint64 startFrame = std::llround(start * double(rate));
    if (reader.totalFrames() >= 0 && startFrame >= reader.totalFrames())
        return failure(QStringLiteral("The file ends at %1 s, before the start.")
                           .arg(double(reader.totalFrames()) / double(rate), 0, 'f', 2));

    // The context before the start is a whole number of resampling periods, so the samples
    // it produces can be dropped exactly.
    const qint64 common = std::gcd(rate, qint64(outputRate));
    const qint64 periodFrames = rate / common;
    const qint64 periodOutput = outputRate / common;
    const qint64 contextPeriods = std::min(
        startFrame / periodFrames, qint64(std::ceil(kContextSeconds * double(rate) / double(periodFrames))));
    const qint64 leadFrames = contextPeriods * periodFrames;
    const qint64 leadOutput = contextPeriods * periodOutput;
    if (!reader.seek(startFrame - leadFrames))
        return failure(QStringLiteral("The file cannot be read from %1 s.").arg(start, 0, 'f', 2));

    const qint64 segmentFrames = qint64(std::ceil(length * double(rate) - 1e-6));
    const qint64 tailFrames = qint64(std::ceil(kContextSeconds * double(rate)));
    const qint64 framesToRead = leadFrames + segmentFrames + tailFrames;

    PcmConverter converter(int(rate), channels, {outputRate, 1, PcmSampleType::MuLaw},
                           ResampleQuality::High);
    if (!converter.isValid())
        return failure(QStringLiteral("The file's sample rate cannot be converted."));
    QByteArray converted;
    converted.reserve(qsizetype((length + 2 * kContextSeconds) * outputRate) + 1024);
    std::vector<float> block(size_t(kBlockFrames) * size_t(channels));
    qint64 decoded = 0;
    while (decoded < framesToRead) {
        const qint64 got = reader.read(block.data(), std::min(kBlockFrames, framesToRead - decoded));
        if (got <= 0)
            break;
        converter.convert(block.data(), got, converted);
        decoded += got;
    }
    converter.finish(converted);

    const qint64 segmentDecoded = decoded - leadFrames;
    qint64 bytes = qint64(std::floor(length * outputRate + 1e-6));
    if (segmentDecoded < segmentFrames) {
        // The file ends inside the segment: a named length cannot be met; otherwise the
        // segment is what the file still holds (the decoder's end, not the header's length,
        // which is an estimate for some MP3s).
        const double endsAt = double(startFrame + std::max<qint64>(segmentDecoded, 0)) / double(rate);
        if (request.lengthSeconds)
            return failure(QStringLiteral("The file ends at %1 s, before the segment's end.")
                               .arg(endsAt, 0, 'f', 2));
        bytes = segmentDecoded * outputRate / rate;
        if (bytes <= 0)
            return failure(QStringLiteral("The file holds no sound after %1 s.").arg(start, 0, 'f', 2));
    }
    QByteArray raw = converted.mid(qsizetype(leadOutput), qsizetype(bytes));
    // The resampler may round its last samples away: silence (0xFF) makes up the count.
    if (raw.size() + 64 < bytes)
        return failure(QStringLiteral("The decoder stopped early."));
    if (raw.size() < bytes)
        raw.append(qsizetype(bytes) - raw.size(), char(0xFF));
    return {raw, {}};
}

QString SegmentConverter::write(const QString &target, const QByteArray &raw)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString());
    if (file.write(raw) != raw.size() || !file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString());
    return {};
}

} // namespace dpx
