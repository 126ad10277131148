// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QMenu;

namespace dpx {

// The title stays bilingual in every language, so a user who cannot read the one in use
// still finds the way back.
inline constexpr const char *LanguageMenuTitle = "語言 / Language";

// Adds the "語言 / Language" submenu: one entry per language in its own name, the one in use
// checked. Choosing one switches the running program and keeps the choice; a translation
// that cannot be loaded is reported through status.
QMenu *addLanguageMenu(QMenu *menu, std::function<void(const QString &)> status);

} // namespace dpx
