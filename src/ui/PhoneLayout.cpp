// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PhoneLayout.h"

#include <iterator>

namespace dpx {

namespace {

// Programmable keys: a lamp window sits in each key's left end, the lamp image covers it.
constexpr int ProgKeyWidth = 31;
constexpr int ProgKeyHeight = 21; // a 19-px cap and its shadow
constexpr int LampInsetX = 1;
constexpr int LampInsetY = 1;
constexpr int LampSize = 17;
// Keys 1-12 stand in a column with key 1 at the bottom; keys 13-24 in a second column.
constexpr int Lamp1X = 385, Lamp1Y = 531, Lamp1Pitch = 26;
constexpr int Lamp13X = 465, Lamp13Y = 539, Lamp13Pitch = 24;

constexpr QRect lampRect(int n)
{
    return n <= 12 ? QRect(Lamp1X, Lamp1Y - (n - 1) * Lamp1Pitch, LampSize, LampSize)
                   : QRect(Lamp13X, Lamp13Y - (n - 13) * Lamp13Pitch, LampSize, LampSize);
}

constexpr QRect progKeyRect(int n)
{
    const QRect lamp = lampRect(n);
    return QRect(lamp.x() - LampInsetX, lamp.y() - LampInsetY, ProgKeyWidth, ProgKeyHeight);
}

constexpr KeyImages ProgKeyImages{"331", "333", "332", "331"};

#define DPX_KEY_IMAGES(id) KeyImages{"key" #id "_n", "key" #id "_d", "key" #id "_o", "key" #id "_n"}

constexpr ControlPlace key(int id, QRect rect, int keyNumber, KeyImages images, const char *label)
{
    return ControlPlace{id, ControlKind::Key, rect, keyNumber, 0, images, label};
}

constexpr ControlPlace progKey(int id, int n, const char *label)
{
    return ControlPlace{id, ControlKind::Key, progKeyRect(n), n <= 12 ? 33 + n : 44 + n, 0,
                        ProgKeyImages, label};
}

constexpr ControlPlace lamp(int id, int n, const char *label)
{
    return ControlPlace{id, ControlKind::Lamp, lampRect(n), 0, n, {}, label};
}

constexpr ControlPlace part(int id, ControlKind kind, QRect rect, int lampNumber, const char *label)
{
    return ControlPlace{id, kind, rect, 0, lampNumber, {}, label};
}

// Dial pad: three columns, four rows.
constexpr int DialX[3] = {208, 262, 316};
constexpr int DialY[4] = {364, 406, 448, 490};
constexpr int DialW = 44, DialH = 32;
constexpr QRect dial(int col, int row) { return QRect(DialX[col], DialY[row], DialW, DialH); }

// Left cluster: two columns of three keys below the folder bar and the slider.
constexpr int ClusterX[2] = {29, 96};
constexpr int ClusterY[3] = {442, 487, 532};
constexpr int ClusterW = 60, ClusterH = 30;
constexpr QRect cluster(int col, int row)
{
    return QRect(ClusterX[col], ClusterY[row], ClusterW, ClusterH);
}

// Function keys: two columns of three beside the navigation pad.
constexpr int FuncX[2] = {208, 252};
constexpr int FuncY[3] = {246, 286, 326};
constexpr int FuncW = 36, FuncH = 24;
constexpr QRect func(int col, int row) { return QRect(FuncX[col], FuncY[row], FuncW, FuncH); }

// Soft keys under the three words of the display's second line.
constexpr int SoftX[3] = {264, 328, 390};
constexpr int SoftY = 197, SoftW = 46, SoftH = 18;

// Navigation pad: four arrow segments of a ring around a round centre key.
constexpr int NavCx = 338, NavCy = 272;

constexpr ControlPlace Layout[] = {
    // Display and panels (the status line and the display carry the numbers of their bitmaps).
    part(1034, ControlKind::VersionText, QRect(24, 404, 137, 14), 0, "Version"),
    part(512, ControlKind::StatusLine, QRect(202, 45, 287, 56), 0, "Status line"),
    part(511, ControlKind::Lcd, QRect(202, 101, 287, 60), 0, "Display"),
    part(254, ControlKind::FolderBar, QRect(24, 55, 137, 295), 0, "Folder bar"),
    part(1084, ControlKind::VolumeSlider, QRect(24, 366, 137, 22), 0, "Volume"),

    // Top buttons.
    ControlPlace{1142, ControlKind::TopButton, QRect(48, 24, 22, 16), 0, 0, DPX_KEY_IMAGES(1142), "About"},
    ControlPlace{1143, ControlKind::TopButton, QRect(80, 24, 22, 16), 0, 0, DPX_KEY_IMAGES(1143), "Hide"},
    ControlPlace{1144, ControlKind::TopButton, QRect(110, 24, 22, 16), 0, 0, DPX_KEY_IMAGES(1144), "Close"},

    // Soft keys.
    key(1057, QRect(SoftX[0], SoftY, SoftW, SoftH), 1, DPX_KEY_IMAGES(1057), "Soft key 1"),
    key(1058, QRect(SoftX[1], SoftY, SoftW, SoftH), 2, DPX_KEY_IMAGES(1058), "Soft key 2"),
    key(1059, QRect(SoftX[2], SoftY, SoftW, SoftH), 3, DPX_KEY_IMAGES(1059), "Soft key 3"),

    // Function keys.
    key(1061, func(0, 0), 4, DPX_KEY_IMAGES(1061), "Menu"),
    key(1113, func(0, 1), 54, DPX_KEY_IMAGES(1113), "Hold"),
    key(1114, func(0, 2), 55, DPX_KEY_IMAGES(1114), "Transfer"),
    key(1062, func(1, 0), 5, DPX_KEY_IMAGES(1062), "Back"),
    key(1063, func(1, 1), 7, DPX_KEY_IMAGES(1063), "Redial"),
    key(1064, func(1, 2), 6, DPX_KEY_IMAGES(1064), "Conference"),

    // Navigation pad.
    key(1094, QRect(NavCx - 18, NavCy - 38, 36, 20), 10, DPX_KEY_IMAGES(1094), "Up"),
    key(1095, QRect(NavCx - 18, NavCy + 18, 36, 20), 11, DPX_KEY_IMAGES(1095), "Down"),
    key(1097, QRect(NavCx - 38, NavCy - 18, 20, 36), 8, DPX_KEY_IMAGES(1097), "Left"),
    key(1096, QRect(NavCx + 18, NavCy - 18, 20, 36), 9, DPX_KEY_IMAGES(1096), "Right"),
    key(1098, QRect(NavCx - 16, NavCy - 16, 32, 32), 12, DPX_KEY_IMAGES(1098), "OK"),

    // Dial pad and the keys above and below it.
    key(1048, QRect(DialX[2], FuncY[2], DialW, FuncH), 28, DPX_KEY_IMAGES(1048), "Feature"),
    key(1035, dial(0, 0), 16, DPX_KEY_IMAGES(1035), "1"),
    key(1010, dial(1, 0), 17, DPX_KEY_IMAGES(1010), "2 ABC"),
    key(1036, dial(2, 0), 18, DPX_KEY_IMAGES(1036), "3 DEF"),
    key(1037, dial(0, 1), 19, DPX_KEY_IMAGES(1037), "4 GHI"),
    key(1038, dial(1, 1), 20, DPX_KEY_IMAGES(1038), "5 JKL"),
    key(1039, dial(2, 1), 21, DPX_KEY_IMAGES(1039), "6 MNO"),
    key(1040, dial(0, 2), 22, DPX_KEY_IMAGES(1040), "7 PQRS"),
    key(1041, dial(1, 2), 23, DPX_KEY_IMAGES(1041), "8 TUV"),
    key(1042, dial(2, 2), 24, DPX_KEY_IMAGES(1042), "9 WXYZ"),
    key(1043, dial(0, 3), 26, DPX_KEY_IMAGES(1043), "*"),
    key(1044, dial(1, 3), 25, DPX_KEY_IMAGES(1044), "0"),
    key(1045, dial(2, 3), 27, DPX_KEY_IMAGES(1045), "#"),
    key(1068, QRect(DialX[0], 528, DialW, 22), 29, DPX_KEY_IMAGES(1068), "Speaker"),
    key(1069, QRect(DialX[1], 528, DialW, 22), 30, DPX_KEY_IMAGES(1069), "Mute"),
    key(1070, QRect(DialX[2], 528, DialW, 22), 31, DPX_KEY_IMAGES(1070), "Flash"),

    // Left cluster.
    key(1046, cluster(0, 0), 0, KeyImages{"328", "330", "329", "328"}, "Record"),
    key(1067, cluster(1, 0), 15, KeyImages{"325", "315", "326", "325"}, "Do not disturb"),
    key(1065, cluster(0, 1), 13, DPX_KEY_IMAGES(1065), "Page"),
    key(1066, cluster(1, 1), 14, DPX_KEY_IMAGES(1066), "Pickup"),
    key(1049, cluster(0, 2), 33, DPX_KEY_IMAGES(1049), "Answer"),
    key(1047, cluster(1, 2), 32, DPX_KEY_IMAGES(1047), "Headset"),
    part(1112, ControlKind::RecordIndicator, QRect(ClusterX[0] + ClusterW - 12, ClusterY[0] - 8, 6, 6),
         0, "Recording"),

    // Programmable keys 1-12 and 13-24.
    progKey(1060, 1, "Key 1"), progKey(1071, 2, "Key 2"), progKey(1072, 3, "Key 3"),
    progKey(1073, 4, "Key 4"), progKey(1074, 5, "Key 5"), progKey(1075, 6, "Key 6"),
    progKey(1076, 7, "Key 7"), progKey(1077, 8, "Key 8"), progKey(1078, 9, "Key 9"),
    progKey(1079, 10, "Key 10"), progKey(1080, 11, "Key 11"), progKey(1081, 12, "Key 12"),
    progKey(1082, 13, "Key 13"), progKey(1083, 14, "Key 14"), progKey(1088, 15, "Key 15"),
    progKey(1089, 16, "Key 16"), progKey(1090, 17, "Key 17"), progKey(1091, 18, "Key 18"),
    progKey(1092, 19, "Key 19"), progKey(1093, 20, "Key 20"), progKey(1116, 21, "Key 21"),
    progKey(1117, 22, "Key 22"), progKey(1118, 23, "Key 23"), progKey(1119, 24, "Key 24"),

    // Their lamps, listed after the keys so that they stack above them.
    lamp(1099, 1, "Lamp 1"), lamp(1100, 2, "Lamp 2"), lamp(1101, 3, "Lamp 3"),
    lamp(1102, 4, "Lamp 4"), lamp(1103, 5, "Lamp 5"), lamp(1104, 6, "Lamp 6"),
    lamp(1105, 7, "Lamp 7"), lamp(1106, 8, "Lamp 8"), lamp(1107, 9, "Lamp 9"),
    lamp(1108, 10, "Lamp 10"), lamp(1109, 11, "Lamp 11"), lamp(1110, 12, "Lamp 12"),
    lamp(1115, 13, "Lamp 13"), lamp(1120, 14, "Lamp 14"), lamp(1121, 15, "Lamp 15"),
    lamp(1122, 16, "Lamp 16"), lamp(1123, 17, "Lamp 17"), lamp(1124, 18, "Lamp 18"),
    lamp(1125, 19, "Lamp 19"), lamp(1126, 20, "Lamp 20"), lamp(1127, 21, "Lamp 21"),
    lamp(1128, 22, "Lamp 22"), lamp(1129, 23, "Lamp 23"), lamp(1130, 24, "Lamp 24"),

    // Indicators.
    part(1087, ControlKind::LargeIndicator, QRect(461, 18, 14, 27), 32, "Large indicator"),
    part(1086, ControlKind::SmallIndicator, QRect(278, 563, 13, 9), 31, "Small indicator"),
};

#undef DPX_KEY_IMAGES

} // namespace

std::span<const ControlPlace> phoneLayout()
{
    return {std::begin(Layout), std::end(Layout)};
}

namespace {
// The first control of the window that satisfies `matches`, or nullptr.
template <typename Predicate> const ControlPlace *findFirst(Predicate matches)
{
    for (const ControlPlace &place : Layout)
        if (matches(place))
            return &place;
    return nullptr;
}
} // namespace

const ControlPlace *findControl(int id)
{
    return findFirst([id](const ControlPlace &p) { return p.id == id; });
}

const ControlPlace *findKey(int keyNumber)
{
    if (keyNumber <= 0)
        return nullptr;
    return findFirst([keyNumber](const ControlPlace &p) {
        return p.kind == ControlKind::Key && p.keyNumber == keyNumber;
    });
}

const ControlPlace *findLamp(int lampNumber)
{
    if (lampNumber <= 0)
        return nullptr;
    return findFirst([lampNumber](const ControlPlace &p) { return p.lampNumber == lampNumber; });
}

const ControlPlace *findLampKey(int lampNumber)
{
    if (lampNumber < 1 || lampNumber > 24)
        return nullptr;
    return findKey(lampNumber <= 12 ? 33 + lampNumber : 44 + lampNumber);
}

} // namespace dpx
