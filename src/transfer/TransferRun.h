// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/EepromLink.h"
#include "transfer/InfoTable.h"
#include "transfer/TransferPlan.h"

#include <QString>

#include <atomic>
#include <functional>

namespace dpx {

class UsbHidDevice;

// Where a run reports to; called on the worker thread.
struct TransferReport {
    std::function<void(const QString &)> status;  // the main window's status line
    std::function<void(const QString &)> message; // a message box
    std::function<void(const TransferProgress &)> progress;
};

// The body of the transfer worker: link on, the plan's work, EEPROM and link off, device
// closed, on every path. Synchronous: the session runs it on its thread, tests call it directly.
class TransferRun {
public:
    TransferRun(UsbHidDevice &device, const std::atomic_bool &abort, TransferReport report);

    EepromLink &link() { return m_link; }
    TransferOutcome run(const TransferPlan &plan);

    // The file name of a path, cut to 23 bytes and "..." when longer than 22 bytes (UTF-8,
    // never inside a character).
    static QString displayName(const QString &path);
    // The longest start of text whose UTF-8 form fits in maxBytes.
    static QString cutUtf8(const QString &text, int maxBytes);

private:
    enum class FileResult { Ok, Failed, Reported, Aborted, Gone };

    EepromLink::Result writeSlots(const TransferPlan &plan, TransferOutcome *outcome);
    FileResult transferFile(const SlotJob &job, const QString &name, bool verify,
                            TransferOutcome *outcome);
    FileResult loadTable(const QString &name, TransferOutcome *outcome);
    // Writes data from firstBlock (erased already), then reads it back: a difference is erased
    // from its 64 KiB block on and written again once.
    EepromLink::Result writeVerified(int firstBlock, const QByteArray &data, const QString &name,
                                     bool verify, bool showPercent);
    EepromLink::Result eraseBlocks(int first, int count, const QString &name);
    EepromLink::Result backup(const TransferPlan &plan, TransferOutcome *outcome);
    EepromLink::Result restore(const TransferPlan &plan, TransferOutcome *outcome);
    void fail(TransferOutcome *outcome, const QString &message, bool alsoStatus = true);
    void status(const QString &text);
    void progress(TransferProgress::Phase phase, const QString &name, qint64 done, qint64 total);

    UsbHidDevice &m_device;
    EepromLink m_link;
    TransferReport m_report;
    InfoTable m_table;
    bool m_haveTable = false;
};

} // namespace dpx
