// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

namespace dpx {

// Loads one of the program's images by name (":/art/<name>.png"), or a file when the name is a
// path. Empty or "0" means no image. An empty pixmap when the image does not exist.
QPixmap artPixmap(const QString &name);

} // namespace dpx
