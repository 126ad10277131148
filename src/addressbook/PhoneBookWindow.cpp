// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/PhoneBookWindow.h"

#include "ui/Translated.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/ContactEditor.h"
#include "addressbook/PhoneBookTransfers.h"
#include "addressbook/WindowMessage.h"
#include "ui/Art.h"
#include "ui/DropDownButton.h"
#include "ui/ReportListCtrl.h"
#include "ui/SkinBitmapButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QPainter>
#include <QShortcut>

#include <algorithm>

namespace dpx {

namespace {

constexpr int Unit = 2;
constexpr int SearchHeight = 26;

QRect placed(int x, int y, int width, int height)
{
    return QRect(x * Unit, y * Unit, width * Unit, height * Unit);
}

bool isNumberColumn(ContactColumn column)
{
    return column == ContactColumn::BusinessTelephoneNumber || column == ContactColumn::BusinessFaxNumber
        || column == ContactColumn::HomeTelephoneNumber || column == ContactColumn::MobileTelephoneNumber;
}

} // namespace

bool phoneBookRowMatches(const ContactRecord &row, const QString &search)
{
    const QString wanted = search.trimmed();
    if (wanted.isEmpty())
        return true;
    // A search made of digits and number separators also finds numbers written otherwise.
    const QString wantedDigits = numberDigits(wanted);
    const bool digitsOnly = !wantedDigits.isEmpty()
        && std::all_of(wanted.cbegin(), wanted.cend(), [](QChar c) {
               return c.isDigit() || QStringLiteral(" -+()./").contains(c);
           });
    for (ContactColumn column : kIdentityColumns) {
        const QString cell = row.text(column);
        if (cell.contains(wanted, Qt::CaseInsensitive))
            return true;
        if (digitsOnly && isNumberColumn(column) && numberDigits(cell).contains(wantedDigits))
            return true;
    }
    return false;
}

PhoneBookWindow::PhoneBookWindow(PhoneBookContext context, QWidget *parent)
    : QDialog(parent), m_context(std::move(context)), m_store(m_context.pictureFolder),
      m_background(artPixmap(QStringLiteral("199")))
{
    setTranslated(this, "windowTitle", this, Title);
    setFixedSize(Width, Height);

    m_search = new QLineEdit(this);
    setTranslated(m_search, "placeholderText", this, QT_TR_NOOP("搜尋 (Ctrl+F)"));
    m_search->setClearButtonEnabled(true);
    m_search->setGeometry(4, 2, 300, SearchHeight - 4);
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &PhoneBookWindow::applySearch);

    m_list = new ReportListCtrl(this);
    const QRect listArea = placed(0, 1, 460, 162);
    m_list->setGeometry(listArea.adjusted(0, SearchHeight - 2, 0, 0));
    m_list->setColumnSpec(tr(ColumnSpec));
    m_list->setRowFilter([this](int row) { return phoneBookRowMatches(m_rows.value(row), m_search->text()); });
    connect(m_list, &ReportListCtrl::rowDoubleClicked, this, &PhoneBookWindow::editRow);
    connect(m_list, &ReportListCtrl::rowActivated, this, &PhoneBookWindow::editRow);
    connect(m_list, &ReportListCtrl::deleteRequested, this, [this] { deleteSelected(true); });

    m_new = new SkinBitmapButton(QString(), this);
    setTranslated(m_new, "text", this, QT_TR_NOOP("新連絡人"));
    m_new->setGeometry(placed(22, 170, 59, 15));
    m_delete = new SkinBitmapButton(QString(), this);
    setTranslated(m_delete, "text", this, QT_TR_NOOP("刪除連絡人"));
    m_delete->setGeometry(placed(140, 169, 59, 15));
    for (SkinBitmapButton *button : {m_new, m_delete})
        button->SetUp(132, 5, 3, 3, 3, 3);
    connect(m_new, &QPushButton::clicked, this, &PhoneBookWindow::newContact);
    connect(m_delete, &QPushButton::clicked, this, [this] { deleteSelected(false); });

