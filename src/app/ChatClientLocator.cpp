// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChatClientLocator.h"

#include "app/DesktopEntry.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace dpx {

namespace {

QString text(const char *source) { return QCoreApplication::translate("ChatClient", source); }

ChatClientLocation checked(const QString &program, const QStringList &arguments)
{
    ChatClientLocation location;
    const QFileInfo info(program);
    if (!info.exists()) {
        location.messages << text(ChatClientText::NotInstalled);
        return location;
    }
    location.program = info.absoluteFilePath();
    location.arguments = arguments;
    if (!info.isFile() || !info.isExecutable()) {
        location.status = ChatClientLocation::Status::NoRights;
        location.messages << text(ChatClientText::NoRights);
        return location;
    }
    location.status = ChatClientLocation::Status::Found;
    return location;
}

} // namespace

QStringList ChatClientLocator::desktopEntryIds()
{
    return {QStringLiteral("skypeforlinux.desktop"), QStringLiteral("skype_skypeforlinux.desktop"),
            QStringLiteral("com.skype.Client.desktop")};
}

ChatClientLocation ChatClientLocator::locate() const
{
#ifdef Q_OS_WIN
    if (m_settings.value(QLatin1String(PathKey)).toString().isEmpty()) {
        return locateInRegistry([](bool localMachine, bool *keyOpened) -> std::optional<QString> {
            const QSettings key(localMachine ? QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Skype\\Phone")
                                             : QStringLiteral("HKEY_CURRENT_USER\\Software\\Skype\\Phone"),
                                QSettings::NativeFormat);
            *keyOpened = key.status() == QSettings::NoError
                && !(key.childKeys().isEmpty() && key.childGroups().isEmpty());
            const QString value = key.value(QStringLiteral("SkypePath")).toString();
            return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
        });
    }
#endif
    return locateOnThisSystem();
}

ChatClientLocation ChatClientLocator::locateOnThisSystem() const
{
    const QString chosen = m_settings.value(QLatin1String(PathKey)).toString();
    if (!chosen.isEmpty())
        return checked(chosen, {});
    const QString onPath = QStandardPaths::findExecutable(QLatin1String(ExecutableName));
    if (!onPath.isEmpty())
        return checked(onPath, {});
    for (const QString &id : desktopEntryIds()) {
        const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        const std::optional<DesktopEntry> entry = file.isEmpty() ? std::nullopt : DesktopEntry::read(file);
        const std::optional<QStringList> command =
            entry ? DesktopEntry::splitExec(entry->value(QStringLiteral("Exec"))) : std::nullopt;
        if (!command)
            continue;
        QString program = command->first();
        if (!QFileInfo(program).isAbsolute()) {
            const QString found = QStandardPaths::findExecutable(program);
            if (found.isEmpty())
                continue;
            program = found;
        }
        return checked(program, command->mid(1));
    }
    ChatClientLocation none;
    none.messages << text(ChatClientText::NotInstalled);
    return none;
}

QStringList ChatClientLocator::userArguments() const
{
    const QVariant value = m_settings.value(QLatin1String(ArgumentsKey));
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    return QProcess::splitCommand(value.toString());
}

ChatClientLocation ChatClientLocator::locateInRegistry(const HiveReader &readHive)
{
    ChatClientLocation location;
    auto read = [&](bool localMachine) {
        bool opened = false;
        const std::optional<QString> value = readHive(localMachine, &opened);
        if (!value)
            location.messages << text(opened ? ChatClientText::QueryFailed : ChatClientText::KeyOpenFailed);
        return value;
    };
    if (const std::optional<QString> user = read(false)) {
        location.status = ChatClientLocation::Status::Found;
        location.program = *user;
        return location;
    }
    if (const std::optional<QString> machine = read(true)) {
        // Installed for another account only: the path is shown, then why it is not used.
        location.status = ChatClientLocation::Status::NoRights;
        location.messages << *machine << text(ChatClientText::NoRights);
    } else {
        location.messages << text(ChatClientText::NotInstalled);
    }
    return location;
}

} // namespace dpx
