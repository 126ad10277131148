// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneBookTree.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/PhoneBookTreeEntry.h"
#include "ui/FolderBarImages.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

namespace dpx {

namespace {
// Images of the small list: 0 person, 1 home, 2 business, 3 mobile, 4 nickname, 5 selected person.
enum TreeImage { Person = 0, Home = 1, Business = 2, Mobile = 3, Nickname = 4, PersonSelected = 5 };
}

PhoneBookTree::PhoneBookTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("phoneBookTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setAutoExpandDelay(-1);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(QStringLiteral(
        "QTreeWidget { background: rgb(96,128,190); color: white; }"
        "QTreeWidget::item:selected { background: rgb(46,72,128); color: white; }"));
    // One contact open at a time keeps the narrow tree readable.
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *expanded) {
        for (int i = 0; i < topLevelItemCount(); ++i)
            if (topLevelItem(i) != expanded)
                topLevelItem(i)->setExpanded(false);
    });
}

void PhoneBookTree::setImages(const FolderBarImages &smallImages)
{
    m_icons.clear();
    for (int i = 0; i < smallImages.count(); ++i) {
        QIcon icon(smallImages.image(i));
        m_icons << icon;
    }
}

void PhoneBookTree::FillPhoneBookTree(AddressDatabase *database)
{
    clear();
    if (!database || !(database->IsOpen() || database->Open())) {
        // Said where the contacts would be, so an empty tree is not taken for an empty book.
        auto *note = new QTreeWidgetItem(QStringList{tr("無法開啟通訊簿")});
        note->setFlags(Qt::ItemIsEnabled);
        note->setData(0, Qt::UserRole, QStringLiteral("unavailable"));
        addTopLevelItem(note);
        return;
    }
    auto icon = [this](int i) { return i < m_icons.size() ? m_icons.at(i) : QIcon(); };
    QIcon person = icon(Person);
    if (m_icons.size() > PersonSelected)
        person.addPixmap(m_icons.at(PersonSelected).pixmap(16, 16), QIcon::Selected);

    const auto entries = database->readPhoneBookTree();
    if (!entries)
        return;
    QList<QTreeWidgetItem *> contacts;
    contacts.reserve(entries->size());
    for (const PhoneBookTreeEntry &entry : *entries) {
        auto *contact = new QTreeWidgetItem(QStringList{entry.name});
        contact->setIcon(0, person);
        const std::pair<const QString &, int> lines[] = {{entry.homeTelephoneNumber, Home},
                                                         {entry.mobileTelephoneNumber, Mobile},
                                                         {entry.businessTelephoneNumber, Business},
                                                         {entry.nickname, Nickname}};
        for (const auto &[text, image] : lines)
            (new QTreeWidgetItem(contact, QStringList{text}))->setIcon(0, icon(image));
        contacts << contact;
    }
    addTopLevelItems(contacts);
}

QString PhoneBookTree::selectedText() const
{
    const QTreeWidgetItem *item = currentItem();
    return item ? item->text(0) : QString();
}

QString PhoneBookTree::selectedContactName() const
{
    const QTreeWidgetItem *item = currentItem();
    while (item && item->parent())
        item = item->parent();
    return item ? item->text(0) : QString();
}

void PhoneBookTree::contextMenuEvent(QContextMenuEvent *event)
{
    if (QTreeWidgetItem *item = itemAt(event->pos()))
        setCurrentItem(item);
    QMenu menu(this);
    QAction *edit = menu.addAction(tr("編輯"));
    edit->setEnabled(m_editEnabled);
    QAction *dial = menu.addAction(tr("外撥"));
    dial->setEnabled(currentItem() != nullptr);
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == dial)
        Q_EMIT dialRequested(selectedText());
    else if (chosen == edit)
        Q_EMIT editRequested();
}

} // namespace dpx
