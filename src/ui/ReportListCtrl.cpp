// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReportListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace dpx {

class ReportListCtrl::Filter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    std::function<bool(int)> accept;
    void refresh() { invalidateRowsFilter(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &) const override
    {
        return !accept || accept(sourceRow);
    }
};

ReportListCtrl::ReportListCtrl(QWidget *parent) : QTableView(parent)
{
    m_model = new ReportListModel(this);
    m_filter = new Filter(this);
    m_filter->setSourceModel(m_model);
    m_filter->setDynamicSortFilter(false);
    setModel(m_filter);

    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportListCtrl::clickHeading);
}

void ReportListCtrl::setColumnSpec(const QString &spec)
{
    setColumns(parseColumnSpec(spec));
}

void ReportListCtrl::setColumnHeadings(const QString &spec)
{
    QStringList headings;
    for (const ReportColumn &column : parseColumnSpec(spec))
        headings << column.heading;
    m_model->setHeadings(headings);
}

void ReportListCtrl::setColumns(const QList<ReportColumn> &columns)
{
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns.at(i).width);
}

void ReportListCtrl::setRows(QList<ReportListModel::Row> rows)
{
    m_model->setRows(std::move(rows));
    horizontalHeader()->setSortIndicatorShown(false);
}

void ReportListCtrl::setRowFilter(std::function<bool(int)> accept)
{
    m_filter->accept = std::move(accept);
    refilter();
}

void ReportListCtrl::refilter()
{
    m_filter->refresh();
}

bool ReportListCtrl::isRowShown(int row) const
{
    return viewIndex(row).isValid();
}

int ReportListCtrl::shownRowCount() const
{
    return m_filter->rowCount();
}

QModelIndex ReportListCtrl::viewIndex(int row) const
{
    return m_filter->mapFromSource(m_model->index(row, 0));
}

int ReportListCtrl::rowAtPoint(QPoint viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? m_filter->mapToSource(index).row() : -1;
}

QList<int> ReportListCtrl::selectedRows() const
{
    QList<int> viewRows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        viewRows << index.row();
    std::sort(viewRows.begin(), viewRows.end());
    QList<int> rows;
    for (int viewRow : std::as_const(viewRows))
        rows << m_filter->mapToSource(m_filter->index(viewRow, 0)).row();
    return rows;
}

void ReportListCtrl::selectRow(int row, bool scroll)
{
    const QModelIndex index = viewIndex(row);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (scroll)
        scrollTo(index);
}

void ReportListCtrl::clickHeading(int column)
{
    commitChoice(); // the open list belongs to a row that is about to move
    m_model->clickHeading(column);
    const HeaderSortState &state = m_model->sortState();
    horizontalHeader()->setSortIndicatorShown(state.column >= 0);
    horizontalHeader()->setSortIndicator(state.column,
                                         state.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ReportListCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (opensChoice(event, true))
        return;
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const int row = rowAtPoint(event->position().toPoint());
    if (row < 0)
        Q_EMIT emptyDoubleClicked();
    else
        Q_EMIT rowDoubleClicked(row);
}

void ReportListCtrl::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentIndex().isValid()) {
            Q_EMIT rowActivated(m_filter->mapToSource(currentIndex()).row());
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
        Q_EMIT deleteRequested();
        event->accept();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

} // namespace dpx
