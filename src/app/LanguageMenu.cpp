// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageMenu.h"

#include "app/Language.h"

#include <QActionGroup>
#include <QMenu>

namespace dpx {

QMenu *addLanguageMenu(QMenu *menu, std::function<void(const QString &)> status)
{
    QMenu *languages = menu->addMenu(QString::fromUtf8(LanguageMenuTitle));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(languages);
    for (const QString &name : Language::names()) {
        QAction *action = languages->addAction(Language::nativeName(name));
        action->setData(name);
        action->setCheckable(true);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, languages, [name, status] {
            LanguageSwitcher *switcher = LanguageSwitcher::active();
            if (!switcher)
                return;
            // Windows retranslate themselves on the LanguageChange event this posts.
            const bool ok = switcher->apply(name);
            if (ok)
                Language::keepChoice(name);
            else if (status)
                status(switcher->problem());
        });
    }
    // The check follows the language in use each time the menu opens.
    const auto check = [languages] {
        const LanguageSwitcher *switcher = LanguageSwitcher::active();
        const QString current = switcher ? switcher->current() : QString::fromLatin1(Language::Default);
        for (QAction *action : languages->actions())
            action->setChecked(action->data().toString() == current);
    };
    check();
    QObject::connect(languages, &QMenu::aboutToShow, languages, check);
    return languages;
}

} // namespace dpx
