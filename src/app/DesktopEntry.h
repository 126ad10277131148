// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace dpx {

// The "[Desktop Entry]" group of a .desktop file, as the freedesktop.org Desktop Entry
// Specification defines it: key=value lines, comments and other groups ignored, the string
// escapes \s \n \t \r \\ undone.
class DesktopEntry {
public:
    static DesktopEntry parse(const QByteArray &content);
    // nullopt when the file cannot be read or has no "[Desktop Entry]" group.
    static std::optional<DesktopEntry> read(const QString &path);

    QString value(const QString &key) const { return m_values.value(key); }
    bool contains(const QString &key) const { return m_values.contains(key); }

    // Splits an Exec value into the program and its arguments: spaces separate arguments,
    // double quotes keep spaces (inside them \" \` \$ \\ stand for the character), field codes
    // such as %U or %f are dropped (nothing is handed to the program), "%%" is "%", and the
    // @@ / @@u markers of sandboxed launchers are dropped. nullopt for an unterminated quote
    // or an empty command.
    static std::optional<QStringList> splitExec(const QString &exec);

private:
    QHash<QString, QString> m_values;
    bool m_hasGroup = false;
};

} // namespace dpx
