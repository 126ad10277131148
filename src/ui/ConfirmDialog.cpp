// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ConfirmDialog.h"

#include "ui/SkinBitmapButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace dpx {

namespace {
constexpr int ButtonBitmap = 132;
constexpr int ButtonImages = 5;
} // namespace

ConfirmDialog::ConfirmDialog(const QString &text, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("音檔傳輸程式 警告..."));
    setModal(true);
    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("1027"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    m_ok = new SkinBitmapButton(tr("確定"), this);
    m_cancel = new SkinBitmapButton(tr("退出"), this);
    for (SkinBitmapButton *button : {m_ok, m_cancel}) {
        button->SetUp(ButtonBitmap, ButtonImages, 5, 5, 5, 4);
        button->setMinimumSize(72, 26);
    }
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    setMinimumSize(240, 110);
}

QString ConfirmDialog::text() const
{
    return m_text->text();
}

bool ConfirmDialog::ask(QWidget *parent, const QString &text)
{
    ConfirmDialog dialog(text, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace dpx
