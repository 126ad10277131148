// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ReportListModel.h"

#include <QSortFilterProxyModel>
#include <QTableView>

#include <functional>

namespace dpx {

// A report-style list: columns from a specification text, grid lines, full-row selection of
// several rows, headings that sort (see HeaderSortState) and an optional row filter. Rows are
// addressed by their position in the model (listModel()); the filter only hides rows.
class ReportListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit ReportListCtrl(QWidget *parent = nullptr);

    ReportListModel *listModel() const { return m_model; }
    void setColumnSpec(const QString &spec);
    void setColumns(const QList<ReportColumn> &columns);
    void setRows(QList<ReportListModel::Row> rows);
    int rowCount() const { return m_model->rowCount(); }

    // Rows to show: nullptr shows every row. Call refilter() when what it depends on changes.
    void setRowFilter(std::function<bool(int row)> accept);
    void refilter();
    bool isRowShown(int row) const;
    int shownRowCount() const;

    // The model rows under a point of the viewport (-1: no row) and those selected, in the
    // order the list shows them.
    int rowAtPoint(QPoint viewportPos) const;
    QList<int> selectedRows() const;
    void selectRow(int row, bool scrollTo = true);

    // A heading click as the user makes it.
    void clickHeading(int column);

Q_SIGNALS:
    void rowDoubleClicked(int row);  // on a row
    void emptyDoubleClicked();       // below the rows
    void rowActivated(int row);      // Enter on the current row
    void deleteRequested();          // the Delete key

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Filter;
    QModelIndex viewIndex(int row) const;

    ReportListModel *m_model = nullptr;
    Filter *m_filter = nullptr;
};

} // namespace dpx
