// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/DisplayModel.h"

#include <QByteArray>

#include <initializer_list>

namespace dpx::test {

// Feeds pairs in order; returns the effects of the last one.
inline DeviceEventEffects feed(DisplayModel &model, std::initializer_list<EventPair> pairs)
{
    DeviceEventEffects last;
    for (const EventPair &pair : pairs)
        last = model.apply(pair.first, pair.second);
    return last;
}

// Writes text cell by cell from column 0 of a line (0 or 1), as the telephone does.
inline void writeLine(DisplayModel &model, int line, const QByteArray &text)
{
    for (int i = 0; i < text.size() && i < LcdColumns; ++i)
        model.apply(quint8((line ? 0x30 : 0x20) | i), quint8(text[i]));
}

inline QByteArray rawLine(const LcdLine &line)
{
    return QByteArray(reinterpret_cast<const char *>(line.data()), LcdColumns);
}

} // namespace dpx::test
