// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as the start of a recording left behind: the header reader never reads
// outside them, and the repaired length always lies inside a file of that size.
#include "audio/RecordingFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray head(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::WavLayout layout = dpx::readWavLayout(head);
    if (!layout.valid)
        return 0;
    if (layout.dataOffset < 20 || layout.dataOffset > head.size() || layout.blockAlign < 1)
        std::abort();
    for (const qint64 fileSize : {qint64(0), qint64(head.size()), layout.dataOffset + 12345, qint64(1) << 33}) {
        const qint64 length = dpx::repairedDataLength(layout, fileSize);
        if (length < 0 || length % layout.blockAlign || (length > 0 && layout.dataOffset + length > fileSize)
            || layout.dataOffset - 8 + length > 0xFFFFFFFFLL)
            std::abort();
    }
    return 0;
}
