// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the box's microphone on a sound server of the bench's own (a null sink and its
// remapped monitor, as the test services have) for SECONDS (default 60): the recorder's CPU
// time as a share of one core and its bytes against 16 000 a second, beside parec recording
// the same source with the same latency at the same time.
#include "../../tests/support/PrivateSoundServer.h"

#include "audio/SoundRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

using namespace dpx;

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds a running child has used so far (from /proc).
double childCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // utime and stime are the 14th and 15th fields, the 12th and 13th after the name.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? qMax(5, atoi(argv[1])) : 60;
    test::PrivateSoundServer server;
    if (!test::PrivateSoundServer::installed() || !server.start()) {
        std::fprintf(stderr, "bench_recording: no PulseAudio daemon could be started\n");
        return 1;
    }
    server.pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"), QStringLiteral("sink_name=usbbox"),
                  QStringLiteral("sink_properties=device.description=USB-Audio-Box")});
    server.pactl({QStringLiteral("load-module"), QStringLiteral("module-remap-source"), QStringLiteral("source_name=usbmic"),
                  QStringLiteral("master=usbbox.monitor"), QStringLiteral("source_properties=device.description=USB-Audio-Box-Mic")});
    qputenv("PULSE_SERVER", server.address());
    QCoreApplication app(argc, argv);

    QAudioDevice mic;
    for (const QAudioDevice &device : SoundRecorder::captureDevices())
        if (device.description() == QLatin1String("USB-Audio-Box-Mic"))
            mic = device;
    QTemporaryDir dir;
    QProcess parec;
    parec.setStandardOutputFile(dir.filePath(QStringLiteral("parec.raw")));
    parec.start(QStringLiteral("parec"), {QStringLiteral("--device=usbmic"), QStringLiteral("--rate=8000"),
                                          QStringLiteral("--channels=1"), QStringLiteral("--format=s16le"),
                                          QStringLiteral("--latency-msec=120"), QStringLiteral("--raw")});
    SoundRecorder recorder;
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    if (mic.isNull() || !recorder.start(mic, dir.filePath(QStringLiteral("rec.wav")))) {
        std::fprintf(stderr, "bench_recording: the box microphone could not be recorded: %s\n",
                     qPrintable(recorder.error()));
        return 1;
    }
    qint64 firstDataMs = -1;
    while (elapsed.elapsed() < seconds * 1000) {
        wait(50);
        if (firstDataMs < 0 && recorder.dataLength() > 0)
            firstDataMs = elapsed.elapsed();
    }
    const double parecCpu = childCpuSeconds(parec.processId());
    recorder.stop();
    const double wall = double(elapsed.elapsed()) / 1000.0;
    const double cpu = processCpuSeconds() - cpuBefore;
    parec.terminate();
    parec.waitForFinished();
    const qint64 bytes = recorder.dataLength();
    const qint64 parecBytes = QFileInfo(dir.filePath(QStringLiteral("parec.raw"))).size();
    const double sinceFirst = wall - double(firstDataMs) / 1000.0;

    std::printf("recording %d s of the box microphone (8000 Hz mono 16-bit)\n", seconds);
    std::printf("  CPU: DPX %.2f %% of a core (target <= 1 %%); parec %.2f %%\n", 100.0 * cpu / wall,
                100.0 * parecCpu / wall);
    std::printf("  bytes: DPX %lld = %.2f %% of 16000 x %.2f s; parec %lld = %.2f %%\n", bytes,
                100.0 * double(bytes) / (16000.0 * wall), wall, parecBytes,
                100.0 * double(parecBytes) / (16000.0 * wall));
    std::printf("  from the first sample (the server's start took %lld ms): DPX %.2f %% of 16000 x %.2f s "
                "(target >= 99.9 %%)\n",
                firstDataMs, 100.0 * double(bytes) / (16000.0 * sinceFirst), sinceFirst);
    return 0;
}
