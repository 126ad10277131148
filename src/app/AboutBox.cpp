// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"

#include "app/PhoneTray.h"
#include "ui/Art.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

namespace dpx {

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("About DPX"));
    auto *icon = new QLabel;
    icon->setPixmap(artPixmap(QStringLiteral("128-32")));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("DPX")), 0, 1);
    grid->addWidget(new QLabel(tr("Version:VKSDPX.F01(N)")), 1, 1);
    grid->addWidget(new QLabel(tr("Released at 2009-09-16 09:00")), 2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace dpx
