// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/KeyCodes.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace dpx {

// Dials one number at a time: the outside-line code, a pause, then the number, pressing each
// key when its turn comes and measuring the pause after it from that moment. Runs on the UI
// thread's timers, so the key frames are written where every other key is written.
class DialSequencer : public QObject {
    Q_OBJECT
public:
    // Presses one key; false when the key could not be sent (the sequence then stops).
    using PressFunction = std::function<bool(int keyNumber)>;

    explicit DialSequencer(PressFunction press, QObject *parent = nullptr);

    // Who waits each pause: by default a precise timer on this thread. A replacement (tests)
    // gets the pause in milliseconds and calls resume() when it is over.
    using WaitFunction = std::function<void(int pauseMs)>;
    void setWait(WaitFunction wait) { m_wait = std::move(wait); }
    void resume() { step(); }

    // Starts dialling; false when a number is being dialled already (nothing changes then).
    bool start(const QList<DialStep> &steps, const QString &number);
    void cancel();
    bool isRunning() const { return m_index >= 0; }
    QString number() const { return m_number; }

Q_SIGNALS:
    // The sequence ended: all keys pressed (true) or stopped by a key that could not be sent.
    void finished(bool completed);

private:
    void step();

    PressFunction m_press;
    WaitFunction m_wait;
    QList<DialStep> m_steps;
    QString m_number;
    qsizetype m_index = -1;
    QTimer m_timer;
};

// What a tel: link or a --dial argument asks to dial: visual separators (space, '-', '.', '(',
// ')') are dropped; digits, '*', '#' and the pause letters p/P stay. Anything else (letters, a
// leading '+', parameters such as ";ext=") makes the number invalid: an empty result.
QString numberFromDialRequest(const QString &request);

} // namespace dpx
