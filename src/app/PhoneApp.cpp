// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneApp.h"

#include "addressbook/AddressDatabase.h"
#include "app/BoxTransport.h"
#include "app/CallHistoryHookup.h"
#include "app/DataFolder.h"
#include "app/DiagnosticLog.h"
#include "app/DesktopIntegration.h"
#include "app/Language.h"
#include "app/MainPhoneWindow.h"
#include "app/Options.h"
#include "app/RecordingFlow.h"
#include "app/ScriptRunner.h"
#include "app/SimPanel.h"
#include "app/SimEepromFile.h"
#include "app/SingleInstance.h"
#include "app/CommandJobs.h"
#include "app/VersionInfo.h"
#include "transfer/TransferSession.h"
#include "device/BoxLink.h"
#include "device/ReplayTransport.h"
#include "device/HidapiTransport.h"
#include "history/CallHistoryRecorder.h"
#include "settings/SkinTable.h"
#include "settings/Themes.h"
#include "sim/SimulatedBox.h"
#include "ui/Fonts.h"
#include "ui/WindowEffects.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QStandardPaths>

#include <cstdio>

namespace dpx {

namespace {

constexpr int OfferUnsavedDelayMs = 500;

bool interactive()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen")
        && QGuiApplication::platformName() != QLatin1String("minimal");
}

// A problem that stops the start: a message box on a desktop, standard error always.
int fail(const QString &message)
{
    std::fprintf(stderr, "dpx: %s\n", qPrintable(message));
    if (interactive())
        QMessageBox::critical(nullptr, QStringLiteral("DPX"), message);
    return 1;
}

QString databaseProblem(AddressDatabase &db, const QString &path)
{
    if (db.Open())
        return {};
    if (!QFileInfo::exists(path))
        return QCoreApplication::translate("PhoneApp", "找不到通訊簿資料庫,來電不會顯示姓名。");
    return QCoreApplication::translate("PhoneApp", "通訊簿資料庫無法開啟,來電不會顯示姓名:%1")
        .arg(db.lastError());
}

} // namespace

