// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandJobs.h"

#include "app/DataFolder.h"
#include "app/Language.h"
#include "app/Options.h"
#include "app/SimEepromFile.h"
#include "app/SingleInstance.h"
#include "addressbook/ContactJobs.h"
#include "addressbook/TextDecoding.h"
#include "audio/ConvertJob.h"
#include "app/BoxTransport.h"
#include "device/ReplayTransport.h"
#include "sim/SimulatedBox.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferPlans.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace dpx {

namespace {

std::unique_ptr<Job> planJob(const PlanOrRefusal &plan, TransferSession &session)
{
    if (!plan.plan)
        return std::make_unique<ImmediateJob>(Job::Failed, plan.messages);
    return std::make_unique<TransferJob>(session, *plan.plan);
}

void printLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

// A job's result goes to standard output when it succeeded (a script may read it), else
// beside the progress lines.
void printResult(int exitCode, const QString &message)
{
    if (message.isEmpty())
        return;
    if (exitCode != Job::Done)
        return printLine(message);
    std::fprintf(stdout, "%s\n", qPrintable(message));
    std::fflush(stdout);
}

// True when a DPX answers for the data folder.
bool isRunning(const SingleInstance &instance)
{
    QLocalSocket socket;
    socket.connectToServer(instance.serverName());
    return socket.waitForConnected(500);
}

} // namespace

std::unique_ptr<Job> makeCommandJob(const Options &options, const JobServices &services)
{
    const QString database = QDir(services.dataFolder).filePath(QString::fromLatin1(DataFolder::DatabaseFileName));
    if (!options.importFiles.isEmpty())
        return std::make_unique<ContactImportJob>(database, options.importFiles,
                                                  textdecoding::defaultLegacyEncoding());
    if (!options.exportVCard.isEmpty())
        return std::make_unique<ContactExportJob>(database, options.exportVCard);
    if (!options.convertSource.isEmpty()) {
        SegmentRequest request{options.convertSource, options.convertStart, std::nullopt};
        if (options.convertLength > 0)
            request.lengthSeconds = options.convertLength;
        return std::make_unique<ConvertJob>(request, options.convertTarget);
    }
    if (!services.transfer)
        return std::make_unique<ImmediateJob>(Job::Failed, QStringList{QStringLiteral("No box link.")});
    const bool verify = !options.noVerify;
    TransferSession &session = *services.transfer;
    if (!options.eepromBackup.isEmpty())
        return planJob(TransferPlans::backup(options.eepromBackup), session);
    if (!options.eepromRestore.isEmpty())
        return planJob(TransferPlans::restore(options.eepromRestore, verify), session);
    if (options.factoryDefault)
        return planJob(TransferPlans::factoryDefault(services.dataFolder, verify), session);
    QList<SlotJob> jobs;
    for (const Options::RingLoad &load : options.ringLoads)
        jobs.append({load.path, load.slot, {}});
    return planJob(TransferPlans::slots(jobs, verify), session);
}

int runCommandJob(int argc, char **argv, const Options &options)
{
    QCoreApplication app(argc, argv);
    // A job speaks the language the program would: --lang, DPX_LANG, then the kept choice.
    LanguageSwitcher language;
    language.apply(Language::forStart(options.language, qEnvironmentVariable("DPX_LANG"),
                                      Language::savedChoice(), nullptr));
    QCoreApplication::setApplicationName(QStringLiteral("dpx"));
    QCoreApplication::setOrganizationName(QStringLiteral("dpx"));
    DataFolder data(DataFolder::choose(
        options.dataDir, qEnvironmentVariable("DPX_DATA_DIR"), QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)));

    // A running DPX owns the box: the job goes there and its progress comes back. A replayed
    // box is this run's own, so such a job stays here.
    SingleInstance instance(data.path());
    if (options.replayHid.isEmpty()) {
        if (!options.traceHid.isEmpty() && options.usesBox() && isRunning(instance)) {
            printLine(QStringLiteral("dpx: a DPX already runs for this data folder and owns the box; "
                                     "quit it, or start it with --trace-hid, to record this job"));
            return Job::Failed;
        }
        if (const auto handed = instance.handOverJob(options.jobArguments(), printLine)) {
            printResult(handed->exitCode, handed->message);
            return handed->exitCode;
        }
    }
    if (!data.prepare()) {
        printLine(data.error());
        return Job::Failed;
    }

    // The same way to the box as the window's: the system's boxes, the simulated telephone or a
    // replayed trace, recorded when asked. Jobs without a box open nothing.
    std::unique_ptr<BoxTransport> boxes;
    if (options.usesBox()) {
        boxes = std::make_unique<BoxTransport>(options);
        QString error = boxes->error();
        if (error.isEmpty() && boxes->simulated() && !options.simEeprom.isEmpty())
            SimEepromFile::load(*boxes->simulated(), options.simEeprom, data.path(), &error);
        if (!error.isEmpty()) {
            printLine(error);
            return Job::Failed;
        }
    }
    TransferSession::Hooks hooks;
    hooks.transport = boxes ? &boxes->transport() : nullptr;
    TransferSession session(hooks);
    const std::unique_ptr<Job> job = makeCommandJob(options, {data.path(), &session});
    int exitCode = Job::Failed;
    QObject::connect(job.get(), &Job::progress, &app, printLine);
    QObject::connect(job.get(), &Job::finished, &app, [&exitCode](int code, const QString &message) {
        exitCode = code;
        printResult(code, message);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    ReplayTransport *replay = boxes ? boxes->replay() : nullptr;
    if (replay) {
        // A difference ends the job at once; the whole trace played leaves the end to the job.
        QObject::connect(replay, &ReplayTransport::finished, &app, [](int code) {
            if (code != 0)
                QCoreApplication::quit();
        });
        replay->start();
    }
    QTimer::singleShot(0, job.get(), &Job::start);
    QCoreApplication::exec();
    session.cancelAndWait();
    if (replay) {
        const QString difference = replay->verdict();
        if (!difference.isEmpty()) {
            printLine(QStringLiteral("dpx: replay %1").arg(difference));
            return Job::Failed;
        }
    }
    if (boxes && boxes->simulated() && !options.simEeprom.isEmpty()) {
        QString error;
        if (!SimEepromFile::save(*boxes->simulated(), options.simEeprom, &error)) {
            printLine(error);
            return Job::Failed;
        }
    }
    return exitCode;
}

} // namespace dpx
