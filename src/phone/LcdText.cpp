// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/LcdText.h"

#include <array>

namespace dpx {

LcdLine initialLcdLine()
{
    LcdLine line = blankLcdLine();
    line[0] = LcdNeverWritten;
    return line;
}

LcdLine blankLcdLine()
{
    LcdLine line;
    line.fill(' ');
    return line;
}

void normaliseLine1(LcdLine &line)
{
    for (quint8 &cell : line) {
        if (cell < 0x20 || (cell >= 0x80 && cell != LcdCursorCell))
            cell = ' ';
    }
}

void normaliseLine2(LcdLine &line)
{
    for (quint8 &cell : line) {
        if (cell < 0x20 || cell >= 0x80)
            cell = ' ';
        else if (cell == 0x7F)
            cell = '<';
        else if (cell == 0x7E)
            cell = '>';
    }
}

void normaliseLine2ForClock(LcdLine &line)
{
    for (quint8 &cell : line) {
        if (cell < 0x20 || cell >= 0x80)
            cell = ' ';
    }
}

namespace {

QString cellsToText(const LcdLine &line)
{
    QString text(LcdColumns, u' ');
    for (int i = 0; i < LcdColumns; ++i)
        text[i] = line[i] == LcdCursorCell ? QChar(LcdCursorChar) : QChar(line[i]);
    return text;
}

bool allSpaces(QStringView line, int first, int last)
{
    for (int i = first; i <= last; ++i) {
        if (i < line.size() && line[i] != u' ')
            return false;
    }
    return true;
}

// The first run of non-blank characters of text (a part of line); *rest becomes what follows
// that run.
struct Run {
    QString text;
    qsizetype begin = -1; // in line
};
Run firstRun(QStringView line, QStringView text, QStringView *rest)
{
    qsizetype begin = 0;
    while (begin < text.size() && text[begin] == u' ')
        ++begin;
    qsizetype end = begin;
    while (end < text.size() && text[end] != u' ')
        ++end;
    if (rest)
        *rest = text.mid(end);
    return {text.mid(begin, end - begin).toString(), (text.data() - line.data()) + begin};
}

// The left word is the line's first word when columns 0-2 hold something; the middle word
// (columns 7-8 hold something) is the next word after it, the right word (columns 12-15
// hold something) the next word after that. When nothing follows a word, the next search
// falls back to the text before it, down to the whole line.
std::array<Run, 3> softKeyRuns(QStringView line)
{
    std::array<Run, 3> runs;
    QStringView afterLeft; // empty for each split: nothing carries over between lines
    QStringView afterMiddle;
    if (!allSpaces(line, 0, 2))
        runs[0] = firstRun(line, line, &afterLeft);
    if (!allSpaces(line, 7, 8))
        runs[1] = firstRun(line, afterLeft.isEmpty() ? line : afterLeft, &afterMiddle);
    if (!allSpaces(line, 12, 15)) {
        const QStringView from = !afterMiddle.isEmpty() ? afterMiddle
                                 : !afterLeft.isEmpty() ? afterLeft
                                                        : line;
        runs[2] = firstRun(line, from, nullptr);
    }
    return runs;
}

} // namespace

QString displayedLine1(const LcdLine &line)
{
    LcdLine shown = line;
    normaliseLine1(shown);
    return cellsToText(shown);
}

QString displayedLine2(const LcdLine &line)
{
    LcdLine shown = line;
    normaliseLine2(shown);
    return cellsToText(shown);
}

Line1Drawing line1Drawing(const LcdLine &line)
{
    LcdLine shown = line;
    normaliseLine1(shown);
    Line1Drawing drawing;
    drawing.text.reserve(2 * LcdColumns);
    for (quint8 cell : shown) {
        if (cell == ' ') {
            drawing.text += QLatin1String("  ");
        } else if (cell == LcdCursorCell) {
            if (drawing.cursorIndex < 0)
                drawing.cursorIndex = int(drawing.text.size());
            drawing.text += QChar(LcdCursorChar);
        } else {
            drawing.text += QChar(cell);
        }
    }
    return drawing;
}

int cursorColumn(const LcdLine &line)
{
    for (int i = 0; i < LcdColumns; ++i) {
        if (line[i] == LcdCursorCell)
            return i;
    }
    return -1;
}

SoftKeyWords splitSoftKeyWords(QStringView line)
{
    const std::array<Run, 3> runs = softKeyRuns(line);
    return {runs[0].text, runs[1].text, runs[2].text};
}

bool softKeyWordsRepeat(QStringView line)
{
    const std::array<Run, 3> runs = softKeyRuns(line);
    for (size_t i = 0; i < runs.size(); ++i)
        for (size_t j = i + 1; j < runs.size(); ++j)
            if (!runs[i].text.isEmpty() && runs[i].begin == runs[j].begin)
                return true;
    return false;
}

QString ClockText(const QDateTime &localTime)
{
    static const char *const months[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                           "JUL", "AGU", "SEP", "OCT", "NOV", "DEC"};
    static const char *const weekdays[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    const QDate date = localTime.date();
    if (!date.isValid())
        return QString();
    const int day = date.day();
    const QString dayText =
        day >= 10 ? QString::number(day) : QLatin1Char(' ') + QString::number(day);
    return QLatin1String(months[date.month() - 1]) + QLatin1Char(' ') + dayText + QLatin1Char(' ') +
           QLatin1String(weekdays[date.dayOfWeek() % 7]) + QLatin1String("   ") +
           localTime.time().toString(QStringLiteral("HH:mm"));
}

} // namespace dpx
