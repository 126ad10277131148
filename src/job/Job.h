// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace dpx {

// A piece of work the command line can ask for (load a ring, back up the box, import, ...):
// it reports progress lines and ends once with an exit code and a message. The same object
// runs headless, inside a running DPX that a later start handed it to, or behind a window.
class Job : public QObject {
    Q_OBJECT
public:
    enum ExitCode { Done = 0, Failed = 1, BadArguments = 2 };

    using QObject::QObject;

    // Begins the work; finished() follows exactly once (possibly before start() returns).
    virtual void start() = 0;
    // Asks the work to stop; finished() still follows.
    virtual void cancel() {}

Q_SIGNALS:
    void progress(const QString &line);
    void finished(int exitCode, const QString &message);
};

} // namespace dpx

namespace dpx {

// A job that ends as soon as it starts: a refusal found before any work (bad file, missing
// factory file, ...), its earlier messages as progress lines.
class ImmediateJob : public Job {
    Q_OBJECT
public:
    ImmediateJob(int exitCode, const QStringList &messages, QObject *parent = nullptr);
    void start() override;

private:
    int m_exitCode;
    QStringList m_messages;
};

} // namespace dpx
