// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options.h"

#include <QCommandLineParser>

namespace dpx {

Options Options::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("DPX - desktop companion for the VKS key telephone"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Run against the simulated telephone."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep all data in DIR."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption script(
        QStringLiteral("sim-script"),
        QStringLiteral("Run a script of telephone actions (implies --simulate)."),
        QStringLiteral("FILE"));
    const QCommandLineOption dial(QStringLiteral("dial"),
                                  QStringLiteral("Dial NUMBER on the desk telephone."),
                                  QStringLiteral("NUMBER"));
    const QCommandLineOption traceHid(
        QStringLiteral("trace-hid"),
        QStringLiteral("Write every report exchanged with the box to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption replayHid(
        QStringLiteral("replay-hid"),
        QStringLiteral("Play the box's side of a trace FILE and check what DPX writes."),
        QStringLiteral("FILE"));
    const QCommandLineOption replaySpeed(
        QStringLiteral("replay-speed"),
        QStringLiteral("Replay N times faster than recorded (default 1)."), QStringLiteral("N"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Write diagnostics with time stamps to FILE."),
                                 QStringLiteral("FILE"));
    parser.addOptions({help, version, simulate, dataDir, script, dial, traceHid, replayHid,
                       replaySpeed, log});
    parser.addPositionalArgument(QStringLiteral("url"),
                                 QStringLiteral("A tel: URL to dial."), QStringLiteral("[tel:NUMBER]"));

    Options options;
    // Help can be asked for before the application object exists, which names the program.
    options.helpText = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                 QStringLiteral("dpx"));
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    options.simulate = parser.isSet(simulate) || parser.isSet(script);
    options.dataDir = parser.value(dataDir);
    options.simScript = parser.value(script);
    options.dialNumber = parser.value(dial);
    options.traceHid = parser.value(traceHid);
    options.replayHid = parser.value(replayHid);
    options.logFile = parser.value(log);
    if (parser.isSet(replaySpeed)) {
        bool ok = false;
        options.replaySpeed = parser.value(replaySpeed).toDouble(&ok);
        if (!ok || !(options.replaySpeed > 0) || options.replaySpeed > 1000) {
            options.error = QStringLiteral("--replay-speed needs a number above 0 (up to 1000)");
            return options;
        }
    }
    for (const QString &arg : parser.positionalArguments()) {
        if (arg.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)) {
            options.dialNumber = arg;
        } else {
            options.error = QStringLiteral("Unexpected argument: %1").arg(arg);
            return options;
        }
    }
    return options;
}

} // namespace dpx
