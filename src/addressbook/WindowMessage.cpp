// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/WindowMessage.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace dpx {

void showWindowMessage(QWidget *owner, const QString &text, const QString &detail)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("DPX"), text, QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("windowMessage"));
    if (!detail.isEmpty())
        box->setInformativeText(detail);
    box->open();
}

} // namespace dpx
