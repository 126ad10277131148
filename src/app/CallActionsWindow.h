// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "integration/CallAction.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dpx {

class CallActionRunner;
class CallActionStore;

// "來電動作": up to four actions, each a moment (rings, answered, ends, missed), a kind (web
// address or program) and a template; "試用" runs one with a sample caller, "儲存" checks every
// template and stores them for this data folder.
class CallActionsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int Rows = 4;

    CallActionsWindow(CallActionRunner &runner, CallActionStore &store, QWidget *parent = nullptr);

    void setStatus(std::function<void(const QString &)> status) { m_status = std::move(status); }

    // The row's controls (tests fill them as the user would).
    QComboBox *whenBox(int row) const { return m_rows.at(row).when; }
    QComboBox *kindBox(int row) const { return m_rows.at(row).kind; }
    QLineEdit *templateEdit(int row) const { return m_rows.at(row).edit; }
    QPushButton *tryButton(int row) const { return m_rows.at(row).tryButton; }
    QString rowProblem(int row) const;

    // Checks and stores the rows with a template; false (reasons beside the rows) when one
    // cannot be used, and then nothing is stored.
    bool save();
    // Runs the row's action once with a sample caller.
    bool tryRow(int row);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateChoices();
    struct Row {
        QComboBox *when = nullptr;
        QComboBox *kind = nullptr;
        QLineEdit *edit = nullptr;
        QPushButton *tryButton = nullptr;
        QLabel *problem = nullptr;
    };
    CallAction actionOf(int row) const;
    // Shows the row's problem beside it; an empty row is fine when saving, not when trying.
    bool checkRow(int row, bool emptyIsFine);
    void showActions(const QList<CallAction> &actions);

    CallActionRunner &m_runner;
    CallActionStore &m_store;
    QList<Row> m_rows;
    std::function<void(const QString &)> m_status;
};

} // namespace dpx
