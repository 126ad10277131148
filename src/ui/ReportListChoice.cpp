// SPDX-License-Identifier: GPL-3.0-or-later
// The report list's drop-down of choices over one column's cells.
#include "ui/ReportListCtrl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMouseEvent>

#include <algorithm>

namespace dpx {

void ReportListCtrl::setChoiceColumn(int column, const QStringList &choices, int dropDownHeight)
{
    commitChoice();
    m_choiceColumn = column;
    m_choices = choices;
    m_choiceHeight = std::max(dropDownHeight, 1);
}

bool ReportListCtrl::opensChoice(QMouseEvent *event, bool doubleClick)
{
    const bool wanted = event->button() == Qt::MiddleButton || event->button() == Qt::RightButton
        || (doubleClick && event->button() == Qt::LeftButton);
    if (!wanted || m_choiceColumn < 0)
        return false;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || index.column() != m_choiceColumn)
        return false;
    event->accept();
    return openChoice(rowAtPoint(event->position().toPoint()));
}

QComboBox *ReportListCtrl::choiceEditor() const
{
    return static_cast<QComboBox *>(m_choiceEditor.data());
}

void ReportListCtrl::mousePressEvent(QMouseEvent *event)
{
    if (opensChoice(event, false))
        return;
    QTableView::mousePressEvent(event);
}

bool ReportListCtrl::openChoice(int row)
{
    commitChoice(); // the list open before gives its choice first
    const QModelIndex index = viewIndex(row).siblingAtColumn(m_choiceColumn);
    if (m_choiceColumn < 0 || !index.isValid())
        return false;
    m_choiceRow = row;
    auto *editor = new QComboBox(viewport());
    editor->addItems(m_choices);
    editor->setCurrentIndex(int(m_choices.indexOf(m_model->cell(row, m_choiceColumn))));
    const int itemHeight = std::max(editor->fontMetrics().height() + 4, 1);
    editor->setMaxVisibleItems(std::max(1, m_choiceHeight / itemHeight));
    editor->setGeometry(visualRect(index));
    connect(editor, &QComboBox::activated, this, [this] { commitChoice(); });
    m_choiceEditor = editor;
    editor->show();
    editor->setFocus();
    editor->showPopup();
    return true;
}

void ReportListCtrl::commitChoice()
{
    if (!m_choiceEditor)
        return;
    QComboBox *editor = choiceEditor();
    m_choiceEditor = nullptr;
    const QString text = editor->currentIndex() >= 0 ? editor->currentText() : QString();
    editor->hidePopup();
    editor->hide();
    editor->deleteLater();
    if (m_choiceRow >= 0 && m_choiceRow < m_model->rowCount() && !text.isEmpty()) {
        m_model->setCell(m_choiceRow, m_choiceColumn, text);
        Q_EMIT choiceCommitted(m_choiceRow, text);
    }
    m_choiceRow = -1;
}

} // namespace dpx
