// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cmath>

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
    const QCommandLineOption simEeprom(
        QStringLiteral("sim-eeprom"),
        QStringLiteral("Keep the simulated box's EEPROM in FILE, a 4 MiB image (implies --simulate)."),
        QStringLiteral("FILE"));
    const QCommandLineOption backup(QStringLiteral("eeprom-backup"),
                                    QStringLiteral("Save the box's whole EEPROM into FILE (4 MiB)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption restore(QStringLiteral("eeprom-restore"),
                                     QStringLiteral("Write an EEPROM image FILE back into the box."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption loadRing(
        QStringLiteral("load-ring"),
        QStringLiteral("Load FILE (.raw or mu-law 16 kHz mono WAVE) into SLOT: 0 = ring, 1-5 = music. "
                       "Repeatable."),
        QStringLiteral("SLOT=FILE"));
    const QCommandLineOption factory(QStringLiteral("factory-default"),
                                     QStringLiteral("Write the factory table and the six factory files into the box."));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      QStringLiteral("Do not read written data back from the box."));
    const QCommandLineOption importContacts(
        QStringLiteral("import"),
        QStringLiteral("Import contacts from vCard or CSV files (FILE and the files after it); "
                       "contacts already present are skipped."),
        QStringLiteral("FILE"));
    const QCommandLineOption exportVCard(QStringLiteral("export-vcard"),
                                         QStringLiteral("Export every contact to FILE as vCard 3.0."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption convert(
        QStringLiteral("convert"),
        QStringLiteral("Convert a part of the sound file IN (WAV, MP3, ...) into the box's raw format: "
                       "dpx --convert IN OUT.raw [--start M:SS] [--length SECONDS]."),
        QStringLiteral("IN"));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("Where --convert starts (default 0:00)."),
                                   QStringLiteral("M:SS"));
    const QCommandLineOption length(QStringLiteral("length"),
                                    QStringLiteral("Seconds --convert takes, at most 36 (default: to the end, at most 36)."),
                                    QStringLiteral("SECONDS"));
    parser.addOptions({help, version, simulate, dataDir, script, dial, simEeprom, backup, restore,
                       loadRing, factory, noVerify, convert, start, length, traceHid, replayHid,
                       replaySpeed, log, importContacts, exportVCard});
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
    options.simulate = parser.isSet(simulate) || parser.isSet(script) || parser.isSet(simEeprom);
    options.simEeprom = parser.value(simEeprom);
    options.eepromBackup = parser.value(backup);
    options.eepromRestore = parser.value(restore);
    options.factoryDefault = parser.isSet(factory);
    options.noVerify = parser.isSet(noVerify);
    for (const QString &value : parser.values(loadRing)) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        bool numeric = false;
        const int slot = equals > 0 ? value.left(equals).toInt(&numeric) : -1;
        if (!numeric || slot < 0 || slot > 5 || equals + 1 >= value.size()) {
            options.error = QStringLiteral("--load-ring wants SLOT=FILE with SLOT 0 (ring) to 5: %1").arg(value);
            return options;
        }
        options.ringLoads.append({slot, value.mid(equals + 1)});
    }
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(convert)) {
        options.convertSource = parser.value(convert);
        if (positional.isEmpty() || positional.first().startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)
            || options.convertSource.isEmpty()) {
            options.error = QStringLiteral("--convert wants IN and OUT: dpx --convert IN OUT.raw");
            return options;
        }
        options.convertTarget = positional.takeFirst();
        options.convertStart = parser.isSet(start) ? parseTime(parser.value(start)) : 0;
        bool numeric = !parser.isSet(length);
        if (parser.isSet(length))
            options.convertLength = parser.value(length).toDouble(&numeric);
        if (options.convertStart < 0) {
            options.error = QStringLiteral("--start wants M:SS, e.g. 1:05: %1").arg(parser.value(start));
            return options;
        }
        if (!numeric || !(options.convertLength >= 0) || (parser.isSet(length) && !(options.convertLength > 0))
            || options.convertLength > 36) {
            options.error = QStringLiteral("--length wants seconds above 0 and at most 36: %1").arg(parser.value(length));
            return options;
        }
    } else if (parser.isSet(start) || parser.isSet(length)) {
        options.error = QStringLiteral("--start and --length go with --convert.");
        return options;
    }
    options.importFiles = parser.values(importContacts);
    options.exportVCard = parser.value(exportVCard);
    if (!options.importFiles.isEmpty()) {
        // --import takes every file that follows it.
        for (const QString &arg : positional) {
            if (!arg.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
                options.importFiles.append(arg);
        }
    }
    options.importFiles.removeAll(QString());
    const int jobKinds = int(!options.eepromBackup.isEmpty()) + int(!options.eepromRestore.isEmpty())
        + int(!options.ringLoads.isEmpty()) + int(options.factoryDefault) + int(!options.convertSource.isEmpty())
        + int(parser.isSet(importContacts)) + int(parser.isSet(exportVCard));
    if (jobKinds > 1) {
        options.error = QStringLiteral("Choose one of --eeprom-backup, --eeprom-restore, --load-ring, "
                                       "--factory-default, --convert, --import and --export-vcard at a time.");
        return options;
    }
    if (parser.isSet(backup) && options.eepromBackup.isEmpty())
        options.error = QStringLiteral("--eeprom-backup wants a file name.");
    if (parser.isSet(restore) && options.eepromRestore.isEmpty())
        options.error = QStringLiteral("--eeprom-restore wants a file name.");
    if (parser.isSet(importContacts) && options.importFiles.isEmpty())
        options.error = QStringLiteral("--import wants at least one file name.");
    if (parser.isSet(exportVCard) && options.exportVCard.isEmpty())
        options.error = QStringLiteral("--export-vcard wants a file name.");
    if (!options.error.isEmpty())
        return options;
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
    for (const QString &arg : positional) {
        if (arg.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)) {
            options.dialNumber = arg;
        } else if (!options.importFiles.contains(arg)) {
            options.error = QStringLiteral("Unexpected argument: %1").arg(arg);
            return options;
        }
    }
    return options;
}

