// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReportListModel.h"

#include "ui/ReportSortKey.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace dpx {

Qt::Alignment reportAlignment(ReportColumn::Align align)
{
    switch (align) {
    case ReportColumn::Align::Centre:
        return Qt::AlignCenter;
    case ReportColumn::Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ReportColumn::Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

ReportListModel::ReportListModel(QObject *parent) : QAbstractTableModel(parent) {}

void ReportListModel::setColumns(const QList<ReportColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void ReportListModel::setHeadings(const QStringList &headings)
{
    const qsizetype count = std::min(headings.size(), m_columns.size());
    for (qsizetype i = 0; i < count; ++i)
        m_columns[i].heading = headings.at(i);
    if (count > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(count) - 1);
}

void ReportListModel::setRows(QList<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_sort = {};
    endResetModel();
}

QString ReportListModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows.at(row).cells.value(column);
}

QVariant ReportListModel::rowData(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).data : QVariant();
}

void ReportListModel::sortRows(int column, bool ascending)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const ReportSortContext context;
    std::vector<ReportSortKey> keys;
    keys.reserve(m_rows.size());
    for (const Row &row : std::as_const(m_rows))
        keys.emplace_back(row.cells.value(column), context);
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = keys[a].compare(keys[b]);
        return ascending ? c < 0 : c > 0;
    });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPosition(m_rows.size());
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int i = 0; i < int(order.size()); ++i) {
        newPosition[order[i]] = i;
        sorted << std::move(m_rows[order[i]]);
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after << this->index(newPosition[index.row()], index.column());
    changePersistentIndexList(before, after);
    m_sort.column = column;
    m_sort.ascending = ascending;
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ReportListModel::clickHeading(int column)
{
    if (column < 0 || column >= m_columns.size())
        return;
    HeaderSortState next = m_sort;
    next.click(column);
    sortRows(next.column, next.ascending);
}

int ReportListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ReportListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_rows.at(index.row()).cells.value(index.column());
    case Qt::TextAlignmentRole:
        return int(reportAlignment(m_columns.value(index.column()).align));
    case RowDataRole:
        return m_rows.at(index.row()).data;
    case Qt::CheckStateRole:
        if (m_checkable && index.column() == 0)
            return m_rows.at(index.row()).checked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).heading;
    if (role == Qt::TextAlignmentRole)
        return int(reportAlignment(m_columns.at(section).align));
    return {};
}

} // namespace dpx
