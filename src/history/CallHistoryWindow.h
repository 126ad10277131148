// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/CallHistoryModel.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QTableView;

namespace dpx {

class AddressDatabase;

// The call history window: a thin view over CallHistoryModel with a filter, a search box and
// the row actions. Dialling and saving a contact are asked of the owner by signals.
class CallHistoryWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *ClearAllText = QT_TR_NOOP("清除全部記錄");
    static constexpr const char *ClearAllQuestion = QT_TR_NOOP("確定要清除全部通話記錄嗎?");

    explicit CallHistoryWindow(AddressDatabase *database, QWidget *parent = nullptr);

    CallHistoryModel &model() { return *m_model; }
    QTableView *table() const { return m_table; }
    QLineEdit *searchBox() const { return m_search; }
    void setFilter(CallHistoryModel::Filter filter);

    // Rereads the history (a call was kept, or the phone book changed).
    void refresh();
    // Row actions on the selected rows (the current row for one-row actions).
    void callBackSelected();
    void addSelectedToPhoneBook();
    void deleteSelected();
    // Asks first; true when the history was cleared.
    bool clearAll();
    // Writes the rows shown to path as CSV; false (with the reason on the status) on failure.
    bool exportTo(const QString &path);

    // Asks the user questions through this (yes = true); tests answer without a dialog.
    void setConfirm(std::function<bool(const QString &question)> confirm) { m_confirm = std::move(confirm); }

Q_SIGNALS:
    void callBackRequested(const QString &number);
    void addContactRequested(const QString &number);
    void statusText(const QString &text);
    // The window was shown or brought forward: the user has seen the history.
    void seen();

protected:
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int currentRow() const;
    QList<qint64> selectedIds() const;
    void chooseExportFile();
    void updateCount();

    AddressDatabase *m_database = nullptr;
    CallHistoryModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    QLineEdit *m_search = nullptr;
    QButtonGroup *m_filters = nullptr;
    QLabel *m_count = nullptr;
    std::function<bool(const QString &)> m_confirm;
};

} // namespace dpx
