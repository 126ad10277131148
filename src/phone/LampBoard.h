// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace dpx {

enum class LampColour : quint8 { Off, Red, Green };
enum class LampPattern : quint8 { Off, Slow, Fast, Steady, Wink };

struct LampState {
    LampColour colour = LampColour::Off;
    LampPattern pattern = LampPattern::Off;
    bool isOff() const { return colour == LampColour::Off; }
    bool operator==(const LampState &) const = default;
};

// "off", "red-slow", "red-fast", "red-steady", "red-wink", "green-slow", ... "green-wink".
QString lampStateName(LampState state);
std::optional<LampState> parseLampState(QStringView name);
// The event code the telephone sends for a key lamp state (0x00 for off), -1 for none.
int lampStateCode(LampState state);

// Lamp numbers of the event (state, lamp).
inline constexpr int FirstKeyLamp = 1;
inline constexpr int LastKeyLamp = 24;
inline constexpr int Key15Lamp = 29;      // the image of key 15 (control 1067)
inline constexpr int SmallIndicator = 31; // control 1086, red only
inline constexpr int LargeIndicator = 32; // control 1087

// What the four images (normal, pressed, hover, disabled) of a programmable key show.
enum class KeyImage : quint8 { Normal, RedLit, GreenLit };
using KeyImageSet = std::array<int, 4>; // image resource numbers

// The lamps of the 24 programmable keys, the two indicators and key 15's image.
class LampBoard {
public:
    // Applies an event (state, lamp). Returns false when the pair is ignored: unknown states
    // or lamp numbers, green on the small indicator, a state key 15's image has no use for,
    // and "off if it was ever red / green" on a large indicator that never was.
    bool SetLamp(quint8 state, quint8 lamp);

    // State of lamp 1-24, 31 or 32 (off for any other number).
    LampState lamp(int number) const;
    // Key images of programmable key 1-24 (Normal for any other number).
    KeyImage keyImage(int number) const;

    // Key 15: its image (normal or active) and the toggle flag (true while normal).
    bool key15Active() const { return m_key15Active; }
    bool key15ToggleFlag() const { return !m_key15Active; }
    void resetKey15() { m_key15Active = false; }
    // Pressing key 15 swaps its image; returns whether it is active now.
    bool toggleKey15() { return m_key15Active = !m_key15Active; }

    bool largeIndicatorRedUsed() const { return m_largeRedUsed; }
    bool largeIndicatorGreenUsed() const { return m_largeGreenUsed; }

    // Animated image resource for a lamp's current state, 0 for an unknown lamp.
    int lampImage(int number) const { return lampImageFor(number, lamp(number)); }
    // Image resources of key 1-24 (from its lamp state) or of key 15 (number 29).
    KeyImageSet keyImages(int number) const;

    // Animated image resource for lamp 1-24, 31 or 32 in a given state; 0 for a lamp or
    // colour that has no image (any green on the small indicator). Indicators show a wink
    // as a fast flash.
    static int lampImageFor(int number, LampState state);
    static KeyImageSet keyImagesFor(KeyImage image);
    static KeyImageSet key15ImagesFor(bool active);

private:
    std::array<LampState, LastKeyLamp + 1> m_keyLamps{};
    std::array<KeyImage, LastKeyLamp + 1> m_keyImages{};
    LampState m_small;
    LampState m_large;
    bool m_largeRedUsed = false;
    bool m_largeGreenUsed = false;
    bool m_key15Active = false;
};

} // namespace dpx
