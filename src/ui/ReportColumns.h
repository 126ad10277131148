// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace dpx {

// One column of a report list: its heading, width in pixels and alignment.
struct ReportColumn {
    enum class Align { Left, Centre, Right };
    QString heading;
    int width = 100;
    Align align = Align::Left;

    bool operator==(const ReportColumn &other) const = default;
};

// Reads a column description such as "Name, 85, 1;Phone, 110,1;": entries split at ';'
// and fields at ',' with empty pieces dropped and nothing trimmed. Field 1 is the heading as
// written, field 2 the width (100 when missing), field 3 the alignment (1 centred, 2 right,
// anything else left). Widths and alignments read like C's atoi: leading blanks, a sign and
// the digits that follow; anything else counts as 0.
QList<ReportColumn> parseColumnSpec(QStringView spec);

// The integer at the start of a text as atoi reads it, saturated to int.
int leadingInteger(QStringView text);

} // namespace dpx
