// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/CallRecord.h"

#include <QObject>
#include <QTimer>

namespace dpx {

class CallTracker;

// The call tracker's events as other programs want them: an incoming call is announced once,
// when its caller is known (or, failing that, at the ring's outcome or after CallerWaitMs),
// and always before its answer, its end or its being missed. A ring report storm or repeated
// ring reports are one call here, since the tracker opens one call per ring.
class CallEvents : public QObject {
    Q_OBJECT
public:
    // The display shows the caller's number within the number capture's 15 ticks of 200 ms.
    static constexpr int CallerWaitMs = 3200;

    explicit CallEvents(QObject *parent = nullptr);

    void watch(const CallTracker &tracker);

Q_SIGNALS:
    void ringStarted(const dpx::CallRecord &call); // at once, the caller perhaps not yet known
    void incomingCall(const dpx::CallRecord &call);
    void answered(const dpx::CallRecord &call);
    void missed(const dpx::CallRecord &call);
    // A call whose talk ended (answered, or an outgoing call that connected).
    void talkEnded(const dpx::CallRecord &call);

private:
    void announce();

    CallRecord m_ringing;
    bool m_waiting = false;
    QTimer m_callerWait;
};

} // namespace dpx
