// SPDX-License-Identifier: GPL-3.0-or-later
// The address book's tool windows: the phone book, a new contact's editor and the caller card.
#include "app/AddressBookWindows.h"

#include "addressbook/ContactEditor.h"
#include "addressbook/PhoneBookWindow.h"
#include "app/DataFolder.h"
#include "app/ToolWindows.h"

namespace dpx {

namespace {

QString pictureFolderOf(const AppServices &services)
{
    return services.dataFolder ? services.dataFolder->pictureFolder() : QString();
}

ContactEditor *makeEditor(const AppServices &services, std::optional<ContactRecord> contact, bool readOnly,
                          QWidget *parent)
{
    ContactEditorContext context;
    context.database = services.database;
    context.pictureFolder = pictureFolderOf(services);
    context.loaded = std::move(contact);
    context.readOnly = readOnly;
    return new ContactEditor(std::move(context), parent);
}

} // namespace

void registerAddressBookWindows()
{
    ToolWindows::registerFactory(ToolWindow::PhoneBook, [](const AppServices &services) -> QWidget * {
        PhoneBookContext context;
        context.database = services.database;
        context.pictureFolder = pictureFolderOf(services);
        context.contactsChanged = services.contactsChanged;
        context.showStatus = services.showStatus;
        auto *window = new PhoneBookWindow(std::move(context), services.mainWindow);
        // Modal to the main window without a nested event loop.
        window->setWindowModality(Qt::WindowModal);
        return window;
    });
    ToolWindows::registerFactory(ToolWindow::ContactEditor, [](const AppServices &services) -> QWidget * {
        auto *editor = makeEditor(services, std::nullopt, false, services.mainWindow);
        editor->setWindowModality(Qt::WindowModal);
        if (services.contactsChanged)
            QObject::connect(editor, &QDialog::finished, editor, services.contactsChanged);
        return editor;
    });
    ToolWindows::registerFactory(ToolWindow::CallerCard, [](const AppServices &services) -> QWidget * {
        // Modeless and outside the main window's hierarchy, so that neither it nor the caller
        // popup is blocked while the phone book (modal to the main window) is open.
        const ContactRecord caller = services.caller ? services.caller() : ContactRecord();
        return makeEditor(services, caller, true, nullptr);
    });
}

void ShowCallerCard(ToolWindows &tools, const ContactRecord &caller)
{
    if (auto *card = tools.windowAs<ContactEditor>(ToolWindow::CallerCard))
        card->showContact(caller);
    tools.open(ToolWindow::CallerCard);
}

void openPhoneBookAt(ToolWindows &tools, const QString &contactName)
{
    if (auto *book = qobject_cast<PhoneBookWindow *>(tools.open(ToolWindow::PhoneBook)); book && !contactName.isEmpty())
        book->selectContact(contactName);
}

} // namespace dpx
