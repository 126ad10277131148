// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through the RIFF walker: every read it asks for is answered from the data
// alone, and the audio it finds lies inside the file.
#include "transfer/RiffWalker.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::WaveLayout layout = dpx::walkRiff(
        [&](qint64 offset, int count) {
            if (offset < 0 || count < 0)
                std::abort();
            return file.mid(offset, count);
        },
        file.size());
    if (layout.valid
        && (layout.dataOffset < 12 || layout.dataLength < 0 || layout.dataOffset + layout.dataLength > file.size()
            || layout.formatRecord.size() != 18))
        std::abort();
    return 0;
}