QStringList Options::jobArguments() const
{
    const auto absolute = [](const QString &path) { return QFileInfo(path).absoluteFilePath(); };
    QStringList arguments;
    if (!eepromBackup.isEmpty())
        arguments << QStringLiteral("--eeprom-backup") << absolute(eepromBackup);
    if (!eepromRestore.isEmpty())
        arguments << QStringLiteral("--eeprom-restore") << absolute(eepromRestore);
    for (const RingLoad &load : ringLoads)
        arguments << QStringLiteral("--load-ring") << QStringLiteral("%1=%2").arg(load.slot).arg(absolute(load.path));
    if (factoryDefault)
        arguments << QStringLiteral("--factory-default");
    if (noVerify)
        arguments << QStringLiteral("--no-verify");
    if (!convertSource.isEmpty()) {
        arguments << QStringLiteral("--convert") << absolute(convertSource) << absolute(convertTarget)
                  << QStringLiteral("--start") << QString::number(convertStart, 'g', 17);
        if (convertLength > 0)
            arguments << QStringLiteral("--length") << QString::number(convertLength, 'g', 17);
    }
    for (const QString &file : importFiles)
        arguments << QStringLiteral("--import") << absolute(file);
    if (!exportVCard.isEmpty())
        arguments << QStringLiteral("--export-vcard") << absolute(exportVCard);
    return arguments;
}

double Options::parseTime(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() > 2 || parts.last().isEmpty())
        return -1;
    bool ok = true;
    const double seconds = parts.last().toDouble(&ok);
    if (!ok || !(seconds >= 0) || !std::isfinite(seconds))
        return -1;
    if (parts.size() == 1)
        return seconds;
    const int minutes = parts.first().toInt(&ok);
    if (!ok || minutes < 0 || seconds >= 60)
        return -1;
    return minutes * 60.0 + seconds;
}

bool Options::hasJob() const
{
    return !eepromBackup.isEmpty() || !eepromRestore.isEmpty() || !ringLoads.isEmpty() || factoryDefault
        || !convertSource.isEmpty() || !importFiles.isEmpty() || !exportVCard.isEmpty();
}

bool Options::usesBox() const
{
    return !eepromBackup.isEmpty() || !eepromRestore.isEmpty() || !ringLoads.isEmpty() || factoryDefault;
}

} // namespace dpx
