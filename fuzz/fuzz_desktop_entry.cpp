// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a desktop file: the reader and the Exec splitter must stay inside them,
// and a split command never starts with an empty program.
#include "app/DesktopEntry.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const dpx::DesktopEntry entry = dpx::DesktopEntry::parse(bytes);
    for (const QString &exec : {entry.value(QStringLiteral("Exec")), QString::fromUtf8(bytes)}) {
        const std::optional<QStringList> command = dpx::DesktopEntry::splitExec(exec);
        if (command && (command->isEmpty() || command->first().isEmpty()))
            __builtin_trap();
    }
    return 0;
}
