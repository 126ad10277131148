// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallActionsWindow.h"

#include "ui/Translated.h"

#include "integration/CallActionRunner.h"
#include "integration/CallActionStore.h"

#include <QEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dpx {

namespace {
// In ActionWhen and ActionKind order.
const char *const WhenTexts[] = {QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "來電響鈴"),
                                 QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "接聽"),
                                 QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "通話結束"),
                                 QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "未接來電")};
const char *const KindTexts[] = {QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "開啟網址"),
                                 QT_TRANSLATE_NOOP("dpx::CallActionsWindow", "啟動程式")};
} // namespace

CallActionsWindow::CallActionsWindow(CallActionRunner &runner, CallActionStore &store, QWidget *parent)
    : QWidget(parent, Qt::Window), m_runner(runner), m_store(store)
{
    setTranslated(this, "windowTitle", this, QT_TR_NOOP("來電動作"));
    setObjectName(QStringLiteral("callActions"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(2, 1);
    const char *const headings[] = {QT_TR_NOOP("時機"), QT_TR_NOOP("動作"), QT_TR_NOOP("網址或程式及參數")};
    for (int column = 0; column < 3; ++column) {
        auto *heading = new QLabel;
        setTranslated(heading, "text", this, headings[column]);
        grid->addWidget(heading, 0, column);
    }

    for (int i = 0; i < Rows; ++i) {
        Row row;
        row.when = new QComboBox;
        // In ActionWhen order.
        row.when->addItems(QList<QString>(std::size(WhenTexts)));
        row.kind = new QComboBox;
        row.kind->addItems(QList<QString>(std::size(KindTexts)));
        row.edit = new QLineEdit;
        row.edit->setMinimumWidth(320);
        row.tryButton = new QPushButton;
        setTranslated(row.tryButton, "text", this, QT_TR_NOOP("試用"));
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
    auto *hint = new QLabel;
    setTranslated(hint, "text", this, QT_TR_NOOP(
        "可用欄位: {number} 號碼, {digits} 號碼數字, {name} 姓名, {line} co/icm, {time} 時間, "
        "{duration} 通話秒數。\n程式: 第一個字是程式, 其餘是參數。網址限 http, https, mailto。\n"
        "例: https://crm.example.com/search?phone={digits}"));
    hint->setWordWrap(true);
    grid->addWidget(hint, 1 + 2 * Rows, 0, 1, 4);
    auto *saveButton = new QPushButton;
    auto *closeButton = new QPushButton;
    setTranslated(saveButton, "text", this, QT_TR_NOOP("儲存"));
    setTranslated(closeButton, "text", this, QT_TR_NOOP("關閉"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    grid->addLayout(buttons, 2 + 2 * Rows, 0, 1, 4);
    connect(saveButton, &QPushButton::clicked, this, &CallActionsWindow::save);
    retranslateChoices();
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
        m_status(tr("來電動作已儲存"));
    return true;
}

bool CallActionsWindow::tryRow(int row)
{
    return checkRow(row, false) && m_runner.run(actionOf(row), CallFacts::sample());
}

void CallActionsWindow::retranslateChoices()
{
    for (const Row &row : std::as_const(m_rows)) {
        for (int i = 0; i < int(std::size(WhenTexts)); ++i)
            row.when->setItemText(i, tr(WhenTexts[i]));
        for (int i = 0; i < int(std::size(KindTexts)); ++i)
            row.kind->setItemText(i, tr(KindTexts[i]));
    }
}

void CallActionsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateChoices();
    QWidget::changeEvent(event);
}

} // namespace dpx
