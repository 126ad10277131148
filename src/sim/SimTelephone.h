// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <utility>

namespace dpx {

struct SimBoxState;

// The telephone behind the simulated box: it keeps its own two 16-cell display lines and
// lamps and tells the PC every change through event reports, up to three pairs per report.
// Deterministic and thread-safe; owned by SimulatedBox.
class SimTelephone {
public:
    using Pair = std::pair<quint8, quint8>;
    static constexpr quint8 HookKeyCode = 0x47;
    static constexpr int Columns = 16;

    explicit SimTelephone(std::shared_ptr<SimBoxState> state);

    // The box was plugged: blank display, no ring, the clock shown.
    void powerOn();

    // A key of the telephone, as a 7-bit key code (the box passes the PC's key frames here).
    // Digits, star and hash are echoed on line 2; the hook key answers a ringing call, hangs up
    // an answered one, or clears line 2; a programmable key toggles its lamp green.
    void pressKey(quint8 keyCode);

    // Ringing for an outside line (co) or an intercom call, with the caller's number on line 2
    // (printable ASCII, first 16 characters).
    void ring(bool co, const QString &number);
    // The user dials on the handset: each digit is echoed on line 2, then the call connects.
    void dialOnHandset(const QString &number);
    // A call being dialled is answered at the far end: the call timer is shown (0x80, 0x01).
    void connectCall();
    // The call ended: ring off and line 2 cleared.
    void hangUp();
    // Writes line 1 or 2 (first 16 characters; the rest of the line is blanked).
    void showText(int line, const QString &text);
    // One lamp pair (state, lamp) as the lamp tables define them.
    void setLamp(quint8 state, quint8 lamp);
    void showClock();
    // Any pairs, sent in order, three per report.
    void sendPairs(const QList<Pair> &pairs);

    // What the telephone shows. line() returns the 16 cells of line 1 or 2.
    QByteArray line(int line) const;
    bool isRinging() const;
    bool isInCall() const;
    bool isClockShown() const;
    quint8 lampState(quint8 lamp) const; // last state sent, 0 when never

private:
    void send(const QList<Pair> &pairs);
    void appendLineText(QList<Pair> &pairs, int line, const QByteArray &text);
    void echoDialled(char character, QList<Pair> &pairs);
    static QByteArray displayable(const QString &text);
    static int programmableLamp(quint8 keyCode);

    std::shared_ptr<SimBoxState> m_state;
    QByteArray m_lines[2];
    int m_dialColumn = 0;
    bool m_ringing = false;
    bool m_inCall = false;
    bool m_clockShown = false;
    QHash<quint8, quint8> m_lamps;
};

} // namespace dpx
