// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

namespace dpx {

class AddressDatabase;
class FolderBarImages;

// The phone-book tree shown in the folder bar: each contact's name with its home, mobile and
// business number and nickname below it. Its menu dials the selected number or opens the
// phone book.
class PhoneBookTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit PhoneBookTree(QWidget *parent = nullptr);

    void setImages(const FolderBarImages &smallImages);
    // Refills the tree from the address book in name order; empty when it is not open.
    void FillPhoneBookTree(AddressDatabase *database);
    QString selectedText() const;
    // The name of the contact the selected line belongs to (empty when none is selected).
    QString selectedContactName() const;
    // Whether the menu's "編輯" can open the phone book.
    void setEditEnabled(bool enabled) { m_editEnabled = enabled; }

Q_SIGNALS:
    void dialRequested(const QString &selectedText); // "外撥"
    void editRequested();                            // "編輯"

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QList<QIcon> m_icons;
    bool m_editEnabled = false;
};

} // namespace dpx
