// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace dpx {

// Reads the caller's number from display line 2 while the telephone rings: one tick every
// 200 ms (a window timer) for at most 15 ticks.
class NumberCapture {
public:
    enum class Result {
        Idle,        // not capturing (a late tick after the end)
        KeepGoing,   // nothing yet
        NumberFound, // number() holds the digits; capturing ended
        GaveUp,      // 15 ticks without digits; capturing ended
    };
    static constexpr int MaxTicks = 15;
    static constexpr int TickMs = 200;

    void start();
    void stop() { m_running = false; }
    // line2: the 16 displayed characters; lcdDrawn: the display was drawn since the ring began.
    Result tick(QStringView line2, bool lcdDrawn);

    bool running() const { return m_running; }
    int ticks() const { return m_ticks; }
    QString number() const { return m_number; }

    // The first run of digits 0-9 in text (empty when there is none).
    static QString firstDigitRun(QStringView text);

private:
    bool m_running = false;
    int m_ticks = 0;
    QString m_number;
};

} // namespace dpx
