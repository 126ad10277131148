// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/CallRecord.h"
#include "phone/DisplayModel.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace dpx {

// The life of one call through the telephone, told from the events the telephone reports:
//  - a ring start opens an incoming call (outside line or intercom); more ring reports of the
//    same call (one per ring) never open a second one;
//  - the call timer being shown while it rings, or within AnswerGraceMs after the ring stopped,
//    answers it and starts the talk time;
//  - a ring that stops and is not answered within the grace is missed;
//  - a call timer that starts with nothing ringing is an outgoing call, numbered by what DPX
//    dialled in the last DialMemoryMs, else by the digits display line 2 shows;
//  - the timer's stop, or the clock shown, ends the call;
//  - a pulled box (or DPX ending) closes an open call with the time known, marked interrupted.
// Used on one thread; the clock is injectable so event tables can be played without waiting.
class CallTracker : public QObject {
    Q_OBJECT
public:
    // The telephone reports the ring off a moment before the timer when the handset is lifted;
    // a ring that stops and has no timer within this long was not answered here. Short enough
    // that the missed call shows at once, long enough for a slow report of the timer.
    static constexpr int AnswerGraceMs = 3000;
    // A call that connects this long after DPX dialled is numbered from the display instead:
    // dialling and the far end picking up take seconds, not minutes.
    static constexpr int DialMemoryMs = 60000;

    enum class State { Idle, Ringing, RingStopped, Talking };
    using Clock = std::function<qint64()>; // milliseconds since the epoch, UTC

    explicit CallTracker(QObject *parent = nullptr);

    void setClock(Clock clock) { m_clock = std::move(clock); }

    // One event pair as the mirror applied it: its effects and the model afterwards.
    void observe(const DeviceEventEffects &fx, const DisplayModel &model);

    // The same steps, one by one.
    void ringStarted(bool outsideLine);
    void ringEnded();
    void callTimerShown(const QString &lineTwoDigits);
    void callTimerStopped();
    // The number read from the display while it rings, and the contact's name if found.
    void callerIdentified(const QString &number, const QString &name);
    // DPX started dialling this number.
    void dialled(const QString &number);
    // The box went away, or DPX ends: an open call is closed as interrupted.
    void closeInterrupted();
    // Ends a ring-stopped call as missed once the grace has run out (the grace timer calls it).
    void settle();

    State state() const { return m_state; }
    const CallRecord &currentCall() const { return m_call; }

Q_SIGNALS:
    // A call started ringing (the number usually follows with callerChanged).
    void ringing(const dpx::CallRecord &call);
    void callerChanged(const dpx::CallRecord &call);
    void answered(const dpx::CallRecord &call);
    void outgoingConnected(const dpx::CallRecord &call);
    void missed(const dpx::CallRecord &call);
    // Every call ends here exactly once, with its talk time: the row to keep.
    void ended(const dpx::CallRecord &call);

private:
    qint64 now() const { return m_clock(); }
    void open(CallDirection direction);
    void startTalking();
    void finish();

    Clock m_clock;
    State m_state = State::Idle;
    CallRecord m_call;
    qint64 m_talkSince = 0;
    qint64 m_ringStoppedAt = 0;
    QString m_dialledNumber;
    qint64 m_dialledAt = 0;
    bool m_timerShown = false; // the mirror's call timer, as last observed
    QTimer m_grace;
};

} // namespace dpx