    m_wab = new DropDownButton(this);
    m_wab->setGeometry(placed(258, 169, 59, 15));
    m_wab->SetCaption(QStringLiteral("Outlook Express "));
    m_wab->SetMenuResource({{WabDefault, tr("Default ")}, {WabBrowse, tr("Browse...")}});
    m_outlook = new DropDownButton(this);
    m_outlook->setGeometry(placed(376, 167, 59, 15));
    m_outlook->SetCaption(QStringLiteral("Office Outlook"));
    m_outlook->SetMenuResource({{OutlookDefault, tr("Default")}, {OutlookBrowse, tr("Broswe...")}});
    for (DropDownButton *button : {m_wab, m_outlook}) {
        button->SetFaceColor(QColor(0xCA, 0xCA, 0xCA));
        connect(button, &DropDownButton::menuCommand, this, &PhoneBookWindow::importContacts);
    }
    connect(m_wab, &QPushButton::clicked, this, [this] { importContacts(WabDefault); });
    connect(m_outlook, &QPushButton::clicked, this, [this] { importContacts(OutlookDefault); });

    PhoneBookTransfers::Callbacks callbacks;
    callbacks.refill = [this] { FillList(); };
    callbacks.contactsChanged = m_context.contactsChanged;
    callbacks.message = [this](const QString &text, const QString &detail) { message(text, detail); };
    callbacks.status = m_context.showStatus;
    m_transfers = new PhoneBookTransfers(this, m_context.database, std::move(callbacks));
    connect(m_transfers, &PhoneBookTransfers::importFinished, this, &PhoneBookWindow::updateImportTips);
    updateImportTips();
    // vCard and CSV files dropped on the list are imported; its menu exports.
    m_list->viewport()->setAcceptDrops(true);
    m_list->viewport()->installEventFilter(this);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &PhoneBookWindow::showListMenu);

    auto *newShortcut = new QShortcut(QKeySequence::New, this);
    connect(newShortcut, &QShortcut::activated, this, &PhoneBookWindow::newContact);
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });

    FillList();
    m_list->setFocus();
}

void PhoneBookWindow::FillList()
{
    m_rows.clear();
    if (m_context.database && m_context.database->IsOpen()) {
        if (auto rows = m_context.database->readPhoneBookList())
            m_rows = *rows;
    }
    QList<ReportListModel::Row> rows;
    rows.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        QStringList cells;
        for (ContactColumn column : kIdentityColumns)
            cells << m_rows.at(i).text(column);
        rows.append({cells, i});
    }
    m_list->setRows(std::move(rows));
    m_list->refilter();
}

void PhoneBookWindow::applySearch()
{
    m_list->refilter();
}

bool PhoneBookWindow::selectContact(const QString &name)
{
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const int index = m_list->listModel()->rowData(row).toInt();
        if (m_rows.value(index).name() == name && m_list->isRowShown(row)) {
            m_list->selectRow(row);
            return true;
        }
    }
    return false;
}

ContactEditor *PhoneBookWindow::newContact()
{
    return openEditor(std::nullopt);
}

ContactEditor *PhoneBookWindow::editRow(int row)
{
    const int index = m_list->listModel()->rowData(row).toInt();
    if (row < 0 || index < 0 || index >= m_rows.size())
        return nullptr;
    // The whole row of that identity; of several, the last one read.
    ContactRecord loaded = m_rows.at(index);
    if (m_context.database && m_context.database->IsOpen()) {
        ContactCursor cursor(*m_context.database);
        if (cursor.QueryContacts(ContactQuery::Identity, m_rows.at(index)))
            for (; !cursor.IsEOF(); cursor.MoveNext())
                loaded = cursor.record();
    }
    return openEditor(loaded);
}

ContactEditor *PhoneBookWindow::openEditor(std::optional<ContactRecord> loaded)
{
    if (m_editor) {
        m_editor->raise();
        return m_editor;
    }
    ContactEditorContext context;
    context.database = m_context.database;
    context.pictureFolder = m_context.pictureFolder;
    context.loaded = std::move(loaded);
    auto *editor = new ContactEditor(std::move(context), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &ContactEditor::saved, this, &PhoneBookWindow::afterSave);
    connect(editor, &QDialog::finished, this, [this] {
        if (m_context.contactsChanged)
            m_context.contactsChanged();
    });
    m_editor = editor;
    editor->open();
    return editor;
}

