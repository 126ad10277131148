// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactEditor.h"
#include "addressbook/ContactPictureStore.h"
#include "addressbook/ContactRecord.h"

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include <functional>

class QLineEdit;

namespace dpx {

class AddressDatabase;
class DropDownButton;
class PhoneBookTransfers;
class ReportListCtrl;
class SkinBitmapButton;

// What the phone book works with.
struct PhoneBookContext {
    AddressDatabase *database = nullptr; // may be closed: an empty list
    QString pictureFolder;
    std::function<void()> contactsChanged; // after every save and delete
    std::function<void(const QString &)> showStatus; // the main window's status line
};

// "電話簿": every contact in a sortable list with a search field; new, edit and delete
// contacts; the import buttons.
class PhoneBookWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 920;
    static constexpr int Height = 386;
    static constexpr const char *Title = QT_TR_NOOP("電話簿");
    static constexpr const char *ColumnSpec = QT_TR_NOOP(
        "姓名, 85, 1;暱稱, 85, 1;職務, 85, 1;公司, 110, 1;部門, 110, 1;商務電話 , 110,1;"
        "商務傳真, 110, 1;住家電話 , 110,1;行動電話, 110,1;");
    static constexpr const char *NothingSelectedText = QT_TR_NOOP("請選擇要刪除的連絡人!");
    static constexpr const char *ExportSelectedText = QT_TR_NOOP("匯出所選連絡人 (vCard)...");
    static constexpr const char *ExportAllText = QT_TR_NOOP("匯出全部連絡人 (vCard)...");
    enum Command { WabDefault = 32775, WabBrowse = 32776, OutlookDefault = 32777, OutlookBrowse = 32778 };

    explicit PhoneBookWindow(PhoneBookContext context, QWidget *parent = nullptr);

    // Reloads the list from the database (the search stays).
    void FillList();
    // Selects the first contact of that name and shows it.
    bool selectContact(const QString &name);
    // The editor for a new contact, or for the contact in that list row.
    ContactEditor *newContact();
    ContactEditor *editRow(int row);
    // Deletes the selected contacts with their pictures; asks first when `ask`.
    void deleteSelected(bool ask = false);
    // The import buttons and menus (a command ID above).
    void importContacts(int command);
    PhoneBookTransfers *transfers() const { return m_transfers; }

    ReportListCtrl *list() const { return m_list; }
    QLineEdit *searchField() const { return m_search; }
    ContactEditor *editor() const { return m_editor; }
    QString lastMessage() const { return m_lastMessage; }

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ContactEditor *openEditor(std::optional<ContactRecord> loaded);
    void applySearch();
    void afterSave(const ContactRecord &saved);
    void message(const QString &text, const QString &detail = {});
    bool dropFiles(QEvent *event);
    void updateImportTips();
    void showListMenu(QPoint position);

    PhoneBookContext m_context;
    ContactPictureStore m_store;
    QList<ContactRecord> m_rows; // the identities of the listed contacts
    ReportListCtrl *m_list = nullptr;
    QLineEdit *m_search = nullptr;
    SkinBitmapButton *m_new = nullptr;
    SkinBitmapButton *m_delete = nullptr;
    DropDownButton *m_wab = nullptr;
    DropDownButton *m_outlook = nullptr;
    QPointer<ContactEditor> m_editor;
    PhoneBookTransfers *m_transfers = nullptr;
    QPixmap m_background;
    QString m_lastMessage;
};

// Whether a contact's nine listed cells hold the search text (letter case ignored); the
// telephone number columns also by digits alone ("0223" finds "02-2345-6789").
bool phoneBookRowMatches(const ContactRecord &row, const QString &search);

} // namespace dpx
