// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace dpx {

// Start-up and shutdown of the program: options, the data folder, the single instance, the
// database, the box (real or simulated) and the main window, in that order; the reverse at exit.
class PhoneApp {
public:
    static int run(int argc, char **argv);
};

} // namespace dpx
