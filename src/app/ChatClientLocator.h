// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSettings;

namespace dpx {

// The texts of the chat-client launcher (simplified Chinese, as the program shows them).
namespace ChatClientText {
inline constexpr const char *KeyOpenFailed = QT_TRANSLATE_NOOP("ChatClient", "错误:无法打开相关的hKEY!");
inline constexpr const char *QueryFailed = QT_TRANSLATE_NOOP("ChatClient", "错误:无法查询有关注册表信息!");
inline constexpr const char *NotInstalled = QT_TRANSLATE_NOOP("ChatClient", "请先安装Skype软件!");
inline constexpr const char *NoRights = QT_TRANSLATE_NOOP("ChatClient", "该账户权限不够,不能使用skype!");
inline constexpr const char *StartFailed = QT_TRANSLATE_NOOP("ChatClient", "SKype启动失败!");
inline constexpr const char *WindowNotFound = QT_TRANSLATE_NOOP("ChatClient", "没有找到");
inline constexpr const char *WindowCaptionPrefix = "Skype (TM) - ";
} // namespace ChatClientText

struct ChatClientLocation {
    enum class Status { Found, NotInstalled, NoRights };
    Status status = Status::NotInstalled;
    QString program;       // when found: what to start
    QStringList arguments; // from its desktop entry, before the user's own
    QStringList messages;  // shown in this order before anything else happens
};

// Where the chat client is, asked in this order:
//   1. "ChatClient/Path" in the program's settings (a choice the user made);
//   2. the client's executable on the PATH;
//   3. its desktop entry (native, snap or flatpak), whose Exec line is started as written.
// Nothing found: only the "install first" text. Found but not executable for this user: the
// "no rights" text. On Windows, the two registry hives are read instead, with their messages.
class ChatClientLocator {
public:
    static constexpr const char *PathKey = "ChatClient/Path";
    static constexpr const char *ArgumentsKey = "ChatClient/Arguments";
    static constexpr const char *ExecutableName = "skypeforlinux";
    // Desktop entry ids: the distribution's package, the snap, the flatpak.
    static QStringList desktopEntryIds();

    explicit ChatClientLocator(const QSettings &settings) : m_settings(settings) {}
    ChatClientLocation locate() const;
    // The user's extra arguments: a list, or one text split like a command line.
    QStringList userArguments() const;

    // The registry lookup: `readHive(localMachine, &keyOpened)` gives the value or nothing.
    using HiveReader = std::function<std::optional<QString>(bool localMachine, bool *keyOpened)>;
    static ChatClientLocation locateInRegistry(const HiveReader &readHive);

private:
    ChatClientLocation locateOnThisSystem() const;
    const QSettings &m_settings;
};

} // namespace dpx
