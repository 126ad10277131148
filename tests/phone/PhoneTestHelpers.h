// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/DisplayModel.h"

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

// Both displayed lines as "line 1|line 2".
inline QString screen(const DisplayModel &model)
{
    return model.displayedLine1() + u'|' + model.displayedLine2();
}

} // namespace dpx::test
