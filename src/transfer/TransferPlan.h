// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace dpx {

// One file for one slot (0 = the general ring tone, 1..5 = music).
struct SlotJob {
    QString path;
    int slot = 0;
    QString displayName; // the list's name; the file name when empty
};

// What one run of the transfer worker does. Everything that can be checked without the box
// (files, table, image) is checked before the run starts.
struct TransferPlan {
    enum class Kind { Slots, FactoryDefault, Backup, Restore };
    Kind kind = Kind::Slots;
    QList<SlotJob> jobs;     // Slots and FactoryDefault
    QByteArray factoryTable; // FactoryDefault: the 256-byte table written before the files
    QString imagePath;       // Backup: the file written
    QByteArray image;        // Restore: the 4 MiB image, already checked
    bool verify = true;      // read every written byte back
};

// Progress of a run by phase, for the window's bar and the command line.
struct TransferProgress {
    enum class Phase { Erase, Write, Verify, Read, Table };
    Phase phase = Phase::Write;
    QString name;    // the file or image being worked on
    qint64 done = 0; // bytes (blocks while erasing)
    qint64 total = 0;
};

// The outcome of a run.
struct TransferOutcome {
    bool ok = false;
    bool cancelled = false;
    QString message; // the failure's message (empty on success and on cancel)
};

} // namespace dpx
