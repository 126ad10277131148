// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimTelephone.h"

#include "sim/SimBoxState.h"
#include "sim/SimFrames.h"

namespace dpx {

namespace {
constexpr quint8 CellWriteLine2 = 0x30; // + column
constexpr quint8 LineCommand = 0x40;    // + 0x10 for line 2, + column
constexpr quint8 BlankToEnd = 0x80;
constexpr quint8 BeginEntry = 0xC0;
constexpr quint8 EndEntry = 0x80;
constexpr quint8 LampGreenSteady = 0x0C;
constexpr quint8 LampOff = 0x00;
const QByteArray BlankLine(SimTelephone::Columns, ' ');
} // namespace

SimTelephone::SimTelephone(std::shared_ptr<SimBoxState> state)
    : m_state(std::move(state))
    , m_lines{BlankLine, BlankLine}
{
}

void SimTelephone::send(const QList<Pair> &pairs)
{
    m_state->sendReports(sim::eventReports(pairs));
}

void SimTelephone::powerOn()
{
    std::lock_guard lock(m_state->phoneMutex);
    m_lines[0] = m_lines[1] = BlankLine;
    m_dialColumn = 0;
    m_ringing = m_inCall = false;
    m_lamps.clear();
    m_clockShown = true;
    send({{0x60, 0x00}});
}

QByteArray SimTelephone::displayable(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text.left(Columns))
        bytes.append(c.unicode() >= 0x20 && c.unicode() <= 0x7E ? char(c.unicode()) : '?');
    return bytes;
}

// Blanks the line, then writes the text by string entry: characters two per pair, ended by a
// pair whose value is 0x80 (odd length) or whose code is 0x80 (even length). At most 16
// characters, so the entry never runs over into the other line.
void SimTelephone::appendLineText(QList<Pair> &pairs, int line, const QByteArray &text)
{
    const quint8 lineCode = quint8(LineCommand | (line == 2 ? 0x10 : 0x00));
    pairs.append({lineCode, BlankToEnd});
    m_lines[line - 1] = BlankLine;
    if (line == 1)
        m_clockShown = false;
    if (text.isEmpty())
        return;
    pairs.append({lineCode, BeginEntry});
    qsizetype i = 0;
    for (; i + 1 < text.size(); i += 2)
        pairs.append({quint8(text.at(i)), quint8(text.at(i + 1))});
    if (i < text.size())
        pairs.append({quint8(text.at(i)), EndEntry});
    else
        pairs.append({EndEntry, EndEntry});
    m_lines[line - 1].replace(0, text.size(), text);
}

void SimTelephone::echoDialled(char character, QList<Pair> &pairs)
{
    QByteArray &line2 = m_lines[1];
    if (m_dialColumn == 0) {
        pairs.append({quint8(LineCommand | 0x10), BlankToEnd});
        line2 = BlankLine;
    }
    if (m_dialColumn < Columns) {
        line2[m_dialColumn] = character;
        pairs.append({quint8(CellWriteLine2 + m_dialColumn), quint8(character)});
        ++m_dialColumn;
        return;
    }
    // A full line scrolls: the newest digit stays in the last column.
    line2 = line2.mid(1) + character;
    for (int column = 0; column < Columns; ++column)
        pairs.append({quint8(CellWriteLine2 + column), quint8(line2.at(column))});
}

int SimTelephone::programmableLamp(quint8 keyCode)
{
    if (keyCode >= 0x21 && keyCode <= 0x2F)
        return keyCode - 0x20; // lamps 1-15
    if (keyCode >= 0x31 && keyCode <= 0x39)
        return keyCode - 0x30 + 15; // lamps 16-24
    return 0;
}

