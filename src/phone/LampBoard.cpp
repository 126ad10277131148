// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/LampBoard.h"

namespace dpx {

namespace {

constexpr quint8 OffIfRedState = 0x01;
constexpr quint8 OffIfGreenState = 0x09;
constexpr quint8 RedSteadyState = 0x04;
constexpr quint8 GreenSteadyState = 0x0C;

// The state an event code gives a programmable key's lamp; nothing for ignored codes.
std::optional<LampState> keyLampState(quint8 code)
{
    using C = LampColour;
    using P = LampPattern;
    switch (code) {
    case 0x00:
    case 0x01:
    case 0x09: return LampState{};
    case 0x02: return LampState{C::Red, P::Slow};
    case 0x03: return LampState{C::Red, P::Fast};
    case 0x04: return LampState{C::Red, P::Steady};
    case 0x05: return LampState{C::Red, P::Wink};
    case 0x0A: return LampState{C::Green, P::Slow};
    case 0x0B: return LampState{C::Green, P::Fast};
    case 0x0C: return LampState{C::Green, P::Steady};
    case 0x0D: return LampState{C::Green, P::Wink};
    default: return std::nullopt;
    }
}

// Indicators have no wink: they flash fast instead.
LampState indicatorState(LampState state)
{
    if (state.pattern == LampPattern::Wink)
        state.pattern = LampPattern::Fast;
    return state;
}

const char *patternName(LampPattern pattern)
{
    switch (pattern) {
    case LampPattern::Slow: return "slow";
    case LampPattern::Fast: return "fast";
    case LampPattern::Steady: return "steady";
    case LampPattern::Wink: return "wink";
    case LampPattern::Off: break;
    }
    return "off";
}

// Image numbers of one lamp: fast, slow, steady for green then red, and off.
struct LampImages {
    int greenFast, greenSlow, greenSteady, redFast, redSlow, redSteady, off;
};

LampImages keyLampImages(int number)
{
    if (number >= 2 && number <= 11) {
        const int k = number;
        return {426 + k, 437 + k, 448 + k, 459 + k, 470 + k, 481 + k, k == 7 ? 416 : 415 + k};
    }
    if (number == 12)
        return {427, 438, 449, 460, 471, 482, 422};
    return {409, 410, 408, 414, 415, 413, 411}; // lamp 1 and lamps 13-24
}

int pick(const LampImages &images, LampState state)
{
    if (state.isOff())
        return images.off;
    const bool red = state.colour == LampColour::Red;
    switch (state.pattern) {
    case LampPattern::Fast: return red ? images.redFast : images.greenFast;
    case LampPattern::Slow: return red ? images.redSlow : images.greenSlow;
    case LampPattern::Steady: return red ? images.redSteady : images.greenSteady;
    default: return images.off;
    }
}

} // namespace

QString lampStateName(LampState state)
{
    if (state.isOff() || state.pattern == LampPattern::Off)
        return QStringLiteral("off");
    const char *colour = state.colour == LampColour::Red ? "red-" : "green-";
    return QLatin1String(colour) + QLatin1String(patternName(state.pattern));
}

std::optional<LampState> parseLampState(QStringView name)
{
    for (int code = 0; code <= 0x0F; ++code) {
        const std::optional<LampState> state = keyLampState(quint8(code));
        if (state && name == lampStateName(*state))
            return state;
    }
    return std::nullopt;
}

int lampStateCode(LampState state)
{
    if (state.isOff() || state.pattern == LampPattern::Off)
        return 0x00;
    for (int code = 0; code <= 0x0F; ++code) {
        if (keyLampState(quint8(code)) == state)
            return code;
    }
    return -1;
}

bool LampBoard::SetLamp(quint8 state, quint8 lamp)
{
    const std::optional<LampState> next = keyLampState(state);
    if (!next)
        return false;

    if (lamp >= FirstKeyLamp && lamp <= LastKeyLamp) {
        m_keyLamps[lamp] = *next;
        if (next->isOff())
            m_keyImages[lamp] = KeyImage::Normal;
        else if (state == RedSteadyState)
            m_keyImages[lamp] = KeyImage::RedLit;
        else if (state == GreenSteadyState)
            m_keyImages[lamp] = KeyImage::GreenLit;
        return true;
    }

    switch (lamp) {
    case Key15Lamp:
        if (next->isOff()) {
            m_key15Active = false;
            return true;
        }
        if (state == RedSteadyState) {
            m_key15Active = true;
            return true;
        }
        return false;

    case SmallIndicator:
        if (next->colour == LampColour::Green)
            return false;
        m_small = indicatorState(*next);
        return true;

    case LargeIndicator:
        if ((state == OffIfRedState && !m_largeRedUsed) ||
            (state == OffIfGreenState && !m_largeGreenUsed))
            return false;
        m_large = indicatorState(*next);
        if (m_large.colour == LampColour::Red)
            m_largeRedUsed = true;
        else if (m_large.colour == LampColour::Green)
            m_largeGreenUsed = true;
        return true;

    default: return false;
    }
}

LampState LampBoard::lamp(int number) const
{
    if (number >= FirstKeyLamp && number <= LastKeyLamp)
        return m_keyLamps[number];
    if (number == SmallIndicator)
        return m_small;
    if (number == LargeIndicator)
        return m_large;
    return {};
}

KeyImage LampBoard::keyImage(int number) const
{
    if (number >= FirstKeyLamp && number <= LastKeyLamp)
        return m_keyImages[number];
    return KeyImage::Normal;
}

KeyImageSet LampBoard::keyImages(int number) const
{
    if (number == Key15Lamp)
        return key15ImagesFor(m_key15Active);
    return keyImagesFor(keyImage(number));
}

int LampBoard::lampImageFor(int number, LampState state)
{
    if (number >= FirstKeyLamp && number <= LastKeyLamp) {
        if (state.pattern == LampPattern::Wink && !state.isOff())
            return state.colour == LampColour::Red ? 546 : 545;
        return pick(keyLampImages(number), state);
    }
    if (number == LargeIndicator)
        return pick({494, 496, 497, 498, 499, 500, 495}, indicatorState(state));
    if (number == SmallIndicator) {
        if (state.colour == LampColour::Green)
            return 0;
        return pick({0, 0, 0, 501, 502, 503, 493}, indicatorState(state));
    }
    return 0;
}

KeyImageSet LampBoard::keyImagesFor(KeyImage image)
{
    switch (image) {
    case KeyImage::RedLit: return {543, 543, 543, 543};
    case KeyImage::GreenLit: return {544, 544, 544, 544};
    case KeyImage::Normal: break;
    }
    return {331, 333, 332, 331};
}

KeyImageSet LampBoard::key15ImagesFor(bool active)
{
    if (active)
        return {390, 315, 390, 390};
    return {325, 315, 326, 325};
}

} // namespace dpx
