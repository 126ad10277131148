// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneApp.h"

#include "addressbook/AddressDatabase.h"
#include "app/DataFolder.h"
#include "app/MainPhoneWindow.h"
#include "app/Options.h"
#include "app/ScriptRunner.h"
#include "app/SimPanel.h"
#include "app/SimEepromFile.h"
#include "app/SingleInstance.h"
#include "app/CommandJobs.h"
#include "transfer/TransferSession.h"
#include "device/BoxLink.h"
#include "device/HidapiTransport.h"
#include "settings/SkinTable.h"
#include "settings/Themes.h"
#include "sim/SimulatedBox.h"

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
        return QStringLiteral("No address database: working without contacts.");
    return QStringLiteral("Address database cannot be opened: %1").arg(db.lastError());
}

} // namespace

int PhoneApp::run(int argc, char **argv)
{
    // Help, version and bad arguments are answered before any window system is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = Options::parse(arguments);
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
        std::puts("DPX VKSDPX.F01(N)");
        return 0;
    }
    // Jobs run without a display, or in the DPX already running for the data folder.
    if (options.hasJob())
        return runCommandJob(argc, argv, options);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dpx"));
    QApplication::setApplicationDisplayName(QStringLiteral("DPX"));
    QApplication::setOrganizationName(QStringLiteral("dpx"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Every start uses the same look, whatever the settings row holds (it only decides the
    // check mark of the "Skin" menu).
    Themes::apply(kStartupSkin);

    DataFolder data(DataFolder::choose(
        options.dataDir, qEnvironmentVariable("DPX_DATA_DIR"), QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)));

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

    std::unique_ptr<HidTransport> transport;
    SimulatedBox *simulated = nullptr;
    if (options.simulate) {
        auto box = std::make_unique<SimulatedBox>();
        simulated = box.get();
        box->plug();
        transport = std::move(box);
    } else {
        transport = std::make_unique<HidapiTransport>();
    }
    if (simulated && !options.simEeprom.isEmpty()) {
        QString error;
        if (!SimEepromFile::load(*simulated, options.simEeprom, data.path(), &error))
            return fail(error);
    }
    BoxLink box(*transport);
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
        QObject::connect(&transfer, &TransferSession::statusText, &window, &MainPhoneWindow::ShowStatusText);
        QObject::connect(&window, &MainPhoneWindow::exitRequested, &app, [] { QApplication::quit(); });
        QObject::connect(&instance, &SingleInstance::activated, &window,
                         [&window](const QStringList &arguments) {
                             if (window.isHidden() || window.isMinimized())
                                 window.fadeIn();
                             window.raise();
                             window.activateWindow();
                             const Options later = Options::parse(QStringList{QStringLiteral("dpx")} + arguments);
                             if (later.error.isEmpty() && !later.dialNumber.isEmpty())
                                 window.dialRequest(later.dialNumber);
                         });
        window.show();
        if (!options.dialNumber.isEmpty())
            QTimer::singleShot(0, &window, [&] { window.dialRequest(options.dialNumber); });

        std::unique_ptr<SimPanel> panel;
        if (simulated && options.simScript.isEmpty()) {
            panel = std::make_unique<SimPanel>(*simulated);
            panel->move(window.frameGeometry().topRight() + QPoint(8, 0));
            panel->show();
        }
        std::unique_ptr<ScriptRunner> runner;
        if (simulated && !options.simScript.isEmpty()) {
            runner = std::make_unique<ScriptRunner>(window, *simulated);
            QObject::connect(runner.get(), &ScriptRunner::finished, &app, [&](int code) {
                exitCode = code;
                window.close();
                QApplication::quit();
            });
            if (!runner->start(options.simScript))
                return 1;
        }
        const int loopCode = QApplication::exec();
        if (!runner)
            exitCode = loopCode;
        window.close();
    }
    transfer.cancelAndWait();
    saveSimEeprom();
    // The window is gone; the link, the database and the work folder go in that order.
    return exitCode;
}

} // namespace dpx
