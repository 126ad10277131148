// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/CallTimer.h"

namespace dpx {

void CallTimer::applyPreset(quint8 minutes, quint8 secondsMinusOne)
{
    m_presetPending = false;
    // Any byte may arrive here; carry and wrap so the time always fits "MM:SS".
    const int seconds = int(secondsMinusOne) + 1;
    m_minutes = (int(minutes) + seconds / 60) % 60;
    m_seconds = seconds % 60;
    if (!m_display)
        m_silentCount = true;
}

CallTimer::Command CallTimer::control(quint8 bits)
{
    if (bits & 0x08) {
        m_display = false;
        return Command::StopDisplayAndBlank;
    }
    if (bits & 0x01) {
        reset();
        m_display = true;
        m_silentCount = false;
        return Command::StartDisplay;
    }
    if (bits & 0x02) {
        reset();
        m_display = false;
        return Command::StopDisplay;
    }
    if (bits & 0x04) {
        if (!m_armed) {
            m_armed = true;
            return Command::None;
        }
        m_armed = false;
        m_display = true;
        m_silentCount = false;
        return Command::StartDisplay;
    }
    return Command::None;
}

bool CallTimer::tickSilentCount()
{
    if (!m_silentCount)
        return false;
    countOneSecond();
    return true;
}

bool CallTimer::tickDisplay()
{
    if (!m_display)
        return false;
    countOneSecond();
    return true;
}

void CallTimer::countOneSecond()
{
    if (++m_seconds >= 60) {
        m_seconds = 0;
        if (++m_minutes >= 60)
            m_minutes = 0;
    }
}

QString CallTimer::text() const
{
    return QStringLiteral("%1:%2")
        .arg(m_minutes, 2, 10, QLatin1Char('0'))
        .arg(m_seconds, 2, 10, QLatin1Char('0'));
}

} // namespace dpx
