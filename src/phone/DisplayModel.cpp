// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/DisplayModel.h"

#include "phone/PhoneLog.h"

#include <algorithm>

namespace dpx {

namespace {

int lineOf(quint8 code)
{
    return (code >> 4) & 1;
}

int columnOf(quint8 code)
{
    return code & 0x0F;
}

constexpr int TimerColumn = 11; // "MM:SS" fills columns 11-15 of line 1

} // namespace

DisplayModel::DisplayModel() : m_lines{initialLcdLine(), initialLcdLine()} {}

DeviceEventEffects DisplayModel::apply(quint8 code, quint8 value)
{
    DeviceEventEffects fx;
    // This pair also resets key 15's image, and is then handled like any other pair.
    if (code == 0x00 && value == 0x1F) {
        m_lamps.resetKey15();
        fx.key15ImageReset = true;
    }
    if (m_entryActive) {
        continueStringEntry(code, value, fx);
    } else if (m_callTimer.presetPending()) {
        m_callTimer.applyPreset(code, value);
        fx.callTimersChanged = true;
    } else {
        applyTableEvent(code, value, fx);
    }
    return fx;
}

void DisplayModel::applyTableEvent(quint8 code, quint8 value, DeviceEventEffects &fx)
{
    if (code <= 0x0F) {
        if (m_lamps.SetLamp(code, value)) {
            fx.lampSet = true;
            fx.lampState = code;
            fx.lampNumber = value;
        }
        return;
    }
    if (code >= 0x20 && code <= 0x3F) {
        m_lines[lineOf(code)][columnOf(code)] = value;
        redraw(fx);
        return;
    }
    if (code >= 0x40 && code <= 0x5F) {
        if (value == 0xC0) {
            m_entryActive = true;
            m_entryLine = lineOf(code);
            m_entryColumn = columnOf(code);
        } else if (value == 0x80) {
            LcdLine &line = m_lines[lineOf(code)];
            std::fill(line.begin() + columnOf(code), line.end(), quint8(' '));
            redraw(fx);
        }
        return;
    }
    switch (code) {
    case 0x60:
        if (value == 0xFF) {
            ClearLcdLines(0);
            fx.cellsChanged = true;
        } else if (value == 0x00) {
            ShowClock();
            fx.showClock = true;
        }
        return;
    case 0x70:
        if (value == 0xFF) {
            ClearLcdLines(1);
            fx.cellsChanged = true;
        }
        return;
    case 0x61: m_callTimer.requestPreset(); return;
    case 0x80: applyCallTimerControl(value, fx); return;
    case 0x90:
        if (value == 0x02 || value == 0x04) {
            fx.ring = value == 0x02 ? RingEvent::OutsideLineStarts : RingEvent::IntercomStarts;
            StartNumberCapture();
        } else if (value == 0x01) {
            fx.ring = RingEvent::Ends;
            m_capture.stop();
        }
        return;
    default: qCDebug(lcPhone, "ignored event %02x %02x", code, value); return;
    }
}

void DisplayModel::continueStringEntry(quint8 code, quint8 value, DeviceEventEffects &fx)
{
    if (code == 0x80) {
        endStringEntry();
        return;
    }
    putEntryByte(code);
    if (value == 0x80)
        endStringEntry();
    else
        putEntryByte(value);
    redraw(fx);
}

// Writes at the cursor and moves on; past column 15 the text goes on at column 0 of the
// other line, so an overlong text overwrites rather than leaving the 16 columns.
void DisplayModel::putEntryByte(quint8 byte)
{
    m_lines[m_entryLine][m_entryColumn] = byte;
    if (++m_entryColumn >= LcdColumns) {
        m_entryColumn = 0;
        m_entryLine ^= 1;
    }
}

void DisplayModel::endStringEntry()
{
    m_entryActive = false;
    m_entryLine = 0;
    m_entryColumn = 0;
}

void DisplayModel::applyCallTimerControl(quint8 bits, DeviceEventEffects &fx)
{
    switch (m_callTimer.control(bits)) {
    case CallTimer::Command::None: return;
    case CallTimer::Command::StartDisplay: fx.callTimersChanged = true; return;
    case CallTimer::Command::StopDisplay: stopCallTimerDisplay(fx); return;
    case CallTimer::Command::StopDisplayAndBlank:
        stopCallTimerDisplay(fx);
        ClearLcdLines(2);
        fx.cellsChanged = true;
        return;
    }
}

void DisplayModel::stopCallTimerDisplay(DeviceEventEffects &fx)
{
    std::fill(m_lines[0].begin() + TimerColumn, m_lines[0].end(), quint8(' '));
    ShowClock();
    fx.showClock = true;
    fx.cellsChanged = true;
    fx.callTimersChanged = true;
}

DeviceEventEffects DisplayModel::tickSilentCount()
{
    DeviceEventEffects fx;
    m_callTimer.tickSilentCount();
    return fx;
}

DeviceEventEffects DisplayModel::tickCallTimerDisplay()
{
    DeviceEventEffects fx;
    if (!m_callTimer.tickDisplay())
        return fx;
    const QString text = m_callTimer.text();
    for (int i = 0; i < text.size() && TimerColumn + i < LcdColumns; ++i)
        m_lines[0][TimerColumn + i] = quint8(text[i].unicode());
    redraw(fx);
    return fx;
}

NumberCapture::Result DisplayModel::tickNumberCapture()
{
    return m_capture.tick(displayedLine2(), m_lcdDrawn);
}

void DisplayModel::redraw(DeviceEventEffects &fx)
{
    RedrawLcd();
    fx.redraw = true;
}

void DisplayModel::RedrawLcd()
{
    m_clockShown = false;
    normaliseLine1(m_lines[0]);
    normaliseLine2(m_lines[1]);
    m_lcdDrawn = true;
}

void DisplayModel::ShowClock()
{
    m_clockShown = true;
    normaliseLine2ForClock(m_lines[1]);
}

void DisplayModel::ClearLcdLines(int which)
{
    if (which == 0 || which == 2)
        m_lines[0] = blankLcdLine();
    if (which == 1 || which == 2)
        m_lines[1] = blankLcdLine();
}

void DisplayModel::StartNumberCapture()
{
    m_capture.start();
    m_lcdDrawn = false;
}

DisplayModel::Repaint DisplayModel::repaintAction() const
{
    if (m_clockShown)
        return Repaint::Clock;
    const quint8 first1 = m_lines[0][0];
    const quint8 first2 = m_lines[1][0];
    if ((first1 == LcdNeverWritten && first2 == LcdNeverWritten) ||
        (first1 == ' ' && first2 == ' '))
        return Repaint::Nothing;
    return Repaint::Lcd;
}

} // namespace dpx
