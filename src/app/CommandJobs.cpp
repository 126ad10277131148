// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandJobs.h"

#include "app/DataFolder.h"
#include "app/Options.h"
#include "app/SimEepromFile.h"
#include "app/SingleInstance.h"
#include "addressbook/ContactJobs.h"
#include "addressbook/TextDecoding.h"
#include "audio/ConvertJob.h"
#include "device/HidapiTransport.h"
#include "sim/SimulatedBox.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferPlans.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <QDir>
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
    QCoreApplication::setApplicationName(QStringLiteral("dpx"));
    QCoreApplication::setOrganizationName(QStringLiteral("dpx"));
    DataFolder data(DataFolder::choose(
        options.dataDir, qEnvironmentVariable("DPX_DATA_DIR"), QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)));

    // A running DPX owns the box: the job goes there and its progress comes back.
    SingleInstance instance(data.path());
    if (const auto handed = instance.handOverJob(options.jobArguments(), printLine)) {
        printResult(handed->exitCode, handed->message);
        return handed->exitCode;
    }
    if (!data.prepare()) {
        printLine(data.error());
        return Job::Failed;
    }

    std::unique_ptr<HidTransport> transport;
    SimulatedBox *simulated = nullptr;
    if (options.simulate) {
        auto box = std::make_unique<SimulatedBox>();
        simulated = box.get();
        QString error;
        if (!options.simEeprom.isEmpty()
            && !SimEepromFile::load(*box, options.simEeprom, data.path(), &error)) {
            printLine(error);
            return Job::Failed;
        }
        box->plug();
        transport = std::move(box);
    } else {
        transport = std::make_unique<HidapiTransport>();
    }
    TransferSession::Hooks hooks;
    hooks.transport = transport.get();
    TransferSession session(hooks);
    const std::unique_ptr<Job> job = makeCommandJob(options, {data.path(), &session});
    int exitCode = Job::Failed;
    QObject::connect(job.get(), &Job::progress, &app, printLine);
    QObject::connect(job.get(), &Job::finished, &app, [&exitCode](int code, const QString &message) {
        exitCode = code;
        printResult(code, message);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QTimer::singleShot(0, job.get(), &Job::start);
    QCoreApplication::exec();
    session.cancelAndWait();
    if (simulated && !options.simEeprom.isEmpty()) {
        QString error;
        if (!SimEepromFile::save(*simulated, options.simEeprom, &error)) {
            printLine(error);
            return Job::Failed;
        }
    }
    return exitCode;
}

} // namespace dpx
