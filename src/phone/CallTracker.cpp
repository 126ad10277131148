// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/CallTracker.h"

#include "phone/NumberCapture.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <climits>

namespace dpx {

CallTracker::CallTracker(QObject *parent)
    : QObject(parent), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    qRegisterMetaType<dpx::CallRecord>();
    m_grace.setSingleShot(true);
    m_grace.setTimerType(Qt::PreciseTimer);
    connect(&m_grace, &QTimer::timeout, this, &CallTracker::settle);
}

void CallTracker::observe(const DeviceEventEffects &fx, const DisplayModel &model)
{
    switch (fx.ring) {
    case RingEvent::OutsideLineStarts: ringStarted(true); break;
    case RingEvent::IntercomStarts: ringStarted(false); break;
    case RingEvent::Ends: ringEnded(); break;
    case RingEvent::None: break;
    }
    // Shown twice is still one call: only the change from hidden to shown counts.
    const bool shown = model.callTimer().displayRunning();
    if (shown && !m_timerShown)
        callTimerShown(NumberCapture::firstDigitRun(model.displayedLine2()));
    else if (!shown && m_timerShown)
        callTimerStopped();
    else if (fx.showClock && m_state == State::Talking)
        callTimerStopped(); // the telephone went back to its idle clock
    m_timerShown = shown;
}

void CallTracker::ringStarted(bool outsideLine)
{
    settle();
    switch (m_state) {
    case State::Idle:
        open(outsideLine ? CallDirection::Incoming : CallDirection::Intercom);
        m_state = State::Ringing;
        Q_EMIT ringing(m_call);
        return;
    case State::RingStopped: // rang again before the grace ran out: the same call
        m_grace.stop();
        m_state = State::Ringing;
        return;
    case State::Ringing:
    case State::Talking:
        return;
    }
}

void CallTracker::ringEnded()
{
    settle();
    if (m_state != State::Ringing)
        return;
    m_state = State::RingStopped;
    m_ringStoppedAt = now();
    m_grace.start(AnswerGraceMs);
}

void CallTracker::callTimerShown(const QString &lineTwoDigits)
{
    settle();
    switch (m_state) {
    case State::Ringing:
    case State::RingStopped:
        m_grace.stop();
        m_call.answered = true;
        startTalking();
        Q_EMIT answered(m_call);
        return;
    case State::Idle: {
        open(CallDirection::Outgoing);
        const bool dialledLately = !m_dialledNumber.isEmpty() && now() - m_dialledAt <= DialMemoryMs
            && now() >= m_dialledAt;
        m_call.number = dialledLately ? m_dialledNumber : lineTwoDigits;
        m_dialledNumber.clear();
        m_call.answered = true;
        startTalking();
        Q_EMIT outgoingConnected(m_call);
        return;
    }
    case State::Talking:
        return;
    }
}

void CallTracker::callTimerStopped()
{
    settle();
    if (m_state == State::Talking)
        finish();
}

void CallTracker::callerIdentified(const QString &number, const QString &name)
{
    if (number.isEmpty() || m_state == State::Idle || !m_call.isIncoming())
        return;
    if (m_call.number == number && m_call.name == name)
        return;
    m_call.number = number;
    m_call.name = name;
    Q_EMIT callerChanged(m_call);
}

void CallTracker::dialled(const QString &number)
{
    m_dialledNumber = number;
    m_dialledAt = now();
}

void CallTracker::closeInterrupted()
{
    if (m_state == State::Idle)
        return;
    m_grace.stop();
    m_call.interrupted = true;
    finish();
}

void CallTracker::settle()
{
    if (m_state != State::RingStopped)
        return;
    const qint64 waited = now() - m_ringStoppedAt;
    if (waited >= 0 && waited < AnswerGraceMs) {
        if (!m_grace.isActive())
            m_grace.start(int(AnswerGraceMs - waited));
        return;
    }
    m_grace.stop();
    finish();
}

void CallTracker::open(CallDirection direction)
{
    m_call = CallRecord();
    m_call.direction = direction;
    m_call.started = QDateTime::fromMSecsSinceEpoch(now(), Qt::UTC);
}

void CallTracker::startTalking()
{
    m_state = State::Talking;
    m_talkSince = now();
}

void CallTracker::finish()
{
    if (m_state == State::Talking) {
        // A clock set back mid-call gives no negative talk time.
        const qint64 talked = std::max<qint64>(0, now() - m_talkSince);
        m_call.talkSeconds = int(std::min<qint64>((talked + 500) / 1000, INT_MAX));
    }
    m_state = State::Idle;
    const CallRecord call = m_call;
    m_call = CallRecord();
    if (call.isMissed())
        Q_EMIT missed(call);
    Q_EMIT ended(call);
}

} // namespace dpx
