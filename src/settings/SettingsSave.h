// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SettingsDraft.h"

#include <QString>

#include <functional>

namespace dpx {

class AddressDatabase;

struct RingTargets {
    QString co;  // the data folder's "co.mp3"
    QString icm; // the data folder's "icm.mp3"
};

struct SettingsSaveResult {
    enum class Kind {
        NothingToSave, // nothing changed since the window opened: nothing written
        Saved,         // the files are in place and the columns written
        Failed,        // `message` says why; see saveSettingsDraft for what stays
    };
    Kind kind = Kind::NothingToSave;
    QString message;
    PhoneSettingsChange written; // what was saved, for the main window to take over
};

// Saves the draft's changes: every chosen ring is checked and copied beside its target first;
// only then is `releaseRings` called (the ring player lets the files go) and the targets
// replaced or removed; the columns are written last, in one transaction. A missing database,
// a vanished source or a failed copy changes nothing at all (files and row as they were).
SettingsSaveResult saveSettingsDraft(AddressDatabase *database, const SettingsDraft &draft,
                                     const RingTargets &targets,
                                     const std::function<void()> &releaseRings,
                                     const QString &noDatabaseText);

} // namespace dpx
