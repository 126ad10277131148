// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A simulated box with the shipped layout (B1..B5 = 10, 20, 30, 40, 50) and a worker body
// with short limits, so fault cases end in milliseconds instead of the box's seconds.

#include "device/UsbHidDevice.h"
#include "sim/SimulatedBox.h"
#include "transfer/EepromImage.h"
#include "transfer/TransferRun.h"
#include "../support/TestFiles.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>

namespace dpx::test {

inline constexpr int Block = 65536;

inline QByteArray shippedTable()
{
    QByteArray bytes(256, char(0xFF));
    bytes[0] = 0x02;
    bytes[1] = 0x00;
    const int starts[] = {10, 20, 30, 40, 50};
    for (int n = 1; n <= 5; ++n) {
        bytes[56 + 4 * n] = char(starts[n - 1]);
        bytes[56 + 4 * n + 1] = 0;
    }
    return bytes;
}

inline EepromLink::Limits shortLimits()
{
    EepromLink::Limits limits;
    limits.linkOnMs = 200;
    limits.readStartMs = 150;
    limits.pageCountReadMs = 150;
    limits.eraseMs = 150;
    limits.tableEraseMs = 150;
    limits.blockCheckMs = 60;
    limits.reportMs = 100;
    limits.tableReadAttempts = 2;
    limits.tableReadPauseMs = 10;
    return limits;
}

// Bytes that differ from page to page, so a duplicated or shifted block shows.
inline QByteArray pattern(int size, int seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = quint32(seed) * 2654435761u + 12345u;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char(quint8((x >> 16) & 0x7F)); // never 0xFF, so written bytes are told apart
    }
    return bytes;
}

// How many output reports the box received that start with the given bytes (hex).
inline int framesSent(const SimulatedBox &box, const QByteArray &hexPrefix)
{
    int count = 0;
    for (const QByteArray &r : box.outputReports())
        count += r.startsWith(QByteArray::fromHex(hexPrefix));
    return count;
}

struct BoxFixture {
    SimulatedBox box;
    QTemporaryDir dir;
    std::atomic_bool abort{false};
    QStringList statuses;
    QStringList messages;

    BoxFixture()
    {
        box.plug();
        box.setEeprom(EepromImage::factory(InfoTable(shippedTable()), {}));
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    TransferOutcome run(const TransferPlan &plan, const std::function<void(TransferRun &)> &setup = {})
    {
        UsbHidDevice device(box);
        TransferReport report;
        report.status = [this](const QString &t) { statuses.append(t); };
        report.message = [this](const QString &t) { messages.append(t); };
        TransferRun run(device, abort, report);
        run.link().setLimits(shortLimits());
        if (setup)
            setup(run);
        return run.run(plan);
    }

    TransferOutcome load(const QList<SlotJob> &jobs, bool verify = true)
    {
        TransferPlan plan;
        plan.jobs = jobs;
        plan.verify = verify;
        return run(plan);
    }

    QByteArray region(int block, int length) const { return box.eepromBytes(block * Block, length); }
    QByteArray table() const { return box.eepromBytes(Block, 256); }
};

} // namespace dpx::test
