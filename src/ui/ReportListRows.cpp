// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a report list row by row: appending, removing, changing a cell, check boxes.
#include "ui/ReportListModel.h"

namespace dpx {

void ReportListModel::appendRow(Row row)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(std::move(row));
    endInsertRows();
}

void ReportListModel::removeRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void ReportListModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return;
    QStringList &cells = m_rows[row].cells;
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    Q_EMIT dataChanged(index(row, column), index(row, column));
}

void ReportListModel::setCheckable(bool checkable)
{
    beginResetModel();
    m_checkable = checkable;
    endResetModel();
}

bool ReportListModel::isChecked(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).checked;
}

void ReportListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).checked == checked)
        return;
    m_rows[row].checked = checked;
    Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_checkable && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ReportListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_checkable || role != Qt::CheckStateRole || !index.isValid() || index.column() != 0)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

} // namespace dpx
