// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text through the info.ini parser: never more than 80 table bytes, an even count,
// and a failure always names its line.
#include "transfer/InfoIni.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::InfoIniResult result = dpx::parseInfoIni(text);
    if (result.entries.size() > 80 || result.entries.size() % 2 != 0)
        std::abort();
    if (!result.ok() && !result.error.contains(QLatin1String("line ")))
        std::abort();
    return 0;
}
