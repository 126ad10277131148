// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/CallActionStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace dpx {

namespace {
const QString Group = QStringLiteral("actions");
}

CallActionStore::CallActionStore(const QString &dataFolder)
    : m_path(QDir(dataFolder).filePath(QStringLiteral("call-actions.ini")))
{
}

QList<CallAction> CallActionStore::load() const
{
    QSettings settings(m_path, QSettings::IniFormat);
    QList<CallAction> actions;
    const int count = std::min(settings.beginReadArray(Group), MaxActions);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const auto when = actionWhenFromName(settings.value(QStringLiteral("when")).toString());
        const auto kind = actionKindFromName(settings.value(QStringLiteral("kind")).toString());
        const QString text = settings.value(QStringLiteral("template")).toString();
        // A file edited by hand is held to the same rules as the window.
        if (when && kind && templateProblem(*kind, text).isEmpty())
            actions.append({*when, *kind, text});
    }
    settings.endArray();
    return actions;
}

QString CallActionStore::save(const QList<CallAction> &actions) const
{
    if (actions.size() > MaxActions)
        return QStringLiteral("at most %1 actions").arg(MaxActions);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const QString problem = templateProblem(actions[i].kind, actions[i].templateText);
        if (!problem.isEmpty())
            return QCoreApplication::translate("CallActions", "動作 %1: %2").arg(i + 1).arg(problem);
    }
    QSettings settings(m_path, QSettings::IniFormat);
    settings.remove(Group);
    settings.beginWriteArray(Group, int(actions.size()));
    for (int i = 0; i < actions.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("when"), actionWhenName(actions[i].when));
        settings.setValue(QStringLiteral("kind"), actionKindName(actions[i].kind));
        settings.setValue(QStringLiteral("template"), actions[i].templateText);
    }
    settings.endArray();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("cannot write %1").arg(m_path);
    return {};
}

} // namespace dpx
