// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text as a HID trace: the reader must refuse it with a line number or read it
// whole, and whatever it reads must write back to text it reads the same.
#include "device/HidTrace.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::HidTraceParse parsed = dpx::parseHidTrace(text);
    if (!parsed.error.isEmpty()) {
        if (parsed.errorLine < 1 || parsed.errorLine > text.count('\n') + 1)
            std::abort();
        return 0;
    }
    QByteArray again = dpx::hidTraceHeader(parsed.trace.program, parsed.trace.box);
    qint64 last = 0;
    for (const dpx::HidTraceEvent &event : parsed.trace.events) {
        if (event.timeUs < last)
            std::abort(); // times never go backwards
        last = event.timeUs;
        again += dpx::hidTraceLine(event);
    }
    const dpx::HidTraceParse reread = dpx::parseHidTrace(again);
    if (!reread.error.isEmpty() || reread.trace.events.size() != parsed.trace.events.size())
        std::abort();
    return 0;
}
