// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace dpx {

// Texts of the PC ring that the main window shows in a message box (OK button only,
// application title as caption).
QString noRingDeviceMessage();    // no output device may carry the ring
QString ringFileMissingMessage(); // the enabled ring file is not in the data folder

// The fixed ring files in the data folder: "co.mp3" for outside-line calls, "icm.mp3" for
// intercom calls. The settings window copies the user's choice there.
QString RingFilePath(const QString &dataFolder, bool outsideLine);

// An output device may carry the ring unless its description contains (case-sensitive,
// anywhere) "Default ", "default ", "DirectSound:", "directSound:" or "ORVAN": the system's
// default-device entries, DirectSound entries and the telephone box's own sound card.
bool IsRingDeviceEligible(const QString &description);
// Index of the first eligible description in the order given, or -1 when none is.
qsizetype FirstRingDevice(const QStringList &descriptions);

enum class RingAction {
    Nothing,     // that call kind has no PC ring: no sound, no message
    Play,        // play `path` once (the player stops what it holds first)
    ShowMessage, // show `message`, play nothing
    Stop,        // stop the player
};

struct RingDecision {
    RingAction action = RingAction::Nothing;
    QString path;    // for Play
    QString message; // for ShowMessage

    bool operator==(const RingDecision &other) const = default;
};

// The main window's ring request, decided from the settings row's ring columns (`coring`,
// `icmring`: empty or NULL means off; only used as switches, the fixed file is what plays)
// and the data folder. A stop report wins over the call kind.
RingDecision DecideRingRequest(bool outsideLine, bool stop, const QString &coRing,
                               const QString &icmRing, const QString &dataFolder);

} // namespace dpx
