// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Art.h"

#include <QDir>
#include <QPixmapCache>

namespace dpx {

QPixmap artPixmap(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String("0"))
        return {};
    const bool isPath = name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char(':'))
        || QDir::isAbsolutePath(name);
    const QString path = isPath ? name : QStringLiteral(":/art/") + name + QStringLiteral(".png");
    QPixmap pixmap;
    // Only the compiled-in art is cached: files on disk may change between loads.
    const bool cacheable = path.startsWith(QLatin1Char(':'));
    if (cacheable && QPixmapCache::find(path, &pixmap))
        return pixmap;
    if (pixmap.load(path) && cacheable)
        QPixmapCache::insert(path, pixmap);
    return pixmap;
}

} // namespace dpx
