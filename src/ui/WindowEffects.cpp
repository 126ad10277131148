// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowEffects.h"

#include <QGuiApplication>
#include <QWidget>

namespace dpx {

bool windowSystemShowsEffects()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void setWindowOpacityIfShown(QWidget *window, double opacity)
{
    if (windowSystemShowsEffects())
        window->setWindowOpacity(opacity);
}

void raiseIfShown(QWidget *window)
{
    if (windowSystemShowsEffects())
        window->raise();
}

} // namespace dpx