void SimTelephone::pressKey(quint8 keyCode)
{
    std::lock_guard lock(m_state->phoneMutex);
    QList<Pair> pairs;
    keyCode &= 0x7F;
    if (keyCode >= 0x11 && keyCode <= 0x1C) {
        static constexpr char dialPad[] = "1234567890*#";
        echoDialled(dialPad[keyCode - 0x11], pairs);
    } else if (keyCode == HookKeyCode) {
        if (m_ringing) {
            m_ringing = false;
            m_inCall = true;
            pairs = {{0x90, 0x01}, {0x80, 0x01}}; // ring off, call timer shown
        } else if (m_inCall) {
            m_inCall = false;
            m_lines[0] = m_lines[1] = BlankLine;
            m_clockShown = true;
            pairs = {{0x80, 0x08}}; // call timer off, clock shown, both lines blank
        } else {
            pairs = {{quint8(LineCommand | 0x10), BlankToEnd}};
            m_lines[1] = BlankLine;
        }
        m_dialColumn = 0;
    } else if (const int lamp = programmableLamp(keyCode)) {
        const quint8 now = m_lamps.value(quint8(lamp));
        const bool lit = now != LampOff && now != 0x01 && now != 0x09;
        const quint8 state = lit ? LampOff : LampGreenSteady;
        m_lamps.insert(quint8(lamp), state);
        pairs = {{state, quint8(lamp)}};
    }
    send(pairs);
}

void SimTelephone::ring(bool co, const QString &number)
{
    std::lock_guard lock(m_state->phoneMutex);
    QList<Pair> pairs{{0x90, quint8(co ? 0x02 : 0x04)}};
    appendLineText(pairs, 2, displayable(number));
    m_ringing = true;
    m_dialColumn = 0;
    send(pairs);
}

void SimTelephone::dialOnHandset(const QString &number)
{
    std::lock_guard lock(m_state->phoneMutex);
    QList<Pair> pairs;
    m_dialColumn = 0;
    for (char c : displayable(number)) {
        if ((c >= '0' && c <= '9') || c == '*' || c == '#')
            echoDialled(c, pairs);
    }
    m_ringing = false;
    m_inCall = true;
    pairs.append({0x80, 0x01});
    send(pairs);
}

void SimTelephone::connectCall()
{
    std::lock_guard lock(m_state->phoneMutex);
    m_ringing = false;
    m_inCall = true;
    send({{0x80, 0x01}});
}

void SimTelephone::hangUp()
{
    std::lock_guard lock(m_state->phoneMutex);
    QList<Pair> pairs{{0x90, 0x01}};
    if (m_inCall) {
        pairs.append({0x80, 0x08});
        m_lines[0] = BlankLine;
        m_clockShown = true;
    }
    pairs.append({quint8(LineCommand | 0x10), BlankToEnd});
    m_lines[1] = BlankLine;
    m_ringing = m_inCall = false;
    m_dialColumn = 0;
    send(pairs);
}

void SimTelephone::showText(int line, const QString &text)
{
    if (line != 1 && line != 2)
        return;
    std::lock_guard lock(m_state->phoneMutex);
    QList<Pair> pairs;
    appendLineText(pairs, line, displayable(text));
    if (line == 2)
        m_dialColumn = 0;
    send(pairs);
}

void SimTelephone::setLamp(quint8 state, quint8 lamp)
{
    std::lock_guard lock(m_state->phoneMutex);
    m_lamps.insert(lamp, state);
    send({{state, lamp}});
}

void SimTelephone::showClock()
{
    std::lock_guard lock(m_state->phoneMutex);
    m_clockShown = true;
    send({{0x60, 0x00}});
}

void SimTelephone::sendPairs(const QList<Pair> &pairs)
{
    std::lock_guard lock(m_state->phoneMutex);
    send(pairs);
}

QByteArray SimTelephone::line(int line) const
{
    std::lock_guard lock(m_state->phoneMutex);
    return line == 1 || line == 2 ? m_lines[line - 1] : QByteArray();
}

bool SimTelephone::isRinging() const
{
    std::lock_guard lock(m_state->phoneMutex);
    return m_ringing;
}

bool SimTelephone::isInCall() const
{
    std::lock_guard lock(m_state->phoneMutex);
    return m_inCall;
}

bool SimTelephone::isClockShown() const
{
    std::lock_guard lock(m_state->phoneMutex);
    return m_clockShown;
}

quint8 SimTelephone::lampState(quint8 lamp) const
{
    std::lock_guard lock(m_state->phoneMutex);
    return m_lamps.value(lamp);
}

} // namespace dpx
