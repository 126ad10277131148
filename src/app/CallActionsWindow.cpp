// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallActionsWindow.h"

#include "integration/CallActionRunner.h"
#include "integration/CallActionStore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dpx {

CallActionsWindow::CallActionsWindow(CallActionRunner &runner, CallActionStore &store, QWidget *parent)
    : QWidget(parent, Qt::Window), m_runner(runner), m_store(store)
{
    setWindowTitle(QStringLiteral("來電動作"));
    setObjectName(QStringLiteral("callActions"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(2, 1);
    grid->addWidget(new QLabel(QStringLiteral("時機")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("動作")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("網址或程式及參數")), 0, 2);

    for (int i = 0; i < Rows; ++i) {
        Row row;
        row.when = new QComboBox;
        // In ActionWhen order.
        row.when->addItems({QStringLiteral("來電響鈴"), QStringLiteral("接聽"), QStringLiteral("通話結束"),
                            QStringLiteral("未接來電")});
        row.kind = new QComboBox;
        row.kind->addItems({QStringLiteral("開啟網址"), QStringLiteral("啟動程式")}); // ActionKind order
        row.edit = new QLineEdit;
        row.edit->setMinimumWidth(320);
        row.tryButton = new QPushButton(QStringLiteral("試用"));
        row.problem = new QLabel;
        row.problem->setStyleSheet(QStringLiteral("color: #c41e1e"));
        row.problem->setWordWrap(true);
        row.problem->hide();
        const int line = 1 + 2 * i;
        grid->addWidget(row.when, line, 0);
        grid->addWidget(row.kind, line, 1);
        grid->addWidget(row.edit, line, 2);
        grid->addWidget(row.tryButton, line, 3);
        grid->addWidget(row.problem, line + 1, 0, 1, 4);
        connect(row.tryButton, &QPushButton::clicked, this, [this, i] { tryRow(i); });
        m_rows.append(row);
    }
    auto *hint = new QLabel(QStringLiteral(
        "可用欄位: {number} 號碼, {digits} 號碼數字, {name} 姓名, {line} co/icm, {time} 時間, "
        "{duration} 通話秒數。\n程式: 第一個字是程式, 其餘是參數。網址限 http, https, mailto。\n"
        "例: https://crm.example.com/search?phone={digits}"));
    hint->setWordWrap(true);
    grid->addWidget(hint, 1 + 2 * Rows, 0, 1, 4);
    auto *saveButton = new QPushButton(QStringLiteral("儲存"));
    auto *closeButton = new QPushButton(QStringLiteral("關閉"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    grid->addLayout(buttons, 2 + 2 * Rows, 0, 1, 4);
    connect(saveButton, &QPushButton::clicked, this, &CallActionsWindow::save);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    showActions(m_store.load());
}

void CallActionsWindow::showActions(const QList<CallAction> &actions)
{
    for (int i = 0; i < Rows; ++i) {
        const CallAction action = actions.value(i);
        m_rows[i].when->setCurrentIndex(int(action.when));
        m_rows[i].kind->setCurrentIndex(int(action.kind));
        m_rows[i].edit->setText(action.templateText);
    }
}

CallAction CallActionsWindow::actionOf(int row) const
{
    const Row &r = m_rows.at(row);
    return {ActionWhen(r.when->currentIndex()), ActionKind(r.kind->currentIndex()), r.edit->text().trimmed()};
}

QString CallActionsWindow::rowProblem(int row) const
{
    return m_rows.at(row).problem->isHidden() ? QString() : m_rows.at(row).problem->text();
}

bool CallActionsWindow::checkRow(int row, bool emptyIsFine)
{
    const CallAction action = actionOf(row);
    const QString problem = action.templateText.isEmpty() && emptyIsFine
        ? QString()
        : templateProblem(action.kind, action.templateText);
    m_rows[row].problem->setText(problem);
    m_rows[row].problem->setVisible(!problem.isEmpty());
    return problem.isEmpty();
}

bool CallActionsWindow::save()
{
    QList<CallAction> actions;
    bool good = true;
    for (int i = 0; i < Rows; ++i) {
        good = checkRow(i, true) && good;
        if (!actionOf(i).templateText.isEmpty())
            actions.append(actionOf(i));
    }
    if (!good)
        return false;
    const QString problem = m_store.save(actions);
    if (!problem.isEmpty()) {
        if (m_status)
            m_status(problem);
        return false;
    }
    m_runner.setActions(actions);
    if (m_status)
        m_status(QStringLiteral("來電動作已儲存"));
    return true;
}

bool CallActionsWindow::tryRow(int row)
{
    return checkRow(row, false) && m_runner.run(actionOf(row), CallFacts::sample());
}

} // namespace dpx
