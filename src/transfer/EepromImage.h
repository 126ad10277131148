// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/InfoTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dpx {

// A whole EEPROM as a 4 MiB file: the backup format and the simulated box's memory.
namespace EepromImage {

// Reads an image file; empty with *error set when it cannot be read or is not 4 MiB.
QByteArray load(const QString &path, QString *error);
// Writes through a temporary file and a rename; false with *error set.
bool save(const QString &path, const QByteArray &image, QString *error);
// The info table an image holds (block 1).
InfoTable tableOf(const QByteArray &image);
// An image fit to restore: 4 MiB with an initialized table that lays out the six slots.
QString problemWith(const QByteArray &image);

// A box as it comes from the shop: the table in block 1 and the six files in their slots
// (each cut to its region), the music entries stating their pages; erased elsewhere.
QByteArray factory(const InfoTable &table, const QList<QByteArray> &slotFiles);

} // namespace EepromImage

} // namespace dpx
