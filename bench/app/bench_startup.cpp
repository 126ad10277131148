// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the real program, offscreen, against the simulated box: from process start to the
// first paint of the window and out again (a script that takes a screenshot and quits), with a
// 10 000-contact address book; the reference is the same start with an empty address book.
// Prints the median wall time and the peak resident memory of the program.
#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

using namespace dpx;

namespace {

bool fillContacts(const QString &dbPath, int count)
{
    AddressDatabase db(dbPath, QStringLiteral("bench-fill"));
    if (!db.Open())
        return false;
    if (!db.Execute(QStringLiteral("BEGIN")))
        return false;
    for (int i = 0; i < count; ++i) {
        ContactRecord c;
        c.setText(ContactColumn::Name, QStringLiteral("Contact %1").arg(i, 5, 10, QLatin1Char('0')));
        c.setText(ContactColumn::MobileTelephoneNumber, QStringLiteral("09%1").arg(10000000 + i));
        c.setText(ContactColumn::HomeTelephoneNumber, QStringLiteral("02-2%1").arg(1000000 + i));
        c.setText(ContactColumn::Company, QStringLiteral("Company %1").arg(i % 97));
        if (!db.insertContact(c))
            return false;
    }
    return db.Execute(QStringLiteral("COMMIT"));
}

struct Run {
    double ms = 0;
    long peakKb = 0;
};

Run startOnce(const QString &dpx, const QString &dataDir, const QString &script)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // The program's own chatter would drown the figures.
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(126);
        const QByteArray exe = dpx.toLocal8Bit(), dir = dataDir.toLocal8Bit(),
                         sc = script.toLocal8Bit();
        execl(exe.constData(), exe.constData(), "--simulate", "--data-dir", dir.constData(),
              "--sim-script", sc.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    run.peakKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.ms = -1;
    return run;
}

Run median(const QString &dpx, const QString &dataDir, const QString &script, int rounds)
{
    QList<Run> runs;
    for (int i = 0; i < rounds; ++i)
        runs << startOnce(dpx, dataDir, script);
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.ms < b.ms; });
    return runs.at(rounds / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dpx = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../../dpx");
    QTemporaryDir root;
    const QString script = root.filePath(QStringLiteral("first-paint.dpxs"));
    {
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write("screenshot " + root.filePath(QStringLiteral("shot.png")).toUtf8() + "\nquit\n");
    }
    const QString full = root.filePath(QStringLiteral("full")), empty = root.filePath(QStringLiteral("empty"));
    for (const QString &dir : {full, empty}) {
        QDir().mkpath(dir);
        QString error;
        if (!createAddressDatabase(dir + QStringLiteral("/Address.db"), &error)) {
            std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(error));
            return 1;
        }
    }
    if (!fillContacts(full + QStringLiteral("/Address.db"), 10000)) {
        std::fprintf(stderr, "cannot fill the database\n");
        return 1;
    }
    startOnce(dpx, full, script); // warm the file cache
    const Run withContacts = median(dpx, full, script, 7);
    const Run reference = median(dpx, empty, script, 7);
    if (withContacts.ms < 0 || reference.ms < 0) {
        std::fprintf(stderr, "the program did not run its script (is %s built?)\n", qPrintable(dpx));
        return 1;
    }
    std::printf("start-up to first paint and exit, 10 000 contacts: median %.0f ms (target <= 500 ms), "
                "peak memory %ld KiB\n", withContacts.ms, withContacts.peakKb);
    std::printf("reference, empty address book:                    median %.0f ms, peak memory %ld KiB\n",
                reference.ms, reference.peakKb);
    return 0;
}
