// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/KeyCodes.h"

#include <bit>

namespace dpx {

namespace {

constexpr int OutsideLineKey = 28; // code 0x43

bool isDialChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'p' || c == u'P';
}

void appendDialSteps(QList<DialStep> &steps, QStringView text)
{
    for (const QChar c : text) {
        if (c == u'p' || c == u'P')
            steps.append({0, DialLetterPauseMs});
        else if (const int key = dialKeyNumber(c); key > 0)
            steps.append({key, DialDigitPauseMs});
    }
}

} // namespace

int keyCode7(int keyNumber, PhoneType type)
{
    const bool dx = type == PhoneType::DX;
    const int k = keyNumber;
    if (k >= 1 && k <= 3)
        return 0x52 + (k - 1);
    if (k == 4)
        return dx ? 0x75 : 0x65;
    if (k == 5)
        return 0x76;
    if (k == 6 || k == 7)
        return k == 6 ? 0x4B : 0x4C;
    if (k >= 8 && k <= 12) {
        static constexpr int navigation[5] = {0x72, 0x73, 0x70, 0x71, 0x74};
        return navigation[k - 8] - (dx ? 0 : 0x10);
    }
    if (k >= 16 && k <= 27)
        return 0x11 + (k - 16); // digits 1-9, then 0, star, hash
    if (k == 28 || k == 56)
        return 0x43;
    if (k == 29 || k == 32 || k == 33)
        return 0x47;
    if (k == 30)
        return 0x4D;
    if (k == 31)
        return 0x45;
    if (k >= 34 && k <= 45)
        return 0x21 + (k - 34);
    if (k == 52 || k == 53)
        return k == 52 ? 0x42 : 0x41;
    if (k == 54 || k == 55)
        return k == 54 ? 0x49 : 0x4A;
    if (k >= 57 && k <= 59)
        return 0x2D + (k - 57);
    if (k >= 60 && k <= 68)
        return 0x31 + (k - 60); // 0x30 is not used
    return -1;
}

quint8 withEvenParity(quint8 code7)
{
    const quint8 code = code7 & 0x7F;
    return std::popcount(code) % 2 ? quint8(code | 0x80) : code;
}

KeyPress translateKey(int keyNumber, PhoneType type)
{
    KeyPress press;
    switch (keyNumber) {
    case 13:
        press.followKeys = {OutsideLineKey, 21, 25}; // then digits 6 and 0
        return press;
    case 14:
        press.frames = {{KeyPressCommand, withEvenParity(0x43)},
                        {KeyPressCommand, withEvenParity(0x11)}};
        return press;
    case 15:
        press.togglesKey15 = true;
        press.followKeys = {OutsideLineKey, 22, 21}; // then digits 7 and 6
        return press;
    case 46:
    case 47: press.frames = {{SwitchCommand, quint8(keyNumber == 46 ? 1 : 0)}}; return press;
    default: break;
    }
    if (const int code = keyCode7(keyNumber, type); code >= 0)
        press.frames = {{KeyPressCommand, withEvenParity(quint8(code))}};
    return press;
}

QList<FramePayload> framePayloads(int keyNumber, PhoneType type)
{
    const KeyPress press = translateKey(keyNumber, type);
    QList<FramePayload> frames = press.frames;
    // Follow-up keys are plain keys, so one level of expansion is enough.
    for (const int follow : press.followKeys)
        frames += translateKey(follow, type).frames;
    return frames;
}

FramePayload ringEnablePayload(bool on)
{
    return {RingEnableCommand, quint8(on ? 1 : 0)};
}

int digitKeyNumber(QChar digit)
{
    if (digit == u'0')
        return 25;
    if (digit >= u'1' && digit <= u'9')
        return 15 + (digit.unicode() - u'0');
    return -1;
}

int dialKeyNumber(QChar c)
{
    if (c == u'*')
        return 26;
    if (c == u'#')
        return 27;
    return digitKeyNumber(c);
}

bool isDiallableNumber(QStringView number)
{
    if (number.isEmpty())
        return false;
    for (const QChar c : number) {
        if (!isDialChar(c))
            return false;
    }
    return true;
}

QString withoutVisualSeparators(QStringView number)
{
    QString kept;
    kept.reserve(number.size());
    for (const QChar c : number)
        if (!c.isSpace() && c != u'-' && c != u'.' && c != u'(' && c != u')')
            kept += c;
    return kept;
}

QList<DialStep> dialSteps(QStringView lineCode, QStringView number)
{
    QList<DialStep> steps;
    appendDialSteps(steps, lineCode);
    steps.append({0, DialAfterLineCodeMs});
    appendDialSteps(steps, number);
    return steps;
}

} // namespace dpx
