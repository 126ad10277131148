// SPDX-License-Identifier: GPL-3.0-or-later
// A PulseAudio daemon of a test's (or a benchmark's) own, with one null sink, reachable only
// through its socket in a temporary folder; it can be paused (it then stops answering),
// resumed, stopped and started again on the same socket.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace dpx::test {

class PrivateSoundServer {
public:
    PrivateSoundServer()
    {
        QFile config(m_dir.filePath(QStringLiteral("default.pa")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("load-module module-native-protocol-unix auth-anonymous=1 socket="
                     + QFile::encodeName(socketPath()) + "\n"
                     "load-module module-null-sink sink_name=speakers "
                     "sink_properties=device.description=Speakers\n"
                     "set-default-sink speakers\n");
    }
    ~PrivateSoundServer() { stop(); }

    static bool installed() { return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty(); }
    QString socketPath() const { return m_dir.filePath(QStringLiteral("native")); }
    QByteArray address() const { return "unix:" + QFile::encodeName(socketPath()); }

    // Starts the daemon and waits until it answers; false when it did not come up. On a busy
    // machine a daemon can take several seconds, and one that died meanwhile gets one more
    // try; a failure prints the end of the daemon's log.
    bool start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path());
        env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        // Off any session bus: a second daemon on one bus dies, its D-Bus name being taken.
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("no-bus")));
        m_daemon.setProcessEnvironment(env);
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (m_daemon.state() != QProcess::NotRunning)
                stop();
            m_daemon.start(QStringLiteral("pulseaudio"),
                           {QStringLiteral("-n"), QStringLiteral("-F"), m_dir.filePath(QStringLiteral("default.pa")),
                            QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                            QStringLiteral("--use-pid-file=no"), QStringLiteral("--system=no"),
                            QStringLiteral("--disallow-exit"), QStringLiteral("--disable-shm=yes"),
                            QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"),
                            QStringLiteral("--log-target=file:") + m_dir.filePath(QStringLiteral("log"))});
            if (!m_daemon.waitForStarted(10000))
                continue;
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 20000 && m_daemon.state() == QProcess::Running) {
                if (QFileInfo::exists(socketPath()) && answers())
                    return true;
                QThread::msleep(50);
            }
        }
        QFile log(m_dir.filePath(QStringLiteral("log")));
        if (log.open(QIODevice::ReadOnly))
            qWarning("pulseaudio did not come up; its log ends: %s", log.readAll().right(2000).constData());
        return false;
    }
    // Whether `pactl info` gets an answer from this daemon.
    bool answers() const { return pactl({QStringLiteral("info")}).has_value(); }
    std::optional<QByteArray> pactl(const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_SERVER"), QString::fromLatin1(address()));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("pactl"), arguments);
        if (!process.waitForFinished(5000) || process.exitCode() != 0)
            return std::nullopt;
        return process.readAllStandardOutput();
    }
    void pause() { ::kill(pid_t(m_daemon.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_daemon.processId()), SIGCONT); }
    void stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        resume();
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill(), m_daemon.waitForFinished(2000);
        QFile::remove(socketPath());
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
};

} // namespace dpx::test
