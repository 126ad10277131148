// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace dpx {

// What the command line asked for.
struct Options {
    bool simulate = false;
    QString dataDir;       // --data-dir
    QString simScript;     // --sim-script FILE (implies --simulate)
    QString dialNumber;    // --dial NUMBER, or a tel: URL among the arguments
    QString traceHid;      // --trace-hid FILE: record the traffic with the box
    QString replayHid;     // --replay-hid FILE: play a recorded box instead of a real one
    double replaySpeed = 1.0; // --replay-speed N
    QString logFile;       // --log FILE: every diagnostic category, with time stamps
    bool showHelp = false;
    bool showVersion = false;
    QString error;         // set when the arguments cannot be understood
    QString helpText;

    static Options parse(const QStringList &arguments);
};

} // namespace dpx
