// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary cells through the report list's sort keys: on every triple the order is a strict
// weak order (irreflexive, antisymmetric, transitive), and only equal texts compare equal.
#include "ui/ReportSortKey.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const dpx::ReportSortContext context;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList cells = text.split(u'\n');
    while (cells.size() < 3)
        cells << QString();
    const dpx::ReportSortKey a(cells[0], context), b(cells[1], context), c(cells[2], context);
    const int ab = a.compare(b), ba = b.compare(a), bc = b.compare(c), ac = a.compare(c);
    if (a.compare(a) != 0 || (ab < 0) != (ba > 0) || (ab == 0) != (cells[0] == cells[1]))
        std::abort();
    if (ab < 0 && bc < 0 && ac >= 0)
        std::abort();
    if (ab == 0 && bc == 0 && ac != 0)
        std::abort();
    return 0;
}
