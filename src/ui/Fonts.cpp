// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QStringList>

namespace dpx {

QFont traditionalChineseFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
                      QStringLiteral("Source Han Sans TC"), QStringLiteral("Microsoft JhengHei"),
                      QStringLiteral("PingFang TC")});
    font.setStyleHint(QFont::SansSerif);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace dpx
