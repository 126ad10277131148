// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsSave.h"

#include "addressbook/AddressDatabase.h"
#include "settings/RingInstall.h"

#include <QFileInfo>

namespace dpx {

SettingsSaveResult saveSettingsDraft(AddressDatabase *database, const SettingsDraft &draft,
                                     const RingTargets &targets,
                                     const std::function<void()> &releaseRings,
                                     const QString &noDatabaseText)
{
    using Kind = SettingsSaveResult::Kind;
    SettingsSaveResult result;
    const PhoneSettingsChange change = draft.change();
    if (change.isEmpty())
        return result;
    auto failed = [&](const QString &message) {
        result.kind = Kind::Failed;
        result.message = message;
        return result;
    };
    if (!database || !database->IsOpen())
        return failed(noDatabaseText);

    RingInstall install;
    const std::pair<const std::optional<QString> &, const QString &> rings[] = {
        {change.coRing, targets.co}, {change.icmRing, targets.icm}};
    for (const auto &[choice, target] : rings) {
        if (!choice)
            continue;
        if (choice->isEmpty())
            install.stageRemoval(target);
        else if (!QFileInfo::exists(*choice))
            return failed(ringFileMissingText(*choice));
        else if (!install.stageCopy(*choice, target))
            return failed(install.error());
    }
    if (install.hasWork()) {
        if (releaseRings)
            releaseRings();
        if (!install.commit())
            return failed(install.error());
    }
    if (!database->savePhoneSettings(change))
        return failed(database->lastError());
    result.kind = Kind::Saved;
    result.written = change;
    return result;
}

} // namespace dpx
