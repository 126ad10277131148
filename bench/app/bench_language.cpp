// SPDX-License-Identifier: GPL-3.0-or-later
// Switching the language with every tool window open, to the last repaint, against a plain
// repaint of the same windows in the same run; and what loading the English translation adds
// to a start.
#include "BenchData.h"
#include "app/CallHistoryHookup.h"
#include "app/DesktopIntegration.h"
#include "app/Language.h"
#include "app/MainPhoneWindow.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "history/CallHistoryRecorder.h"
#include "sim/SimulatedBox.h"
#include "transfer/TransferSession.h"

#include <QApplication>

#include <cstdio>

#include "BenchTiming.h"

using namespace dpx;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchData bench;
    if (!bench.open())
        return 1;

    // What a start does with English chosen: one translator loaded from the resource.
    QList<double> loads;
    for (int i = 0; i < 20; ++i) {
        LanguageSwitcher fresh;
        bool loaded = false;
        loads << bench::timeMs([&] { loaded = fresh.apply(QStringLiteral("en")); });
        if (!loaded) {
            std::fprintf(stderr, "%s\n", qPrintable(fresh.problem()));
            return 1;
        }
        QCoreApplication::removePostedEvents(nullptr, QEvent::LanguageChange);
    }

    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    TransferSession transfer(TransferSession::hooksFor(link));
    PhoneServices services;
    services.dataFolder = &bench.folder;
    services.database = &bench.db;
    services.box = &link;
    services.transfer = &transfer;
    LanguageSwitcher switcher;
    MainPhoneWindow window(services);
    CallHistoryRecorder history(&bench.db);
    connectCallHistory(history, window);
    DesktopIntegration integration(history.tracker(), window, bench.folder.path());
    window.show();
    QList<QWidget *> windows{&window};
    for (int i = 0; i < ToolWindowCount; ++i) {
        if (ToolWindow(i) == ToolWindow::SkinMenu || ToolWindow(i) == ToolWindow::CallerCard)
            continue;
        if (QWidget *tool = window.toolWindows().open(ToolWindow(i)))
            windows << tool;
    }
    QCoreApplication::processEvents();
    const auto repaintAll = [&] {
        for (QWidget *shown : std::as_const(windows))
            shown->repaint();
    };

    QList<double> switches;
    QList<double> repaints;
    for (int i = 0; i < 10; ++i) {
        const char *language = i % 2 == 0 ? Language::English : Language::Default;
        switches << bench::timeMs([&] {
            switcher.apply(QString::fromLatin1(language));
            QCoreApplication::sendPostedEvents(); // every window's LanguageChange
            QCoreApplication::sendPostedEvents(); // what retranslating queued (label placing)
            repaintAll();
        });
        repaints << bench::timeMs(repaintAll);
    }
    std::printf("language switch with %lld windows open: %.2f ms median (target <= 100 ms); "
                "plain repaint of the same windows: %.2f ms\n",
                qlonglong(windows.size()), bench::median(switches), bench::median(repaints));
    std::printf("loading the English translation at start: %.3f ms median (target <= 5 ms)\n",
                bench::median(loads));
    window.shutDown();
    return 0;
}
