// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

class SimulatedBox;

// The simulated box's EEPROM kept in a 4 MiB image file (--sim-eeprom FILE).
namespace SimEepromFile {

// Loads the image into the box. A missing file gives a box as it comes from the shop: the
// factory table from the data folder's info.ini and its six factory files in their slots.
// A file of another size is refused (false, *error set).
bool load(SimulatedBox &box, const QString &path, const QString &dataFolder, QString *error);
// Saves the box's memory through a temporary file and a rename.
bool save(const SimulatedBox &box, const QString &path, QString *error);

} // namespace SimEepromFile

} // namespace dpx
