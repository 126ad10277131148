// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ReportColumns.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>

namespace dpx {

// The heading-click rule of a report list: the first click on a column sorts it ascending,
// another click on the same column reverses it, a click on another column starts ascending.
struct HeaderSortState {
    int column = -1; // -1: rows in the order they were given
    bool ascending = true;

    void click(int clickedColumn)
    {
        ascending = clickedColumn == column ? !ascending : true;
        column = clickedColumn;
    }
};

// The rows of a report list: texts per column and one value of the caller's per row that
// moves with its row when the rows are sorted.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QStringList cells;
        QVariant data;
        bool checked = false; // the row's check box (checkable lists)
    };
    static constexpr int RowDataRole = Qt::UserRole + 1;

    explicit ReportListModel(QObject *parent = nullptr);

    void setColumns(const QList<ReportColumn> &columns);
    void setHeadings(const QStringList &headings);
    const QList<ReportColumn> &columns() const { return m_columns; }

    // Replaces every row; the sort state goes back to the given order.
    void setRows(QList<Row> rows);
    const Row &row(int index) const { return m_rows.at(index); }
    QString cell(int row, int column) const;
    QVariant rowData(int row) const;

    // Rows one at a time, and cells changed in place.
    void appendRow(Row row);
    void removeRow(int row);
    void setCell(int row, int column, const QString &text);

    // A check box before the first column's text; the state moves with its row.
    void setCheckable(bool checkable);
    bool isCheckable() const { return m_checkable; }
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

    // Sorts the rows by one column (stable; keys are worked out once per sort).
    void sortRows(int column, bool ascending);
    const HeaderSortState &sortState() const { return m_sort; }
    // Applies the heading-click rule and sorts.
    void clickHeading(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QList<ReportColumn> m_columns;
    QList<Row> m_rows;
    HeaderSortState m_sort;
    bool m_checkable = false;
};

// Where a column's texts sit in their cells.
Qt::Alignment reportAlignment(ReportColumn::Align align);

} // namespace dpx
