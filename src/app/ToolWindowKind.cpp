// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolWindowKind.h"

#include <array>

namespace dpx {

namespace {
constexpr std::array<const char *, ToolWindowCount> Names = {
    "phonebook", "editor", "card", "transfer", "converter",
    "settings", "skin-menu", "history", "actions",
};
}

QString toolWindowName(ToolWindow window)
{
    return QString::fromLatin1(Names.at(size_t(window)));
}

std::optional<ToolWindow> toolWindowFromName(QStringView name)
{
    for (int i = 0; i < ToolWindowCount; ++i)
        if (name.compare(QLatin1String(Names[i]), Qt::CaseInsensitive) == 0)
            return ToolWindow(i);
    return std::nullopt;
}

QStringList toolWindowNames()
{
    QStringList names;
    for (const char *name : Names)
        names << QString::fromLatin1(name);
    return names;
}

} // namespace dpx
