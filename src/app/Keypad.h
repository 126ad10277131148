// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/PhoneType.h"

#include <QObject>

namespace dpx {

class BoxLink;
class CommandFrame;

// Sends the on-screen keys to the telephone: one checksummed 5-byte frame per key code on the
// window's command device; sequence keys press their follow-up keys in order afterwards.
class Keypad : public QObject {
    Q_OBJECT
public:
    enum class Result {
        Sent,    // frames written (or nothing to send for this key number)
        NoBox,   // no box or the link cannot be opened: nothing is sent or queued
    };

    explicit Keypad(BoxLink &box, QObject *parent = nullptr);

    void setPhoneType(PhoneType type) { m_type = type; }
    PhoneType phoneType() const { return m_type; }

    // The press of key number 1..68; numbers outside it (and 48..51) do nothing.
    Result PressKey(int keyNumber);
    // The ring-enable command; without a link it reports NoBox and still tries, as the
    // settings window expects.
    Result SendRingEnable(bool on);

    static constexpr const char *DeviceErrorText = QT_TRANSLATE_NOOP("Keypad", "USB設備錯誤!");

Q_SIGNALS:
    // Key 15 was pressed: its image swaps before its sequence goes out.
    void key15Toggled();
    // A report left for the box (hex of the 25 bytes), for diagnostics and scripts.
    void frameSent(const QByteArray &report);

private:
    bool openLink();
    void sendFrame(quint8 command, quint8 value);

    BoxLink &m_box;
    PhoneType m_type = PhoneType::DX;
};

} // namespace dpx
