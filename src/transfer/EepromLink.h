// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/EepromCommand.h"

#include <QByteArray>
#include <QDeadlineTimer>

#include <atomic>
#include <functional>

namespace dpx {

class UsbHidDevice;

// The EEPROM command set over an open UsbHidDevice: commands with their reply limits,
// checked block writes and reads, the info table. Runs on one thread (the transfer worker).
// Replies are awaited by blocking reads in short slices, so a cancel is felt within 50 ms and
// a pulled box at once; stale replies are drained (events passed on) before every send.
class EepromLink {
public:
    enum class Result { Ok, Failed, Aborted, Gone };

    // Limits. "N polls" of the box's firmware are N x 16 ms: the pause between polls was a
    // timer tick on the platform the box was made for. Tests shorten the long ones.
    struct Limits {
        int linkOnMs = 5000;
        int switchMs = 10 * 16;
        int readStartMs = 4000;
        int pageCountReadMs = 5000;
        int eraseMs = 4000;
        int eraseSends = 8;
        int tableEraseMs = 5000;
        int tableEraseSends = 6;
        int tableCommandMs = 16;
        int tableCommandSends = 11;
        int writeCommandMs = 10 * 16;
        int blockCheckMs = 5000;
        int blockSendAttempts = 30;
        int reportMs = 5000;
        int blockReadRepeats = 4;
        int tableReadAttempts = 18;
        int tableReadPauseMs = 500;
    };
    static constexpr int SliceMs = 50;

    EepromLink(UsbHidDevice &device, const std::atomic_bool &abortRequested);

    void setLimits(const Limits &limits) { m_limits = limits; }
    const Limits &limits() const { return m_limits; }

    // While set, the abort request is not looked at (the clean-up after a cancel).
    void setIgnoreAbort(bool ignore) { m_ignoreAbort = ignore; }
    bool abortRequested() const;

    // Sends the command and waits up to limitMs for its confirmation, `sends` times at most.
    Result command(const EepromCommand &command, int limitMs, int sends = 1);

    Result linkOn() { return command(EepromCommand::linkOn(), m_limits.linkOnMs); }
    Result linkOff() { return command(EepromCommand::linkOff(), m_limits.switchMs); }
    Result eepromOn() { return command(EepromCommand::eepromOn(), m_limits.switchMs); }
    Result eepromOff() { return command(EepromCommand::eepromOff(), m_limits.switchMs); }
    // Any erase reply (0x01, x) of the right frame type completes the block.
    Result eraseBlock(int block);

    // Writes `data` from the start of `block` (pages of 256 bytes, the last one short);
    // `afterPage` is told the bytes written so far after every page.
    Result writeFrom(int block, const QByteArray &data,
                     const std::function<void(qint64)> &afterPage = {});
    // Reads `length` bytes from the start of `block`.
    Result readFrom(int block, int length, QByteArray *data,
                    const std::function<void(qint64)> &afterBlock = {});

    Result readInfoTable(QByteArray *table);
    Result writeInfoTable(const QByteArray &table);

    // Checked data blocks of 128 bytes: up to 30 sends per block; up to 4 repeats per block read.
    Result sendData(const QByteArray &data);
    Result receiveData(int length, QByteArray *data);

    // Counts for tests and the benchmark.
    int sends() const { return m_sends; }

private:
    Result send(const EepromCommand &command, bool pauseAfter = true);
    Result awaitReply(const EepromCommand &command, int limitMs);
    Result sendPages(const QByteArray &data, const std::function<void(qint64)> &afterPage);
    Result sendBlock(const quint8 *block, int size);
    Result receiveBlock(QByteArray *block, bool last);
    // One valid report of the ID before the deadline, in slices so that a cancel is felt.
    Result readReport(quint8 reportId, const QDeadlineTimer &deadline, std::array<quint8, 8> *report);
    void drain();

    UsbHidDevice &m_device;
    const std::atomic_bool &m_abort;
    Limits m_limits;
    bool m_ignoreAbort = false;
    int m_sends = 0;
};

} // namespace dpx
