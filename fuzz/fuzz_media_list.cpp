// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as the converter's list file: every entry read is a non-empty line without
// line breaks, and what is read is written back and read again unchanged.
#include "audio/MediaListFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList paths = dpx::MediaListFile::parse(content);
    for (const QString &path : paths)
        if (path.isEmpty() || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
            std::abort();
    if (dpx::MediaListFile::parse(dpx::MediaListFile::serialize(paths)) != paths)
        std::abort();
    return 0;
}
