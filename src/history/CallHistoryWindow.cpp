// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/CallHistoryWindow.h"

#include "ui/Translated.h"

#include "addressbook/AddressDatabase.h"
#include "history/CallHistoryCsv.h"
#include "ui/Art.h"

#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace dpx {

namespace {

// Draws the call's kind as its picture beside the result text.
class KindDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != CallHistoryModel::ResultColumn)
            return;
        static const QStringList pictures{
            QStringLiteral("call-incoming"), QStringLiteral("call-missed"),
            QStringLiteral("call-outgoing"), QStringLiteral("call-intercom"),
            QStringLiteral("call-intercom-missed")};
        const QPixmap picture = artPixmap(pictures.value(index.data(CallHistoryModel::KindRole).toInt()));
        if (!picture.isNull()) {
            option->icon = QIcon(picture);
            option->decorationSize = picture.size();
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
        const auto kind = CallHistoryModel::Kind(index.data(CallHistoryModel::KindRole).toInt());
        if (kind == CallHistoryModel::Kind::Missed || kind == CallHistoryModel::Kind::IntercomMissed)
            option->palette.setColor(QPalette::Text, QColor(196, 30, 30));
    }
};

} // namespace

CallHistoryWindow::CallHistoryWindow(AddressDatabase *database, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database)
{
    setTranslated(this, "windowTitle", this, QT_TR_NOOP("通話記錄"));
    setObjectName(QStringLiteral("callHistory"));
    resize(560, 588);
    m_confirm = [this](const QString &question) {
        return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
    };

    m_model = new CallHistoryModel(database, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    auto *top = new QHBoxLayout;
    m_filters = new QButtonGroup(this);
    const QList<QPair<const char *, CallHistoryModel::Filter>> filters{
        {QT_TR_NOOP("全部"), CallHistoryModel::All}, {QT_TR_NOOP("未接"), CallHistoryModel::Missed},
        {QT_TR_NOOP("來電"), CallHistoryModel::Incoming}, {QT_TR_NOOP("撥出"), CallHistoryModel::Outgoing}};
    for (const auto &[label, filter] : filters) {
        auto *button = new QToolButton(this);
        setTranslated(button, "text", this, label);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setChecked(filter == CallHistoryModel::All);
        m_filters->addButton(button, filter);
        top->addWidget(button);
    }
    connect(m_filters, &QButtonGroup::idClicked, this,
            [this](int id) { m_model->setFilter(CallHistoryModel::Filter(id)); updateCount(); });
    top->addStretch();
    m_search = new QLineEdit(this);
    setTranslated(m_search, "placeholderText", this, QT_TR_NOOP("搜尋姓名或號碼"));
    m_search->setClearButtonEnabled(true);
    m_search->setMinimumWidth(180);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_model->setSearchText(text); updateCount(); });
    top->addWidget(m_search);
    layout->addLayout(top);

    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setItemDelegate(new KindDelegate(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(CallHistoryModel::TimeColumn, 136);
    m_table->setColumnWidth(CallHistoryModel::NameColumn, 100);
    m_table->setColumnWidth(CallHistoryModel::NumberColumn, 110);
    m_table->setColumnWidth(CallHistoryModel::ResultColumn, 90);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_table->installEventFilter(this); // Enter calls back, Delete removes
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this] { callBackSelected(); });
    layout->addWidget(m_table, 1);

    auto *bottom = new QHBoxLayout;
    m_count = new QLabel(this);
    bottom->addWidget(m_count);
    bottom->addStretch();
    auto *exportButton = new QPushButton(this);
    setTranslated(exportButton, "text", this, QT_TR_NOOP("匯出..."));
    connect(exportButton, &QPushButton::clicked, this, &CallHistoryWindow::chooseExportFile);
    bottom->addWidget(exportButton);
    auto *clearButton = new QPushButton(this);
    setTranslated(clearButton, "text", this, ClearAllText);
    connect(clearButton, &QPushButton::clicked, this, [this] { clearAll(); });
    bottom->addWidget(clearButton);
    layout->addLayout(bottom);

    refresh();
}

