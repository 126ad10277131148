// SPDX-License-Identifier: GPL-3.0-or-later
// Loading slots into a simulated box paced like the real one (one report per millisecond,
// 150 ms per erase): the floor the wire allows, our worker, and the classic procedure with
// its polls and pauses, measured in the same run; plus the worker thread's CPU and a slot
// written and read back. Default: one music slot. --full: the six slots of the shipped
// layout filled to their usable size (about nine minutes per procedure).
#include "ReferenceTransfer.h"

#include "device/UsbHidDevice.h"
#include "sim/SimulatedBox.h"
#include "transfer/EepromImage.h"
#include "transfer/EepromLayout.h"
#include "transfer/TransferRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <thread>

using namespace dpx;

namespace {

constexpr int EraseMs = 150;
constexpr double WriteBlockMs = 8;  // 6 data reports + the check frame out, one reply in
constexpr double ReadBlockMs = 21;  // 19 data reports + the checksum frame in, one ack out
constexpr double CommandMs = 2;     // one report out, one in

InfoTable shippedTable()
{
    QByteArray bytes(256, char(0xFF));
    bytes[0] = 0x02;
    bytes[1] = 0x00;
    for (int n = 1; n <= 5; ++n) {
        bytes[56 + 4 * n] = char(n * 10);
        bytes[57 + 4 * n] = 0;
    }
    return InfoTable(bytes);
}

QByteArray audio(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = quint32(seed) * 2654435761u + 1u;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char(quint8(x >> 16) & 0x7F);
    }
    return bytes;
}

int blocksOf(qint64 bytes) { return int((bytes + 127) / 128); }

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

struct Measure {
    double seconds = 0;
    double cpuSeconds = 0;
    bool ok = false;
};

// Runs `work` on a thread of its own and measures its wall time and CPU time.
template <class Work>
Measure measure(Work work)
{
    Measure m;
    std::thread thread([&] {
        QElapsedTimer clock;
        clock.start();
        const double cpu0 = threadCpuSeconds();
        m.ok = work();
        m.cpuSeconds = threadCpuSeconds() - cpu0;
        m.seconds = double(clock.nsecsElapsed()) / 1e9;
    });
    thread.join();
    return m;
}

void freshBox(SimulatedBox &box)
{
    box.setEeprom(EepromImage::factory(shippedTable(), {}));
    box.clearOutputReports();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool full = app.arguments().contains(QStringLiteral("--full"));
    const QList<int> slots = full ? QList<int>{0, 1, 2, 3, 4, 5} : QList<int>{1};
    const InfoTable table = shippedTable();

    QTemporaryDir dir;
    TransferPlan plan;
    plan.verify = false;
    QList<QByteArray> files;
    double floorMs = 4 * CommandMs                               // link and EEPROM on and off
        + 2 * CommandMs + 2 * ReadBlockMs                        // one table read
        + (CommandMs + EraseMs) + 2 * CommandMs + 2 * WriteBlockMs; // one table write
    int dataBlocks = 0;
    for (int slot : slots) {
        const SlotRegion region = *table.region(slot);
        files.append(audio(region.usableBytes(), slot));
        const QString path = dir.filePath(QStringLiteral("slot%1.raw").arg(slot));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(files.last());
        file.close();
        plan.jobs.append({path, slot, {}});
        dataBlocks += blocksOf(files.last().size());
        floorMs += region.blockCount * (CommandMs + EraseMs) + 2 * CommandMs
            + blocksOf(files.last().size()) * WriteBlockMs;
    }

    SimulatedBox box;
    box.plug();
    box.setPacing(true);
    box.setEraseTimeMs(EraseMs);
    box.setOutputReportLimit(16);
    std::printf("transfer into a paced simulated box: %lld slot(s), %d data blocks, erase %d ms\n",
                qlonglong(slots.size()), dataBlocks, EraseMs);

    // Ours, verify off.
    freshBox(box);
    std::atomic_bool abort{false};
    const Measure ours = measure([&] {
        UsbHidDevice device(box);
        TransferRun run(device, abort, {});
        return run.run(plan).ok;
    });
    bool landed = ours.ok;
    for (int i = 0; i < slots.size(); ++i) {
        const SlotRegion region = *table.region(slots.at(i));
        landed = landed && box.eepromBytes(region.firstBlock * eeprom::BlockSize, int(files.at(i).size())) == files.at(i);
    }

    // The classic procedure on the same box.
    freshBox(box);
    const Measure reference = measure([&] {
        UsbHidDevice device(box);
        if (device.Open() != 0)
            return false;
        ReferenceTransfer classic(device);
        bool ok = classic.begin();
        for (int i = 0; ok && i < slots.size(); ++i)
            ok = classic.load(files.at(i), slots.at(i));
        classic.end();
        return ok;
    });

    std::printf("fill, verify off:  floor %.1f s   ours %.1f s (%.3f x floor)%s   reference %.1f s (%.3f x floor)%s\n",
                floorMs / 1000, ours.seconds, ours.seconds * 1000 / floorMs, landed ? "" : " FAILED",
                reference.seconds, reference.seconds * 1000 / floorMs, reference.ok ? "" : " FAILED");
    std::printf("worker CPU:        ours %.1f %% of a core   reference %.1f %% of a core\n",
                100 * ours.cpuSeconds / ours.seconds, 100 * reference.cpuSeconds / reference.seconds);

    // One music slot written and read back.
    const QByteArray &one = files.at(slots.indexOf(full ? 1 : slots.first()));
    TransferPlan verified;
    verified.jobs = {{dir.filePath(QStringLiteral("slot%1.raw").arg(full ? 1 : slots.first())), full ? 1 : slots.first(), {}}};
    freshBox(box);
    const Measure checked = measure([&] {
        UsbHidDevice device(box);
        TransferRun run(device, abort, {});
        return run.run(verified).ok;
    });
    const SlotRegion region = *table.region(verified.jobs.first().slot);
    const double verifyFloorMs = blocksOf(one.size()) * (WriteBlockMs + ReadBlockMs) + 4 * CommandMs
        + region.blockCount * (CommandMs + EraseMs);
    std::printf("one slot verified: floor %.1f s   ours %.1f s (%.3f x floor)%s\n", verifyFloorMs / 1000,
                checked.seconds, checked.seconds * 1000 / verifyFloorMs, checked.ok ? "" : " FAILED");
    return landed && checked.ok ? 0 : 1;
}