void PhoneBookWindow::afterSave(const ContactRecord &saved)
{
    FillList();
    // The saved contact stays selected and in view.
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const ContactRecord &listed = m_rows.value(m_list->listModel()->rowData(row).toInt());
        bool same = true;
        for (ContactColumn column : kIdentityColumns)
            same = same && listed.text(column) == saved.text(column);
        if (same) {
            m_list->selectRow(row);
            break;
        }
    }
}

void PhoneBookWindow::deleteSelected(bool ask)
{
    if (m_list->rowCount() == 0)
        return;
    const QList<int> selected = m_list->selectedRows();
    if (selected.isEmpty()) {
        message(tr(NothingSelectedText));
        return;
    }
    QList<ContactRecord> identities;
    for (int row : selected)
        identities << m_rows.value(m_list->listModel()->rowData(row).toInt());
    auto doDelete = [this, identities] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QString error = m_context.database
            ? deleteContactsWithPictures(*m_context.database, m_store, identities)
            : QStringLiteral("The address database is not open.");
        FillList();
        QApplication::restoreOverrideCursor();
        if (m_context.contactsChanged)
            m_context.contactsChanged();
        if (!error.isEmpty())
            message(error);
    };
    if (!ask) {
        doDelete();
        return;
    }
    auto *question = new QMessageBox(QMessageBox::Question, QStringLiteral("DPX"),
                                     tr("刪除選取的 %1 位連絡人?").arg(identities.size()),
                                     QMessageBox::Yes | QMessageBox::No, this);
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setObjectName(QStringLiteral("deleteQuestion"));
    connect(question, &QMessageBox::accepted, this, doDelete);
    question->open();
}

void PhoneBookWindow::importContacts(int command)
{
    using Source = PhoneBookTransfers::Source;
    const Source source = command == WabDefault || command == WabBrowse ? Source::VCard : Source::Csv;
    m_transfers->importFrom(source, command == WabBrowse || command == OutlookBrowse);
}

void PhoneBookWindow::updateImportTips()
{
    m_wab->setToolTip(m_transfers->toolTip(PhoneBookTransfers::Source::VCard));
    m_outlook->setToolTip(m_transfers->toolTip(PhoneBookTransfers::Source::Csv));
}

void PhoneBookWindow::showListMenu(QPoint position)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *selected = menu->addAction(tr(ExportSelectedText));
    selected->setEnabled(!m_list->selectedRows().isEmpty());
    connect(selected, &QAction::triggered, this, [this] {
        QList<ContactRecord> identities;
        for (int row : m_list->selectedRows())
            identities << m_rows.value(m_list->listModel()->rowData(row).toInt());
        m_transfers->exportContacts(identities);
    });
    connect(menu->addAction(tr(ExportAllText)), &QAction::triggered, this,
            [this] { m_transfers->exportContacts(std::nullopt); });
    menu->popup(m_list->viewport()->mapToGlobal(position));
}

bool PhoneBookWindow::dropFiles(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    QStringList files;
    for (const QUrl &url : drop->mimeData()->urls()) {
        const QString file = url.toLocalFile();
        if (file.endsWith(u".vcf"_qs, Qt::CaseInsensitive) || file.endsWith(u".vcard"_qs, Qt::CaseInsensitive)
            || file.endsWith(u".csv"_qs, Qt::CaseInsensitive))
            files << file;
    }
    if (files.isEmpty() || m_transfers->isImporting())
        return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        const bool csv = files.first().endsWith(u".csv"_qs, Qt::CaseInsensitive);
        m_transfers->importFiles(files, csv ? PhoneBookTransfers::Source::Csv : PhoneBookTransfers::Source::VCard,
                                 false);
    }
    return true;
}

void PhoneBookWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(0xD8, 0xDE, 0xE6));
    else
        painter.drawPixmap(rect(), m_background);
}

void PhoneBookWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter never closes the window; Escape does (as the close box).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PhoneBookWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport()
        && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove
            || event->type() == QEvent::Drop))
        return dropFiles(event);
    // Escape in the search field clears it first.
    if (watched == m_search && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !m_search->text().isEmpty()) {
        m_search->clear();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PhoneBookWindow::message(const QString &text, const QString &detail)
{
    m_lastMessage = text;
    showWindowMessage(this, text, detail);
}

void PhoneBookWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_list)
        m_list->setColumnHeadings(tr(ColumnSpec));
    QDialog::changeEvent(event);
}

} // namespace dpx
