// SPDX-License-Identifier: GPL-3.0-or-later
// Call actions and the session bus, measured on the real window (offscreen) against the
// simulated box:
//  1. ring report -> ring action started (a program spawned with QProcess::startDetached),
//     against the same spawn done directly in the same run;
//  2. the caller's number read -> an action naming the caller started, same reference;
//  3. the cost the bus object adds to handling an event pair: display writes applied with the
//     object published on a private bus (with a subscriber) against the same writes with it
//     not published.
#include "../app/BenchData.h"
#include "../app/BenchTiming.h"
#include "addressbook/AddressDatabase.h"
#include "app/CallHistoryHookup.h"
#include "app/DataFolder.h"
#include "app/DesktopIntegration.h"
#include "app/MainPhoneWindow.h"
#include "device/BoxLink.h"
#include "history/CallHistoryRecorder.h"
#include "phone/CallTracker.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

using namespace dpx;
using dpx::bench::median;

namespace {

void waitUntil(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

// A private session bus for the measurement, ended with the program.
struct PrivateBus {
    QProcess daemon;
    QString address;
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--print-address=1")});
        if (daemon.waitForStarted(3000) && daemon.waitForReadyRead(3000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon.kill();
        daemon.waitForFinished(3000);
    }
};

// The display writes of one line of text, as the telephone sends them.
QList<std::pair<quint8, quint8>> lineWrite(const QByteArray &text)
{
    QList<std::pair<quint8, quint8>> pairs{{0x50, 0x80}, {0x50, 0xC0}};
    for (qsizetype i = 0; i + 1 < text.size(); i += 2)
        pairs.append({quint8(text[i]), quint8(text[i + 1])});
    pairs.append({0x80, 0x80});
    return pairs;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchData bench;
    if (!bench.open())
        return 1;
    DataFolder &data = bench.folder;
    AddressDatabase &db = bench.db;
    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    PhoneServices services{&data, &db, &link, {}};
    MainPhoneWindow window(services);
    window.show();
    // Time stamps taken before the actions see the event: connected first, called first.
    QElapsedTimer clock;
    qint64 callerReadAt = 0, ringSeenAt = 0;
    QObject::connect(&window, &MainPhoneWindow::callerNumberRead, &window,
                     [&] { callerReadAt = clock.nsecsElapsed(); });
    CallHistoryRecorder history(&db);
    QObject::connect(&history.tracker(), &CallTracker::ringing, &window, [&] { ringSeenAt = clock.nsecsElapsed(); });
    connectCallHistory(history, window);
    DesktopIntegration integration(history.tracker(), window, data.path());
    waitUntil([&] { return window.isBoxPresent(); });
    QSignalSpy started(&integration.actions(), &CallActionRunner::actionStarted);

    const QString program = QStringLiteral("true");
    const int calls = 40;
    QList<double> ringToAction, ringToTracker, callerToAction, direct;
    for (int run = 0; run < 2; ++run) {
        integration.actions().setActions({{ActionWhen::Ring, ActionKind::Program,
                                           run == 0 ? program + QStringLiteral(" {line} {time}")
                                                    : program + QStringLiteral(" {digits} {name}")}});
        for (int i = 0; i < calls; ++i) {
            started.clear();
            clock.start();
            box.telephone().ring(true, QStringLiteral("0223456789"));
            waitUntil([&] { return !started.isEmpty(); });
            const double ms = clock.nsecsElapsed() / 1e6;
            if (run == 0) {
                ringToAction << ms;
                ringToTracker << ringSeenAt / 1e6;
            }
            else
                callerToAction << ms - callerReadAt / 1e6;
            box.telephone().hangUp();
            history.tracker().closeInterrupted(); // the next ring is a new call at once
            QElapsedTimer t;
            t.start();
            QProcess::startDetached(program, {QStringLiteral("co"), QStringLiteral("2026-01-01T00:00:00Z")});
            direct << t.nsecsElapsed() / 1e6;
            waitUntil([] { return false; }, 20);
        }
    }
    std::printf("ring report -> ring action started: median %.2f ms over %d calls\n", median(ringToAction), calls);
    std::printf("  of which the report's way to the call tracker (reader thread, mirror): median %.2f ms\n",
                median(ringToTracker));
    std::printf("caller's number read -> action naming the caller started: median %.2f ms\n",
                median(callerToAction));
    std::printf("  reference, QProcess::startDetached of the same program: median %.2f ms\n", median(direct));

    PrivateBus bus;
    if (bus.address.isEmpty()) {
        std::printf("D-Bus emission cost: not measured (no dbus-daemon)\n");
        return 0;
    }
    const int writes = 400;
    const auto pairsPerWrite = lineWrite("0123456789ABCDEF").size();
    const auto timeWrites = [&] {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < writes; ++i)
            for (const auto &[code, value] : lineWrite(i % 2 ? "0123456789ABCDEF" : "FEDCBA9876543210"))
                window.OnDeviceEvent(code, value);
        return t.nsecsElapsed() / 1e3 / (writes * pairsPerWrite);
    };
    QList<double> without, with;
    for (int round = 0; round < 5; ++round)
        without << timeWrites();
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("bench-service"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, QStringLiteral("bench-client"));
    integration.bus().publish(service, false);
    QObject sink;
    client.connect(service.baseService(), QLatin1String(PhoneBusPath), QLatin1String(PhoneBusInterface),
                   QStringLiteral("DisplayChanged"), &sink, SLOT(deleteLater()));
    for (int round = 0; round < 5; ++round)
        with << timeWrites();
    std::printf("event pair handled with the bus object published (one display change per %lld pairs): "
                "median %.2f us\n", qint64(pairsPerWrite), median(with));
    std::printf("  reference, the same pairs with the object not published: median %.2f us "
                "(the bus adds %.2f us per pair)\n", median(without), median(with) - median(without));
    return 0;
}
