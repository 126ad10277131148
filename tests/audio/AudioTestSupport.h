// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers: sound files written with libsndfile, the sound server seen through pactl,
// private PulseAudio daemons for scenarios the shared test daemon cannot show, and open
// file handle counts.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <csignal>
#include <optional>
#include <vector>

#include <sndfile.h>

namespace dpx::test {

// A sine tone of `seconds`, written in the given libsndfile format.
inline bool writeTone(const QString &path, double seconds, int rate, int channels,
                      int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16, float amplitude = 0.1f)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = sf_count_t(seconds * rate);
    std::vector<float> samples(size_t(frames) * size_t(channels));
    for (sf_count_t f = 0; f < frames; ++f) {
        const float value = amplitude * float(std::sin(2.0 * M_PI * 440.0 * double(f) / rate));
        for (int c = 0; c < channels; ++c)
            samples[size_t(f) * size_t(channels) + size_t(c)] = value;
    }
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

inline bool writeText(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Runs pactl (optionally against another server); nullopt when it failed or is missing.
inline std::optional<QByteArray> pactl(const QStringList &arguments, const QString &server = {})
{
    if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        return std::nullopt;
    QProcess process;
    QStringList all;
    if (!server.isEmpty())
        all << QStringLiteral("-s") << server;
    process.start(QStringLiteral("pactl"), all + arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

inline bool serverReachable(const QString &server = {})
{
    return pactl({QStringLiteral("info")}, server).has_value();
}

inline QJsonArray pactlJson(const QStringList &arguments, const QString &server = {})
{
    const auto out =
        pactl(QStringList{QStringLiteral("-f"), QStringLiteral("json")} + arguments, server);
    return out ? QJsonDocument::fromJson(*out).array() : QJsonArray();
}

struct SinkInput {
    int index = -1;
    QString sinkName;
    bool corked = false;
};

// The playback streams this test process holds, with the name of the sink each plays on.
inline QList<SinkInput> ownSinkInputs()
{
    QHash<int, QString> sinkNames;
    for (const QJsonValue &sink :
         pactlJson({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")}))
        sinkNames.insert(sink[QLatin1StringView("index")].toInt(),
                         sink[QLatin1StringView("name")].toString());
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QList<SinkInput> own;
    for (const QJsonValue &input :
         pactlJson({QStringLiteral("list"), QStringLiteral("sink-inputs")})) {
        if (input[QLatin1StringView("properties")][QLatin1StringView("application.process.id")]
                .toString() != pid)
            continue;
        own.append({input[QLatin1StringView("index")].toInt(),
                    sinkNames.value(input[QLatin1StringView("sink")].toInt()),
                    input[QLatin1StringView("corked")].toBool()});
    }
    return own;
}

inline int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::Dirs)
                   .size());
}

// Why the shared test daemon cannot be used, or empty when it can. Without PULSE_SERVER the
// tests would play on (and count streams of, and set the volume of) the desktop's own server.
inline QString whyNoTestServer()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return QStringLiteral("no private PulseAudio daemon: PULSE_SERVER is not set (run ./test, "
                              "or source tools/test-services and start_test_services)");
    if (!serverReachable())
        return QStringLiteral("the PulseAudio daemon named by PULSE_SERVER does not answer");
    return {};
}

// How many of this process's descriptors point at `path`.
inline int openHandlesTo(const QString &path)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd :
         fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::Dirs)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == wanted)
            ++count;
    }
    return count;
}

// A PulseAudio daemon of the test's own, reachable only through its socket in a temporary
// folder. `sinkLines` are configuration lines (load-module, set-default-sink).
class PrivatePulse {
  public:
    ~PrivatePulse() { kill(); }

    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
    }

    bool start(const QStringList &sinkLines)
    {
        if (!m_dir.isValid() || !available())
            return false;
        m_lines = sinkLines;
        return launch();
    }
    // Starts the same daemon again after kill(), on the same socket.
    bool restart() { return launch(); }
    void kill()
    {
        freeze(false);
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Stops or resumes the daemon without ending it: a server that does not answer.
    void freeze(bool frozen)
    {
        if (m_process.state() == QProcess::Running)
            ::kill(pid_t(m_process.processId()), frozen ? SIGSTOP : SIGCONT);
    }
    QString server() const
    {
        return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
    }

  private:
    bool launch()
    {
        const QString config = m_dir.filePath(QStringLiteral("default.pa"));
        QByteArray script = "load-module module-native-protocol-unix socket=" +
                            QFile::encodeName(m_dir.filePath(QStringLiteral("native"))) +
                            " auth-anonymous=1\n";
        for (const QString &line : std::as_const(m_lines))
            script += line.toUtf8() + '\n';
        if (!writeText(config, script))
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path());
        env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        env.remove(QStringLiteral("PULSE_SERVER"));
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("-F"), config, QStringLiteral("--daemonize=no"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
             QStringLiteral("--system=no"), QStringLiteral("--disallow-exit"),
             QStringLiteral("--log-target=file:") + m_dir.filePath(QStringLiteral("log"))});
        if (!m_process.waitForStarted(5000))
            return false;
        for (int i = 0; i < 100; ++i) {
            if (serverReachable(server()))
                return true;
            QThread::msleep(50);
        }
        kill();
        return false;
    }

    QTemporaryDir m_dir;
    QStringList m_lines;
    QProcess m_process;
};

} // namespace dpx::test

#define REQUIRE_TEST_SERVER()                                                                      \
    do {                                                                                           \
        const QString why = dpx::test::whyNoTestServer();                                          \
        if (!why.isEmpty())                                                                        \
            QSKIP(qPrintable(why));                                                                \
    } while (false)
