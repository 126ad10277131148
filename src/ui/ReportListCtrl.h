// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ReportListModel.h"

#include <QPointer>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <functional>

class QComboBox;

namespace dpx {

// A report-style list: columns from a description text, grid lines, full-row selection of
// several rows, headings that sort (see HeaderSortState) and an optional row filter. Rows are
// addressed by their position in the model (listModel()); the filter only hides rows.
class ReportListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit ReportListCtrl(QWidget *parent = nullptr);

    ReportListModel *listModel() const { return m_model; }
    void setColumnSpec(const QString &spec);
    // Only the headings of a spec (another language): widths, rows and order stay.
    void setColumnHeadings(const QString &spec);
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

    // A drop-down list of choices over one column's cells, opened by a left double-click, a
    // right click (press or double-click) or a middle click on such a cell, showing the cell's
    // text. The choice is written into the cell when the list closes: on a pick, on the next
    // opening, and by commitChoice() (call it before using the cells).
    void setChoiceColumn(int column, const QStringList &choices, int dropDownHeight = 200);
    bool openChoice(int row);
    void commitChoice();
    QComboBox *choiceEditor() const;

Q_SIGNALS:
    void rowDoubleClicked(int row);  // on a row
    void emptyDoubleClicked();       // below the rows
    void rowActivated(int row);      // Enter on the current row
    void deleteRequested();          // the Delete key
    void choiceCommitted(int row, const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Filter;
    QModelIndex viewIndex(int row) const;

    bool opensChoice(QMouseEvent *event, bool doubleClick);

    ReportListModel *m_model = nullptr;
    Filter *m_filter = nullptr;
    int m_choiceColumn = -1;
    QStringList m_choices;
    int m_choiceHeight = 200;
    QPointer<QWidget> m_choiceEditor;
    int m_choiceRow = -1;
};

} // namespace dpx
