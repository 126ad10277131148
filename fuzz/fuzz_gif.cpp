// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through the GIF block walker: it must never read outside the data, and
// every frame it cuts out must itself walk as a GIF of exactly that one frame.
#include "ui/GifFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy in a block of its exact size, so that any over-read reaches the sanitizer.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::GifFile gif = dpx::GifFile::parse(bytes);
    if (!gif.isValid() && !gif.frames.isEmpty())
        std::abort();
    for (const dpx::GifFrame &frame : gif.frames) {
        const dpx::GifFile alone = dpx::GifFile::parse(frame.file);
        if (!alone.isValid() || alone.frames.size() != 1 || alone.screen != gif.screen
            || alone.frames.first().area != frame.area || alone.frames.first().delay != frame.delay
            || alone.frames.first().disposal != frame.disposal || alone.frames.first().file != frame.file)
            std::abort();
    }
    return 0;
}
