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
    parser.addOptions({help, version, simulate, dataDir, script, dial});
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
