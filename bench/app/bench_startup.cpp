// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the real program, offscreen, against the simulated box: from process start to the
// first paint of the window and out again (a script that takes a screenshot and quits), with a
// 10 000-contact address book; the reference is the same start with an empty address book.
// Prints the median wall time and the peak resident memory of the program. Then the same
// start split in two: process start -> first paint, and quit request -> process gone, against
// a bare Qt window (this program started with --bare-window) measured in the same run.
#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

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

// The reference: a bare Qt window that says when it has painted, then quits.
int bareWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    struct Window : QWidget {
        bool painted = false;
        void paintEvent(QPaintEvent *) override
        {
            QPainter(this).fillRect(rect(), Qt::gray);
            if (std::exchange(painted, true))
                return;
            std::puts("painted");
            QTimer::singleShot(0, [] {
                std::puts("quit");
                std::fflush(stdout);
                QApplication::quit();
            });
            std::fflush(stdout);
        }
    } window;
    window.resize(497, 600);
    window.show();
    return QApplication::exec();
}

// One start split in two: process start -> first paint (a line "painted" on the output, or
// the screenshot file appearing) and quit request (a line starting "quit" or "dpx: script
// finished") -> process gone.
struct Phases {
    double toPaintMs = -1;
    double quitToGoneMs = -1;
};

Phases startPhases(const QStringList &command, const QString &paintFile)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        dup2(out[1], STDOUT_FILENO);
        if (!std::freopen("/dev/null", "w", stderr))
            _exit(126);
        close(out[0]);
        QList<QByteArray> words;
        for (const QString &word : command)
            words << word.toLocal8Bit();
        std::vector<char *> argv;
        for (QByteArray &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    Phases phases;
    QByteArray output;
    double quitAt = -1;
    for (;;) {
        pollfd fd{out[0], POLLIN, 0};
        const int ready = poll(&fd, 1, 1);
        const double now = timer.nsecsElapsed() / 1e6;
        struct stat status;
        if (phases.toPaintMs < 0 && !paintFile.isEmpty() && stat(QFile::encodeName(paintFile), &status) == 0)
            phases.toPaintMs = now;
        if (ready > 0) {
            char buffer[512];
            const ssize_t got = read(out[0], buffer, sizeof buffer);
            if (got <= 0)
                break; // the program is gone (its output closed)
            output.append(buffer, got);
            if (phases.toPaintMs < 0 && output.contains("painted"))
                phases.toPaintMs = now;
            if (quitAt < 0 && (output.contains("\nquit") || output.startsWith("quit")
                               || output.contains("dpx: script finished")))
                quitAt = now;
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const double gone = timer.nsecsElapsed() / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || quitAt < 0)
        return {};
    phases.quitToGoneMs = gone - quitAt;
    return phases;
}

Phases medianPhases(const QStringList &command, const QString &paintFile, int rounds)
{
    QList<double> paint, quit;
    for (int i = 0; i < rounds; ++i) {
        if (!paintFile.isEmpty())
            QFile::remove(paintFile);
        const Phases p = startPhases(command, paintFile);
        if (p.toPaintMs < 0 || p.quitToGoneMs < 0)
            return {};
        paint << p.toPaintMs;
        quit << p.quitToGoneMs;
    }
    std::sort(paint.begin(), paint.end());
    std::sort(quit.begin(), quit.end());
    return {paint.at(rounds / 2), quit.at(rounds / 2)};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return bareWindow(argc, argv);
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

    const QString shot = root.filePath(QStringLiteral("shot.png"));
    const Phases ours = medianPhases({dpx, QStringLiteral("--simulate"), QStringLiteral("--data-dir"),
                                      empty, QStringLiteral("--sim-script"), script}, shot, 7);
    const Phases bare = medianPhases({QCoreApplication::applicationFilePath(),
                                      QStringLiteral("--bare-window")}, QString(), 7);
    if (ours.toPaintMs < 0 || bare.toPaintMs < 0) {
        std::fprintf(stderr, "the split start-up could not be measured\n");
        return 1;
    }
    std::printf("start -> first paint:        median %.0f ms (target <= 80 ms); bare Qt window %.0f ms\n",
                ours.toPaintMs, bare.toPaintMs);
    std::printf("quit request -> process gone: median %.0f ms (target <= 20 ms); bare Qt window %.0f ms\n",
                ours.quitToGoneMs, bare.quitToGoneMs);
    return 0;
}
