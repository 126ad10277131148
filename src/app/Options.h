// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
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
    QString simEeprom;     // --sim-eeprom FILE: the simulated box's memory (implies --simulate)
    QString language;      // --lang NAME, already checked (empty: not given)

    // Command-line jobs: work done without a window (or handed to the running DPX).
    struct RingLoad {
        int slot = 0; // 0 = the general ring tone, 1..5 = music
        QString path;
    };
    QString eepromBackup;      // --eeprom-backup FILE
    QString eepromRestore;     // --eeprom-restore FILE
    QList<RingLoad> ringLoads; // --load-ring SLOT=FILE (repeatable)
    bool factoryDefault = false; // --factory-default
    bool noVerify = false;       // --no-verify: written data is not read back
    QStringList importFiles;     // --import FILE... (vCard or CSV)
    QString exportVCard;         // --export-vcard FILE
    // --convert IN OUT [--start M:SS] [--length SECONDS]: a segment into the box's raw format.
    QString convertSource;
    QString convertTarget;
    double convertStart = 0;
    double convertLength = 0;    // 0: up to the end of the file (at most 36 s)
    bool showHelp = false;
    bool showVersion = false;
    QString error;         // set when the arguments cannot be understood
    QString helpText;

    // True when the command line asks for a job rather than the telephone window.
    bool hasJob() const;
    // True when the job talks to the box (a transfer, a backup or a restore).
    bool usesBox() const;
    // The job's options again, with absolute file names, to hand to a running DPX.
    QStringList jobArguments() const;

    static Options parse(const QStringList &arguments);
    // "M:SS" (also "M:SS.s" or plain seconds) as seconds; -1 when it is not such a time.
    static double parseTime(const QString &text);
};

} // namespace dpx