int PhoneApp::run(int argc, char **argv)
{
    // Help, version and bad arguments are answered before any window system is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Options options = Options::parse(arguments);
    // The language comes from the command line, DPX_LANG or the kept choice, never from the
    // system's locale.
    QString environmentProblem;
    const QString language = Language::forStart(options.language, qEnvironmentVariable("DPX_LANG"),
                                                Language::savedChoice(), &environmentProblem);
    if (!environmentProblem.isEmpty())
        std::fprintf(stderr, "dpx: %s\n", qPrintable(environmentProblem));
    if ((!options.error.isEmpty() || options.showHelp) && language != QLatin1String(Language::Default)) {
        // The help and the refusal in the chosen language (translators need an application).
        int helpArgc = 1;
        char programName[] = "dpx"; // the help names the program, not the path it was started by
        char *helpArgv[] = {programName, nullptr};
        QCoreApplication helpApp(helpArgc, helpArgv);
        LanguageSwitcher helpLanguage;
        helpLanguage.apply(language);
        options = Options::parse(arguments);
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "dpx: %s\n\n%s", qPrintable(options.error),
                     qPrintable(options.helpText));
        return 2;
    }
    if (options.showHelp) {
        std::fputs(qPrintable(options.helpText), stdout);
        return 0;
    }
    if (options.showVersion) {
        QCoreApplication versionApp(argc, argv); // loads the SQL driver it asks
        std::fputs(qPrintable(versionReport()), stdout);
        return 0;
    }
    // Jobs run without a display, or in the DPX already running for the data folder.
    if (options.hasJob())
        return runCommandJob(argc, argv, options);

    QApplication app(argc, argv);
    LanguageSwitcher languages;
    languages.apply(language);
    DiagnosticLog log;
    if (!options.logFile.isEmpty() && !log.start(options.logFile))
        std::fprintf(stderr, "dpx: %s; running without a log\n", qPrintable(log.error()));
    QApplication::setApplicationName(QStringLiteral("dpx"));
    QApplication::setApplicationDisplayName(QStringLiteral("DPX"));
    QApplication::setOrganizationName(QStringLiteral("dpx"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dpx.DPX")); // the installed entry
    QApplication::setQuitOnLastWindowClosed(false);
    // Every start uses the same look, whatever the settings row holds (it only decides the
    // check mark of the "Skin" menu).
    Themes::apply(kStartupSkin);
    // Our own texts are Traditional Chinese: a sans-serif face made for it, in every window.
    QApplication::setFont(traditionalChineseFont(0));

    const QString environmentDir = qEnvironmentVariable("DPX_DATA_DIR");
    const QString userDir = DataFolder::userDataDir();
    QString folder = DataFolder::choose(options.dataDir, environmentDir,
                                        QApplication::applicationDirPath(), userDir);
    if (folder == QDir::cleanPath(userDir))
        DataFolder::adoptEarlierFolder(userDir + QStringLiteral("/dpx"), folder);
    if (options.simulate && options.dataDir.isEmpty() && environmentDir.isEmpty())
        folder = DataFolder::simulatedDir(folder);
    DataFolder data(folder);

    // A second start hands its arguments to the first and ends without a window.
    SingleInstance instance(data.path());
    instance.setJobFilter([](const QStringList &arguments) {
        return Options::parse(QStringList{QStringLiteral("dpx")} + arguments).hasJob();
    });
    if (!instance.claim(QApplication::arguments().mid(1)))
        return 0;

    if (!data.prepare())
        return fail(data.error());

    AddressDatabase database(data.databasePath(), QStringLiteral("dpx-main"));
    PhoneServices services;
    services.dataFolder = &data;
    services.database = &database;
    services.databaseProblem = databaseProblem(database, data.databasePath());

    BoxTransport boxes(options);
    if (!boxes.error().isEmpty())
        return fail(boxes.error());
    SimulatedBox *simulated = boxes.simulated();
    ReplayTransport *replay = boxes.replay();
    if (simulated && !options.simEeprom.isEmpty()) {
        QString error;
        if (!SimEepromFile::load(*simulated, options.simEeprom, data.path(), &error))
            return fail(error);
    }
    BoxLink box(boxes.transport());
    services.box = &box;
    // Declared after the link: at exit a running transfer is cancelled and its clean-up done
    // before the link goes.
    TransferSession transfer(TransferSession::hooksFor(box));
    services.transfer = &transfer;
    services.verifyTransfers = !options.noVerify;
    if (!options.simScript.isEmpty())
        services.confirm = [](const QString &) { return true; }; // a script confirms its own requests
    const auto saveSimEeprom = [&] {
        QString error;
        if (simulated && !options.simEeprom.isEmpty()
            && !SimEepromFile::save(*simulated, options.simEeprom, &error))
            std::fprintf(stderr, "dpx: %s\n", qPrintable(error));
    };
    QObject::connect(&transfer, &TransferSession::finished, &transfer, saveSimEeprom);
    QObject::connect(&instance, &SingleInstance::jobHandedOver, &transfer,
                     [&](const QStringList &arguments, JobReply *reply) {
                         const Options later = Options::parse(QStringList{QStringLiteral("dpx")} + arguments);
                         Job *job = makeCommandJob(later, {data.path(), &transfer}).release();
                         job->setParent(&transfer);
                         QPointer<JobReply> guard(reply);
                         QObject::connect(job, &Job::progress, job, [guard](const QString &line) {
                             if (guard)
                                 guard->progress(line);
                         });
                         QObject::connect(job, &Job::finished, job, [guard, job](int code, const QString &message) {
                             if (guard)
                                 guard->finish(code, message);
                             job->deleteLater();
                         });
                         job->start();
                     });

    int exitCode = 0;
    {
        MainPhoneWindow window(services);
        CallHistoryRecorder history(&database);
        connectCallHistory(history, window);
        DesktopIntegration integration(history.tracker(), window, data.path());
        integration.publish(QDBusConnection::sessionBus()); // no session bus: runs without
        QObject::connect(&window, &MainPhoneWindow::exitRequested, &app, [] { QApplication::quit(); });
        QObject::connect(&instance, &SingleInstance::activated, &window,
                         [&window](const QStringList &arguments) {
                             if (window.isHidden() || window.isMinimized())
                                 window.fadeIn();
                             raiseIfShown(&window);
                             window.activateWindow();
                             const Options later = Options::parse(QStringList{QStringLiteral("dpx")} + arguments);
                             if (later.error.isEmpty() && !later.dialNumber.isEmpty())
                                 window.dialRequest(later.dialNumber);
                         });
        window.show();
        if (!languages.problem().isEmpty())
            window.ShowStatusText(languages.problem());
        if (!options.dialNumber.isEmpty())
            QTimer::singleShot(0, &window, [&] { window.dialRequest(options.dialNumber); });

        std::unique_ptr<SimPanel> panel;
        if (simulated && options.simScript.isEmpty()) {
            panel = std::make_unique<SimPanel>(*simulated);
            // Docked: it follows the window, and hides and comes back with it.
            window.dockToolWindow(panel.get(), QPoint(window.frameGeometry().width() + 8, 0));
            panel->show();
        }
        std::unique_ptr<ScriptRunner> runner;
        if (boxes.scriptBox() && !options.simScript.isEmpty()) {
            runner = std::make_unique<ScriptRunner>(window, *boxes.scriptBox());
            runner->setTracer(boxes.tracer());
            runner->setReplay(replay);
            runner->setCallHistory(&history);
            runner->setCallActions(&integration.actions());
            QObject::connect(runner.get(), &ScriptRunner::finished, &app, [&](int code) {
                const QString difference = replay && code == 0 ? replay->verdict() : QString();
                if (!difference.isEmpty())
                    std::fprintf(stderr, "dpx: replay %s\n", qPrintable(difference));
                exitCode = difference.isEmpty() ? code : 1;
                window.shutDown();
                QApplication::quit();
            });
            if (!runner->start(options.simScript))
                return 1;
        }
        // A recording left unsaved by the last run is offered once the window is up (and a
        // script has queued its answers).
        QTimer::singleShot(OfferUnsavedDelayMs, &window, [&window] { window.recordingFlow().offerUnsaved(); });
        if (replay) {
            replay->setHoldAtMarks(runner != nullptr);
            // Alone, the replay ends the program when the trace has played; with a script,
            // only a difference does.
            QObject::connect(replay, &ReplayTransport::finished, &app,
                             [&, scripted = runner != nullptr](int code, const QString &message) {
                                 if (code == 0 && scripted)
                                     return;
                                 if (code != 0)
                                     std::fprintf(stderr, "dpx: replay %s\n", qPrintable(message));
                                 else
                                     std::fprintf(stdout, "dpx: the replay matched the trace\n");
                                 exitCode = code;
                                 window.close();
                                 QApplication::exit(code);
                             });
            replay->start();
        }
        const int loopCode = QApplication::exec();
        if (!runner && !replay)
            exitCode = loopCode;
        history.tracker().closeInterrupted(); // a call still open is kept with what is known
        window.shutDown();
    }
    transfer.cancelAndWait();
    saveSimEeprom();
    // The window is gone; the link, the database and the work folder go in that order.
    return exitCode;
}

} // namespace dpx
