// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

namespace dpx {

// Which way a call went and on what kind of line.
enum class CallDirection : quint8 {
    Incoming, // rang in on an outside line
    Intercom, // rang in from another extension
    Outgoing, // dialled from this telephone (by DPX or on the handset)
};

// One call through the telephone, as it is kept in the call history.
struct CallRecord {
    qint64 id = 0;          // the history row; 0 until it is written
    QDateTime started;      // UTC
    CallDirection direction = CallDirection::Incoming;
    QString number;         // as captured from the display or dialled, never interpreted
    QString name;           // the contact's name found at call time (may be empty)
    bool answered = false;  // incoming: answered on this telephone; outgoing: connected
    int talkSeconds = 0;    // from the answer (or the connection) to the end
    bool interrupted = false; // ended by a pulled box or by DPX ending, not by the telephone

    bool isIncoming() const { return direction != CallDirection::Outgoing; }
    bool isMissed() const { return isIncoming() && !answered; }

    // The result word scripts and the export use: answered, missed, outgoing,
    // intercom-answered, intercom-missed.
    QString resultName() const
    {
        switch (direction) {
        case CallDirection::Outgoing: return QStringLiteral("outgoing");
        case CallDirection::Intercom:
            return answered ? QStringLiteral("intercom-answered") : QStringLiteral("intercom-missed");
        case CallDirection::Incoming: break;
        }
        return answered ? QStringLiteral("answered") : QStringLiteral("missed");
    }

    bool operator==(const CallRecord &other) const = default;
};

// The history keeps this many of the newest calls.
inline constexpr int kCallHistoryLimit = 10000;

} // namespace dpx

Q_DECLARE_METATYPE(dpx::CallRecord)
