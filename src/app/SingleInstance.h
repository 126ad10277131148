// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace dpx {

// The way back to a later start that handed a job over: its progress lines and its result.
class JobReply : public QObject {
    Q_OBJECT
public:
    explicit JobReply(QLocalSocket *socket, QObject *parent = nullptr);
    void progress(const QString &line);
    // Sends the result and closes the connection; later calls do nothing.
    void finish(int exitCode, const QString &message);

private:
    void sendFrame(qint8 kind, int code, const QString &text);
    QPointer<QLocalSocket> m_socket;
    bool m_finished = false;
};

// Makes the first DPX started for a user and data folder the only one: a later start hands
// its arguments to the first and ends. Keyed by user and data folder, so a simulated
// instance with its own folder (and every test) runs beside the real one.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the first instance and listens for later ones.
    // False when another instance answered; the arguments have then been handed to it.
    bool claim(const QStringList &arguments);

    QString serverName() const { return m_name; }

    // Arguments for which this predicate holds are jobs: instead of activated(), the first
    // instance gets jobHandedOver() and answers through the JobReply until the job ends.
    void setJobFilter(std::function<bool(const QStringList &)> isJob) { m_isJob = std::move(isJob); }

    // A later start's side of a job: hands the arguments to the first instance and relays its
    // progress lines until the result. Nothing when no instance answers.
    struct JobResult {
        int exitCode = 1;
        QString message;
    };
    std::optional<JobResult> handOverJob(const QStringList &arguments,
                                         const std::function<void(const QString &)> &progress);

Q_SIGNALS:
    // A later start asked to be brought forward, with its arguments.
    void activated(const QStringList &arguments);
    // A later start handed a job over; the reply is owned by the connection.
    void jobHandedOver(const QStringList &arguments, dpx::JobReply *reply);

private:
    bool sendTo(const QStringList &arguments);
    void readFrom(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server = nullptr;
    std::function<bool(const QStringList &)> m_isJob;
};

} // namespace dpx
