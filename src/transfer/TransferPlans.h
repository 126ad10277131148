// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/TransferPlan.h"

#include <QStringList>

#include <optional>

namespace dpx {

// Builds the plans the window and the command line start, checking everything that can be
// checked before the box is touched. A refusal lists its messages in the order shown.
struct PlanOrRefusal {
    std::optional<TransferPlan> plan;
    QStringList messages; // the refusal's messages; empty when a plan was made
};

namespace TransferPlans {

// The six factory files in the data folder, slot by slot.
QStringList factoryFileNames(); // ALL.raw, L01.raw .. L05.raw

// Slot files: each must be a .raw (any case) or a mu-law 16 kHz mono WAVE file.
PlanOrRefusal slots(const QList<SlotJob> &jobs, bool verify);
// The factory default from a data folder: its info.ini (which must lay out the six slots)
// and its six factory files; nothing is sent when one of them is missing.
PlanOrRefusal factoryDefault(const QString &dataFolder, bool verify);
PlanOrRefusal backup(const QString &imagePath);
PlanOrRefusal restore(const QString &imagePath, bool verify);

// The table built from the data folder's info.ini; the messages of a failure otherwise.
std::optional<QByteArray> factoryTable(const QString &dataFolder, QStringList *messages);

} // namespace TransferPlans

} // namespace dpx
