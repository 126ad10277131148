// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// "DPX 0.1": the program and its version, as traces and reports name it.
QString programVersion();

// What --version prints: the program's version and those of the libraries in use (Qt,
// hidapi, SQLite, libsndfile, libsoxr), one per line.
QString versionReport();

} // namespace dpx
