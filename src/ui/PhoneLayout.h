// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

#include <span>

namespace dpx {

// What a control of the phone-shaped main window is.
enum class ControlKind {
    Key,             // a key of the telephone (KeyButton); keyNumber says which
    TopButton,       // about / hide / close at the top edge
    Lamp,            // lamp of programmable key lampNumber (1..24)
    LargeIndicator,  // lamp 32
    SmallIndicator,  // lamp 31
    RecordIndicator, // recording lamp
    VolumeSlider,
    StatusLine,
    Lcd,
    FolderBar,
    VersionText,
};

// Images of a key in its four states; resource names under ":/art/" without ".png".
struct KeyImages {
    const char *normal = nullptr;
    const char *down = nullptr;
    const char *over = nullptr;
    const char *disabled = nullptr;
};

// One control of the main window, in window pixels (the window is 503 x 588).
struct ControlPlace {
    int id;           // control ID
    ControlKind kind;
    QRect rect;
    int keyNumber;    // key number sent to the telephone, 0 for none
    int lampNumber;   // 1..24, 31, 32 for lamps and indicators, else 0
    KeyImages images; // keys and top buttons
    const char *label; // tooltip / accessible name
};

inline constexpr int MainWindowWidth = 503;
inline constexpr int MainWindowHeight = 588;

std::span<const ControlPlace> phoneLayout();
const ControlPlace *findControl(int id);
const ControlPlace *findKey(int keyNumber);
const ControlPlace *findLamp(int lampNumber);
// The programmable key that lamp 1..24 belongs to (its images change with the lamp).
const ControlPlace *findLampKey(int lampNumber);

} // namespace dpx
