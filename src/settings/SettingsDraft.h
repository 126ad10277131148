// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/PhoneSettings.h"

#include <QString>

namespace dpx {

enum class RingKind { Co, Icm };

// The line code the settings window accepts: digits, "P" and "p", at most 8 characters.
// Empty is allowed (it is stored as "0").
bool isValidLineCode(QStringView text);
inline constexpr int kLineCodeMaxLength = 8;

// What the settings window holds while it is open: the row as it was read and the user's
// edits. change() tells which columns a save must write; a ring counts as changed when it was
// chosen (even the same file again, to pick up a new version of it) or cleared while set.
class SettingsDraft {
public:
    explicit SettingsDraft(const PhoneSettings &stored = {});

    const PhoneSettings &stored() const { return m_stored; }
    const PhoneSettings &current() const { return m_current; }

    void setShowCallerCard(bool show) { m_current.showCallerCard = show; }
    void setPhoneType(PhoneType type) { m_current.phoneType = type; }
    // False (and nothing changes) for a text the line-code rule refuses.
    bool setLineCode(const QString &text);
    void chooseRing(RingKind kind, const QString &path);
    void clearRing(RingKind kind);
    QString ring(RingKind kind) const;

    PhoneSettingsChange change() const;
    bool hasChanges() const { return !change().isEmpty(); }
    bool ringChanged(RingKind kind) const;

private:
    PhoneSettings m_stored;
    PhoneSettings m_current;
    bool m_coChosen = false;
    bool m_icmChosen = false;
};

} // namespace dpx
