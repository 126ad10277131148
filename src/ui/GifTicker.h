// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

namespace dpx {

class GifAnimation;

// One timer for the playing GIF controls of one window (UI thread). Controls that are due at
// the same moment (lamps started together) advance in one timer event, so their repaints
// merge too. The window that shows the controls owns the ticker and hands it to each of them;
// a control outliving its ticker simply stops moving.
class GifTicker : public QObject {
    Q_OBJECT
public:
    explicit GifTicker(QObject *parent = nullptr);

    // (Re)starts `control`'s current frame: it is due `delayMs` from now.
    void schedule(GifAnimation *control, int delayMs);
    void cancel(GifAnimation *control);
    int playingCount() const { return int(m_entries.size()); }

private:
    // Timers fire to the millisecond; a control due within this much is taken with the others.
    static constexpr qint64 MergeMs = 1;

    struct Entry {
        GifAnimation *control;
        qint64 due;
    };

    void onTimeout();
    void rearm();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QList<Entry> m_entries;
};

} // namespace dpx
