// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace dpx {

// The sans-serif Traditional Chinese face for the program's own texts (fontconfig language
// zh-tw: Noto Sans CJK TC here), with the usual faces of other systems after it.
QFont traditionalChineseFont(int pixelSize = 0, bool bold = false);

} // namespace dpx
