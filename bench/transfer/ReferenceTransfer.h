// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace dpx {

class UsbHidDevice;

// The reference procedure of the benchmark: the classic way of loading a slot, with its
// pauses and polls: sleeps of 1 or 2 ms between polls, erase and block checks polled without
// any pause, a 1 ms pause after every command frame, 100 ms before a file is opened and
// 500 ms before the table is read, and the table read (and for music slots written) per file.
class ReferenceTransfer {
public:
    explicit ReferenceTransfer(UsbHidDevice &device) : m_device(device) {}

    bool begin();             // LinkOn, EepromOn
    bool load(const QByteArray &data, int slot);
    void end();               // EepromOff, LinkOff

private:
    bool command(int type, const QByteArray &payload, quint8 b2, quint8 b3, int pauseMs, int polls);
    bool commandWithin(int type, const QByteArray &payload, quint8 b2, quint8 b3, int pauseMs, int limitMs);
    void sendFrame(int type, const QByteArray &payload);
    bool poll(quint8 b2, quint8 b3);
    bool readTable(QByteArray *table);
    bool writeTable(const QByteArray &table);
    bool sendData(const QByteArray &data);
    bool receiveData(int length, QByteArray *data);

    UsbHidDevice &m_device;
};

} // namespace dpx
