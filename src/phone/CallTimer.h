// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// The call duration. It counts in one of two ways, each driven by a one-second timer that
// the window owns: silently (after the telephone presets the duration) or shown in columns
// 11-15 of display line 1. At most one of the two counts at a time, so a second is never
// counted twice.
class CallTimer {
public:
    // What a call-timer control value (event code 0x80) asks of the display.
    enum class Command {
        None,                // nothing for the display (also: the first bit-2 value arms)
        StartDisplay,        // the time is shown from now on
        StopDisplay,         // clear columns 11-15 of line 1 and show the clock
        StopDisplayAndBlank, // the same, then blank both lines without drawing
    };

    int minutes() const { return m_minutes; }
    int seconds() const { return m_seconds; }
    bool presetPending() const { return m_presetPending; }
    bool armed() const { return m_armed; }
    // Which window timer must run: the silent count or the shown count.
    bool silentCountRunning() const { return m_silentCount; }
    bool displayRunning() const { return m_display; }

    // Event (0x61, any): the next pair carries (minutes, seconds - 1).
    void requestPreset() { m_presetPending = true; }
    // The pair after a preset request: sets the time and starts the silent count (unless the
    // time is already shown, which then simply goes on from the preset).
    void applyPreset(quint8 minutes, quint8 secondsMinusOne);
    // Event (0x80, bits): bit 3 stops the display; else bit 0 resets and shows; else bit 1
    // resets and stops showing; else bit 2 arms the first time and shows the second time.
    Command control(quint8 bits);

    // One tick of the silent or the shown count; false (and nothing counted) when that count
    // is not running, so a late tick of a stopped timer does no harm.
    bool tickSilentCount();
    bool tickDisplay();

    // "MM:SS" for columns 11-15 of line 1.
    QString text() const;

private:
    void countOneSecond();
    void reset() { m_minutes = m_seconds = 0; }

    int m_minutes = 0;
    int m_seconds = 0;
    bool m_presetPending = false;
    bool m_armed = false;
    bool m_silentCount = false;
    bool m_display = false;
};

} // namespace dpx
