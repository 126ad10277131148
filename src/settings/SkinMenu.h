// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>

#include <functional>

namespace dpx {

class AddressDatabase;

// The "Skin" popup: the seven looks in order, the stored one checked (read afresh each time
// the menu shows). A choice is stored in the settings row, then applied to every window at
// once; a choice that cannot be stored still changes the look and says so on the status line.
class SkinMenu : public QMenu {
    Q_OBJECT
public:
    SkinMenu(AddressDatabase *database, std::function<void(const QString &)> showStatus,
             QWidget *parent = nullptr);

    // Stores and applies a value of the table (what the items do).
    void choose(int value);
    // The checked item's value, -1 when none is checked.
    int checkedValue() const;
    void refreshCheckMark();

private:
    AddressDatabase *m_database;
    std::function<void(const QString &)> m_showStatus;
};

} // namespace dpx
