// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace dpx {

// Black captions (grey when disabled) for a button drawn from the fixed light button bitmap,
// whatever the look's palette says.
inline void keepDarkInk(QWidget *button)
{
    QPalette ink = button->palette();
    ink.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    ink.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    ink.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    button->setPalette(ink);
}

} // namespace dpx
