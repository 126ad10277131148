// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>
#include <QString>

namespace dpx {

// The seven looks the "Skin" menu offers, as Qt themes: a palette on the Fusion style (the one
// style that honours a palette everywhere) and a short style sheet with the look's own images
// for scroll bars in dialogs, popup menus and the radio and check indicators. The telephone
// window draws itself from its own bitmaps and is not touched.
class Themes {
public:
    // Applies the look of a stored skin value to the application and every open window.
    // False, and the current look stays, for a value outside 0..6.
    static bool apply(int value);
    // The value applied last; -1 before the first apply.
    static int current();

    static QPalette palette(int value);
    static QString styleSheet(int value);
};

} // namespace dpx
