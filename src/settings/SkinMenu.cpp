// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SkinMenu.h"

#include "addressbook/AddressDatabase.h"
#include "settings/SkinTable.h"
#include "settings/Themes.h"

#include <QActionGroup>

namespace dpx {

SkinMenu::SkinMenu(AddressDatabase *database, std::function<void(const QString &)> showStatus,
                   QWidget *parent)
    : QMenu(tr("Skin"), parent), m_database(database), m_showStatus(std::move(showStatus))
{
    setObjectName(QStringLiteral("skinMenu"));
    auto *group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const SkinEntry &entry : skinTable()) {
        QAction *action = addAction(QString::fromLatin1(entry.menuText));
        action->setCheckable(true);
        action->setData(entry.value);
        group->addAction(action);
        const int value = entry.value;
        connect(action, &QAction::triggered, this, [this, value] { choose(value); });
    }
    connect(this, &QMenu::aboutToShow, this, &SkinMenu::refreshCheckMark);
    refreshCheckMark();
}

void SkinMenu::refreshCheckMark()
{
    const std::optional<int> checked = checkedSkin(storedSkinValue(m_database));
    for (QAction *action : actions())
        action->setChecked(checked && action->data().toInt() == *checked);
}

int SkinMenu::checkedValue() const
{
    for (QAction *action : actions())
        if (action->isChecked())
            return action->data().toInt();
    return -1;
}

void SkinMenu::choose(int value)
{
    if (!skinEntry(value))
        return;
    QString problem;
    if (!m_database || !m_database->IsOpen())
        problem = tr("沒有資料庫");
    else if (!m_database->updateSkin(value))
        problem = m_database->lastError();
    Themes::apply(value);
    refreshCheckMark();
    if (!problem.isEmpty() && m_showStatus)
        m_showStatus(tr("Skin 未儲存: %1").arg(problem));
}

} // namespace dpx
