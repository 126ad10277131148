// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "integration/CallAction.h"

namespace dpx {

// The user's call actions, kept with QSettings in an INI file of the data folder, so each data
// folder (a simulated and a real telephone, a portable copy) has its own.
class CallActionStore {
public:
    static constexpr int MaxActions = 4;

    explicit CallActionStore(const QString &dataFolder);

    QString path() const { return m_path; }
    // The stored actions; one that is unreadable or no longer valid is left out.
    QList<CallAction> load() const;
    // Stores the actions (at most MaxActions) when every one is valid, else stores nothing and
    // returns the reason: "動作 N: …". Empty on success.
    QString save(const QList<CallAction> &actions) const;

private:
    QString m_path;
};

} // namespace dpx
