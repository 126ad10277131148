// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDraft.h"

namespace dpx {

bool isValidLineCode(QStringView text)
{
    if (text.size() > kLineCodeMaxLength)
        return false;
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || c == u'P' || c == u'p'))
            return false;
    return true;
}

SettingsDraft::SettingsDraft(const PhoneSettings &stored) : m_stored(stored), m_current(stored) {}

bool SettingsDraft::setLineCode(const QString &text)
{
    if (!isValidLineCode(text))
        return false;
    m_current.lineCode = text;
    return true;
}

void SettingsDraft::chooseRing(RingKind kind, const QString &path)
{
    (kind == RingKind::Co ? m_current.coRing : m_current.icmRing) = path;
    (kind == RingKind::Co ? m_coChosen : m_icmChosen) = true;
}

void SettingsDraft::clearRing(RingKind kind)
{
    chooseRing(kind, QString());
}

QString SettingsDraft::ring(RingKind kind) const
{
    return kind == RingKind::Co ? m_current.coRing : m_current.icmRing;
}

bool SettingsDraft::ringChanged(RingKind kind) const
{
    const bool chosen = kind == RingKind::Co ? m_coChosen : m_icmChosen;
    const QString &was = kind == RingKind::Co ? m_stored.coRing : m_stored.icmRing;
    return chosen || ring(kind) != was;
}

PhoneSettingsChange SettingsDraft::change() const
{
    PhoneSettingsChange change;
    if (m_current.showCallerCard != m_stored.showCallerCard)
        change.showCallerCard = m_current.showCallerCard;
    if (m_current.phoneType != m_stored.phoneType)
        change.phoneType = m_current.phoneType;
    if (m_current.lineCode != m_stored.lineCode)
        change.lineCode = m_current.lineCode;
    if (ringChanged(RingKind::Co))
        change.coRing = m_current.coRing;
    if (ringChanged(RingKind::Icm))
        change.icmRing = m_current.icmRing;
    return change;
}

} // namespace dpx
