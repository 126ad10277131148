// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

namespace dpx {

// One line of the telephone's display: one byte per character cell, columns 0..15.
inline constexpr int LcdColumns = 16;
using LcdLine = std::array<quint8, LcdColumns>;

// Column 0 holds this byte until the telephone first writes the line.
inline constexpr quint8 LcdNeverWritten = 0x01;
// On line 1 this byte is the telephone's cursor, drawn as a black block.
inline constexpr quint8 LcdCursorCell = 0xFF;
// How a cursor cell appears in the texts below.
inline constexpr char16_t LcdCursorChar = u'\u2588';

LcdLine initialLcdLine(); // never written: 0x01 then 15 spaces
LcdLine blankLcdLine();   // 16 spaces

// The clean-up done before drawing, in place. Line 1: bytes below 0x20 and 0x80..0xFE become
// spaces (0xFF stays, the cursor). Line 2: bytes below 0x20 and from 0x80 become spaces,
// 0x7F becomes '<' and 0x7E '>'. The clock form of line 2 only blanks the control and high bytes.
void normaliseLine1(LcdLine &line);
void normaliseLine2(LcdLine &line);
void normaliseLine2ForClock(LcdLine &line);

// The 16 characters a line shows, one per cell (the cursor cell as LcdCursorChar).
QString displayedLine1(const LcdLine &line);
QString displayedLine2(const LcdLine &line);

// Line 1 as it is drawn: every blank cell doubled, the cursor cell (the first 0xFF) at
// cursorIndex in text, or -1 without one.
struct Line1Drawing {
    QString text;
    int cursorIndex = -1;
};
Line1Drawing line1Drawing(const LcdLine &line);

// Column of the first cursor cell of line 1, -1 when there is none.
int cursorColumn(const LcdLine &line);

// The three words shown over the soft keys, split from line 2's 16 displayed characters.
struct SoftKeyWords {
    QString left;
    QString middle;
    QString right;
    QStringList toList() const { return {left, middle, right}; }
    bool operator==(const SoftKeyWords &) const = default;
};
SoftKeyWords splitSoftKeyWords(QStringView line2);
// Whether one run of line 2 would stand in more than one word slot (a line without blanks,
// such as a long number): such a line is drawn as one text instead of as words.
bool softKeyWordsRepeat(QStringView line2);

// The clock shown in place of line 1, e.g. "AGU  7 THU   09:05", from the given local time.
QString ClockText(const QDateTime &localTime);

} // namespace dpx
