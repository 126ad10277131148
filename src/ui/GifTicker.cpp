// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GifTicker.h"

#include "ui/GifAnimation.h"

namespace dpx {

GifTicker::GifTicker(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.callOnTimeout(this, [this] { onTimeout(); });
    m_clock.start();
}

void GifTicker::schedule(GifAnimation *control, int delayMs)
{
    const qint64 due = m_clock.elapsed() + delayMs;
    for (Entry &entry : m_entries) {
        if (entry.control == control) {
            entry.due = due;
            rearm();
            return;
        }
    }
    m_entries.append({control, due});
    rearm();
}

void GifTicker::cancel(GifAnimation *control)
{
    m_entries.removeIf([control](const Entry &entry) { return entry.control == control; });
    rearm();
}

void GifTicker::onTimeout()
{
    const qint64 now = m_clock.elapsed();
    // Indices stay valid: advancing a frame only draws and schedules a repaint.
    for (Entry &entry : m_entries) {
        if (entry.due > now + MergeMs)
            continue;
        const int delay = entry.control->stepFrame();
        // Keep the rhythm from the due time, unless the thread was held up for longer than a
        // whole frame: then start afresh rather than rush through frames.
        entry.due += delay;
        if (entry.due <= now)
            entry.due = now + delay;
    }
    rearm();
}

void GifTicker::rearm()
{
    if (m_entries.isEmpty()) {
        m_timer.stop();
        return;
    }
    qint64 next = m_entries.first().due;
    for (const Entry &entry : m_entries)
        next = qMin(next, entry.due);
    m_timer.start(int(qBound(qint64(0), next - m_clock.elapsed(), qint64(24 * 3600 * 1000))));
}

} // namespace dpx