void CallHistoryWindow::setFilter(CallHistoryModel::Filter filter)
{
    if (QAbstractButton *button = m_filters->button(filter))
        button->setChecked(true);
    m_model->setFilter(filter);
    updateCount();
}

void CallHistoryWindow::refresh()
{
    const QList<qint64> selected = selectedIds();
    if (!m_model->refresh() && m_database)
        Q_EMIT statusText(m_database->lastError());
    for (int row = 0; row < m_model->rowCount() && !selected.isEmpty(); ++row) {
        if (selected.contains(m_model->callAt(row).id))
            m_table->selectRow(row);
    }
    updateCount();
}

void CallHistoryWindow::updateCount()
{
    m_count->setText(tr("%1 / %2 筆").arg(m_model->rowCount()).arg(m_model->totalCount()));
}

int CallHistoryWindow::currentRow() const
{
    const QModelIndex current = m_table->currentIndex();
    if (current.isValid())
        return current.row();
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QList<qint64> CallHistoryWindow::selectedIds() const
{
    QList<qint64> ids;
    if (!m_table || !m_table->selectionModel())
        return ids;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        ids.append(m_model->callAt(index.row()).id);
    return ids;
}

void CallHistoryWindow::callBackSelected()
{
    const int row = currentRow();
    if (row >= 0)
        Q_EMIT callBackRequested(m_model->callAt(row).number);
}

void CallHistoryWindow::addSelectedToPhoneBook()
{
    const int row = currentRow();
    if (row >= 0)
        Q_EMIT addContactRequested(m_model->callAt(row).number);
}

void CallHistoryWindow::deleteSelected()
{
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty() || !m_database)
        return;
    if (m_database->deleteCalls(ids) < 0)
        Q_EMIT statusText(m_database->lastError());
    refresh();
}

bool CallHistoryWindow::clearAll()
{
    if (!m_database || !m_confirm(tr(ClearAllQuestion)))
        return false;
    const bool cleared = m_database->clearCalls();
    if (!cleared)
        Q_EMIT statusText(m_database->lastError());
    refresh();
    return cleared;
}

bool CallHistoryWindow::exportTo(const QString &path)
{
    QString error;
    if (!writeCallHistoryCsv(path, callHistoryCsv(m_model->shownCalls(), m_model->shownNames()), &error)) {
        Q_EMIT statusText(tr("匯出失敗: %1").arg(error));
        return false;
    }
    Q_EMIT statusText(tr("已匯出 %1 筆").arg(m_model->rowCount()));
    return true;
}

void CallHistoryWindow::chooseExportFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(this, tr("匯出通話記錄"),
                                                      folder + QStringLiteral("/通話記錄.csv"),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

void CallHistoryWindow::contextMenuEvent(QContextMenuEvent *event)
{
    const bool onRow = m_table->viewport()->rect().contains(m_table->viewport()->mapFrom(this, event->pos()))
        && m_table->indexAt(m_table->viewport()->mapFrom(this, event->pos())).isValid();
    QMenu menu(this);
    if (onRow) {
        menu.addAction(tr("回撥"), this, &CallHistoryWindow::callBackSelected);
        QAction *add = menu.addAction(tr("加入電話簿"), this, &CallHistoryWindow::addSelectedToPhoneBook);
        add->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CallHistoryWindow::addContactRequested)));
        menu.addAction(tr("刪除"), this, &CallHistoryWindow::deleteSelected);
        menu.addSeparator();
    }
    menu.addAction(tr(ClearAllText), this, [this] { clearAll(); });
    menu.addAction(tr("匯出..."), this, &CallHistoryWindow::chooseExportFile);
    menu.exec(event->globalPos());
}

bool CallHistoryWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
        Q_EMIT seen();
    return QWidget::event(event);
}

bool CallHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            callBackSelected();
            return true;
        }
        if (key == Qt::Key_Delete) {
            deleteSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CallHistoryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_model) {
        // The table's texts come from the model: shown again in the new language.
        Q_EMIT m_model->headerDataChanged(Qt::Horizontal, 0, m_model->columnCount() - 1);
        refresh();
    }
    QWidget::changeEvent(event);
}

} // namespace dpx
