// SPDX-License-Identifier: GPL-3.0-or-later
// The colours and shapes of the seven looks. Shared by the program (palettes and style sheets)
// and the art generator (the looks' scroll-bar handles, check marks and indicators), so the
// images always match the palette they are shown with.
#pragma once

#include <QRgb>

#include <array>

namespace dpx {

enum class GripKind { None, Lines, Dots };
enum class MarkKind { Tick, Dot, Cross };

struct ThemeColours {
    const char *folder;   // res/themes/<folder>/
    QRgb window, windowText;
    QRgb base, alternateBase, text;
    QRgb button, buttonText;
    QRgb highlight, highlightedText;
    QRgb toolTipBase, toolTipText;
    QRgb handleTop, handleBottom, handleLine; // scroll-bar handle gradient and outline
    QRgb mark;                                // check marks and radio dots
    QRgb groove;                              // scroll-bar track
    int handleRadius;                         // 0: square handles
    GripKind grip;
    MarkKind markKind;
};

// Indexed by the stored skin value (0..6).
inline const std::array<ThemeColours, 7> &themeColours()
{
    static const std::array<ThemeColours, 7> themes{{
        // XPBLUE: warm light grey with the blue of a clear sky
        {"xpblue", qRgb(236, 233, 216), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(241, 239, 226),
         qRgb(0, 0, 0), qRgb(228, 226, 214), qRgb(0, 0, 0), qRgb(49, 106, 197),
         qRgb(255, 255, 255), qRgb(255, 255, 225), qRgb(0, 0, 0), qRgb(196, 214, 252),
         qRgb(120, 156, 232), qRgb(38, 76, 156), qRgb(33, 90, 190), qRgb(244, 243, 236), 3,
         GripKind::Lines, MarkKind::Tick},
        // CORONA: graphite with an amber glow
        {"corona", qRgb(52, 54, 58), qRgb(236, 236, 236), qRgb(34, 35, 38), qRgb(44, 46, 50),
         qRgb(230, 230, 230), qRgb(66, 68, 73), qRgb(240, 240, 240), qRgb(226, 132, 34),
         qRgb(20, 20, 20), qRgb(26, 26, 28), qRgb(250, 214, 160), qRgb(250, 178, 90),
         qRgb(206, 110, 20), qRgb(120, 60, 0), qRgb(255, 170, 60), qRgb(40, 41, 44), 6,
         GripKind::Dots, MarkKind::Dot},
        // KROMO: brushed chrome, black type, steel-blue selection
        {"kromo", qRgb(214, 217, 222), qRgb(10, 10, 12), qRgb(246, 247, 249), qRgb(230, 232, 236),
         qRgb(10, 10, 12), qRgb(198, 202, 209), qRgb(10, 10, 12), qRgb(70, 92, 124),
         qRgb(255, 255, 255), qRgb(240, 242, 246), qRgb(10, 10, 12), qRgb(250, 251, 253),
         qRgb(150, 156, 166), qRgb(86, 92, 102), qRgb(40, 60, 90), qRgb(186, 190, 198), 1,
         GripKind::Lines, MarkKind::Cross},
        // XPGREEN: olive and sand
        {"xpgreen", qRgb(236, 234, 218), qRgb(0, 0, 0), qRgb(255, 255, 250), qRgb(240, 240, 226),
         qRgb(0, 0, 0), qRgb(226, 228, 204), qRgb(0, 0, 0), qRgb(96, 122, 46),
         qRgb(255, 255, 255), qRgb(252, 252, 230), qRgb(0, 0, 0), qRgb(214, 226, 168),
         qRgb(150, 172, 96), qRgb(74, 94, 30), qRgb(84, 112, 30), qRgb(242, 242, 232), 3,
         GripKind::Lines, MarkKind::Tick},
        // XPLUS: pale lilac with plum accents
        {"xplus", qRgb(240, 238, 246), qRgb(20, 10, 30), qRgb(255, 255, 255), qRgb(246, 243, 251),
         qRgb(20, 10, 30), qRgb(226, 220, 240), qRgb(20, 10, 30), qRgb(112, 62, 150),
         qRgb(255, 255, 255), qRgb(250, 246, 255), qRgb(20, 10, 30), qRgb(226, 204, 246),
         qRgb(164, 116, 206), qRgb(84, 40, 120), qRgb(120, 60, 170), qRgb(234, 230, 242), 7,
         GripKind::Dots, MarkKind::Dot},
        // XPSTEEL: cool blue-grey metal, square edges
        {"xpsteel", qRgb(206, 212, 220), qRgb(10, 16, 24), qRgb(242, 245, 248), qRgb(226, 231, 237),
         qRgb(10, 16, 24), qRgb(188, 196, 206), qRgb(10, 16, 24), qRgb(58, 78, 104),
         qRgb(255, 255, 255), qRgb(236, 240, 244), qRgb(10, 16, 24), qRgb(176, 188, 204),
         qRgb(112, 128, 150), qRgb(52, 64, 82), qRgb(44, 60, 84), qRgb(190, 198, 208), 0,
         GripKind::Lines, MarkKind::Cross},
        // DEVIOR: night blue with a cyan edge
        {"devior", qRgb(30, 36, 48), qRgb(226, 232, 240), qRgb(18, 22, 30), qRgb(26, 31, 42),
         qRgb(220, 228, 238), qRgb(44, 52, 68), qRgb(230, 236, 244), qRgb(0, 150, 170),
         qRgb(0, 0, 0), qRgb(14, 18, 26), qRgb(170, 230, 240), qRgb(90, 200, 220),
         qRgb(0, 120, 140), qRgb(0, 60, 72), qRgb(60, 210, 230), qRgb(22, 27, 36), 5,
         GripKind::Dots, MarkKind::Tick},
    }};
    return themes;
}

} // namespace dpx
