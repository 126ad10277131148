// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/CallTimer.h"
#include "phone/LampBoard.h"
#include "phone/LcdText.h"
#include "phone/NumberCapture.h"

#include <QList>

#include <array>
#include <utility>

namespace dpx {

enum class RingEvent : quint8 { None, OutsideLineStarts, IntercomStarts, Ends };

// What one event pair (or one timer tick) changed, so the window can act on it.
struct DeviceEventEffects {
    bool redraw = false;          // draw the display: RedrawLcd has run on the model
    bool cellsChanged = false;    // cells blanked without drawing (shown at the next draw)
    bool showClock = false;       // draw the clock in place of line 1: ShowClock has run
    bool key15ImageReset = false; // give key 15 its normal images and repaint it now
    bool lampSet = false;         // lamps() accepted (lampState, lampNumber): update that lamp
    quint8 lampState = 0;
    quint8 lampNumber = 0;
    RingEvent ring = RingEvent::None; // start: ring and start the capture timer; end: stop both
    bool callTimersChanged = false;   // start or stop the silent-count and display timers
                                      // to match callTimer()
    bool any() const
    {
        return redraw || cellsChanged || showClock || key15ImageReset || lampSet ||
               ring != RingEvent::None || callTimersChanged;
    }
};

// One (code, value) pair as the telephone sent it.
using EventPair = std::pair<quint8, quint8>;

// The telephone as the main window mirrors it: the two display lines, the call timer,
// the lamps and the caller-number capture, driven by the telephone's event pairs and by the
// window's timers. Used on one thread.
class DisplayModel {
public:
    DisplayModel();

    // One event pair from the telephone, in the order received.
    DeviceEventEffects apply(quint8 code, quint8 value);

    // Window timers. The silent count (1000 ms) only counts; the shown count (1000 ms) counts,
    // writes "MM:SS" into columns 11-15 of line 1 and redraws. A tick of a timer that should
    // not be running changes nothing.
    DeviceEventEffects tickSilentCount();
    DeviceEventEffects tickCallTimerDisplay();
    // Capture timer (200 ms) while the telephone rings; stop the timer on any result but
    // KeepGoing. NumberFound: look numberCapture().number() up.
    NumberCapture::Result tickNumberCapture();

    // The model side of drawing. RedrawLcd cleans the cells in place, clears the clock flag and
    // marks the display drawn; ShowClock sets the clock flag and cleans line 2 for it.
    void RedrawLcd();
    void ShowClock();
    // 0: line 1, 1: line 2, 2: both become 16 blanks; nothing is drawn.
    void ClearLcdLines(int which);
    // Begins a capture: no ticks, no digits, display not drawn since.
    void StartNumberCapture();

    // What a plain repaint of the window should draw.
    enum class Repaint { Nothing, Clock, Lcd };
    Repaint repaintAction() const;

    const LcdLine &line1() const { return m_lines[0]; }
    const LcdLine &line2() const { return m_lines[1]; }
    bool neverWritten(int line) const { return m_lines[line & 1][0] == LcdNeverWritten; }
    QString displayedLine1() const { return dpx::displayedLine1(m_lines[0]); }
    QString displayedLine2() const { return dpx::displayedLine2(m_lines[1]); }
    Line1Drawing line1Drawing() const { return dpx::line1Drawing(m_lines[0]); }
    int cursorColumn() const { return dpx::cursorColumn(m_lines[0]); }
    SoftKeyWords softKeyWords() const { return splitSoftKeyWords(displayedLine2()); }

    bool clockShown() const { return m_clockShown; }
    bool lcdDrawn() const { return m_lcdDrawn; }
    bool stringEntryActive() const { return m_entryActive; }
    int stringEntryLine() const { return m_entryLine; }
    int stringEntryColumn() const { return m_entryColumn; }

    const CallTimer &callTimer() const { return m_callTimer; }
    const LampBoard &lamps() const { return m_lamps; }
    LampBoard &lamps() { return m_lamps; }
    const NumberCapture &numberCapture() const { return m_capture; }


private:
    void continueStringEntry(quint8 code, quint8 value, DeviceEventEffects &fx);
    void putEntryByte(quint8 byte);
    void endStringEntry();
    void applyTableEvent(quint8 code, quint8 value, DeviceEventEffects &fx);
    void applyCallTimerControl(quint8 bits, DeviceEventEffects &fx);
    void stopCallTimerDisplay(DeviceEventEffects &fx);
    void redraw(DeviceEventEffects &fx);

    std::array<LcdLine, 2> m_lines;
    bool m_entryActive = false;
    int m_entryLine = 0;
    int m_entryColumn = 0;
    bool m_clockShown = false;
    bool m_lcdDrawn = false;
    CallTimer m_callTimer;
    LampBoard m_lamps;
    NumberCapture m_capture;

};

} // namespace dpx
