// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Keypad.h"

#include "device/BoxLink.h"
#include "device/CommandFrame.h"
#include "phone/KeyCodes.h"

#include <QTimer>

namespace dpx {

Keypad::Keypad(BoxLink &box, QObject *parent) : QObject(parent), m_box(box) {}

bool Keypad::openLink()
{
    UsbHidDevice &device = m_box.commandDevice();
    return device.IsOpen() || device.Open() != -1;
}

void Keypad::sendFrame(quint8 command, quint8 value)
{
    CommandFrame frame;
    frame.length = 5;
    CommandFrame::Buffer buffer;
    buffer.fill(0xFF);
    frame.Prepare(buffer, 0);
    buffer[2] = command;
    buffer[3] = value;
    frame.Seal(buffer);
    // A failed write is not reported: the telephone's display shows whether the key arrived.
    m_box.commandDevice().WriteFrame(buffer, int(frame.length));
    Q_EMIT frameSent(QByteArray(reinterpret_cast<const char *>(buffer.data()), int(buffer.size())));
}

Keypad::Result Keypad::PressKey(int keyNumber)
{
    if (!m_box.isPresent() || !openLink())
        return Result::NoBox;
    const KeyPress press = translateKey(keyNumber, m_type);
    if (press.togglesKey15)
        Q_EMIT key15Toggled();
    for (const FramePayload &payload : press.frames)
        sendFrame(payload.command, payload.value);
    // Follow-up keys go out after this press, each as a press of its own, in order.
    for (const int follow : press.followKeys)
        QTimer::singleShot(0, this, [this, follow] { PressKey(follow); });
    return Result::Sent;
}

Keypad::Result Keypad::SendRingEnable(bool on)
{
    const bool linked = openLink();
    const FramePayload payload = ringEnablePayload(on);
    sendFrame(payload.command, payload.value);
    return linked ? Result::Sent : Result::NoBox;
}

} // namespace dpx
