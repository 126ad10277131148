// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a sound file through the segment conversion: the first two bytes pick
// the start and the length, the rest is the file. A success holds exactly the promised bytes.
#include "audio/SegmentConverter.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const QString path =
        QDir::temp().filePath(QStringLiteral("fuzz_segment_convert.%1").arg(::getpid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data) + 2, qint64(size) - 2);
    file.close();

    dpx::SegmentRequest request{path, data[0] / 64.0, std::nullopt};
    if (data[1] != 0)
        request.lengthSeconds = data[1] / 8.0;
    const auto result = dpx::SegmentConverter::convert(request);
    if (result.ok()) {
        const double length = std::min(request.lengthSeconds.value_or(36.0), 36.0);
        if (result.raw.isEmpty() || result.raw.size() > qsizetype(std::floor(length * 16000 + 1e-6)))
            std::abort();
        if (request.lengthSeconds && result.raw.size() != qsizetype(std::floor(length * 16000 + 1e-6)))
            std::abort();
    }
    return 0;
}
