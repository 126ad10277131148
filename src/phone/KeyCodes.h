// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/PhoneType.h"

#include <QList>
#include <QStringView>

namespace dpx {


// Bytes 2 and 3 of a 5-byte command frame.
struct FramePayload {
    quint8 command = 0;
    quint8 value = 0;
    bool operator==(const FramePayload &) const = default;
};
inline constexpr quint8 KeyPressCommand = 0x04;   // value: key code with parity
inline constexpr quint8 SwitchCommand = 0x05;     // value: 1 on, 0 off
inline constexpr quint8 RingEnableCommand = 0x06; // value: 1 on, 0 off

inline constexpr int FirstKeyNumber = 1;
inline constexpr int LastKeyNumber = 68;

// The 7-bit code of a key that sends one plain key code; -1 for keys without one (the
// sequence keys 13-15, the switch keys 46/47, 48-51 and numbers outside 1-68).
int keyCode7(int keyNumber, PhoneType type);
// Sets bit 7 when the 7-bit code has an odd number of 1 bits, so the byte's count is even.
quint8 withEvenParity(quint8 code7);

// What pressing one key does.
struct KeyPress {
    QList<FramePayload> frames; // sent at once, in order
    QList<int> followKeys;      // keys pressed next, in order (the sequence keys)
    bool togglesKey15 = false;  // key 15 swaps its image first
    bool isEmpty() const { return frames.isEmpty() && followKeys.isEmpty() && !togglesKey15; }
};
KeyPress translateKey(int keyNumber, PhoneType type);

// Every frame a key press sends, with the sequence keys' follow-up keys expanded.
QList<FramePayload> framePayloads(int keyNumber, PhoneType type);

FramePayload ringEnablePayload(bool on);

// The key that dials a digit character: '0' is key 25, '1'..'9' are keys 16..24; -1 otherwise.
int digitKeyNumber(QChar digit);
// As digitKeyNumber, and '*' is key 26, '#' key 27 (numbers from tel: links may hold them).
int dialKeyNumber(QChar c);

// Dialling from the phone book: the number may hold digits and the pause letter p or P only,
// and must not be empty.
bool isDiallableNumber(QStringView number);
// The number as typed without its visual separators (space, '-', '.', '(', ')'), which people
// write into numbers and which the telephone has no key for.
QString withoutVisualSeparators(QStringView number);

// One step of dialling: press a key (0: none) and then wait pauseMs.
struct DialStep {
    int keyNumber = 0;
    int pauseMs = 0;
    bool operator==(const DialStep &) const = default;
};
inline constexpr int DialDigitPauseMs = 300;
inline constexpr int DialLetterPauseMs = 1200;
inline constexpr int DialAfterLineCodeMs = 1500;
// The outside-line code (characters other than digits and p/P are skipped), a pause, then the
// number. Check the number with isDiallableNumber first.
QList<DialStep> dialSteps(QStringView lineCode, QStringView number);

} // namespace dpx
