// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SimScript.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dpx {

class MainPhoneWindow;
class SimulatedBox;

// Plays a telephone script against the simulated box and checks what the window mirrors.
// Expectations are retried for a short while, since the box's reports reach the window
// through the reader thread. The first failing expectation ends the run with status 1.
class ScriptRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int ExpectTimeoutMs = 2000;
    static constexpr int ExpectRetryMs = 10;
    static constexpr int ReaderWaitMs = 3000;
    static constexpr int TransferExpectTimeoutMs = 120000; // a slot is checked once the transfer ends

    ScriptRunner(MainPhoneWindow &window, SimulatedBox &box, QObject *parent = nullptr);

    // Reads the script file and starts it; false (with a message on standard error) when the
    // file cannot be read or a line is not understood.
    bool start(const QString &path);
    bool startText(const QString &text);

Q_SIGNALS:
    void finished(int exitCode);

private:
    void step();
    void next(int delayMs = 0);
    // Runs an action; returns an error text when it cannot be done.
    QString act(const ScriptCommand &command);
    QString actOnToolWindow(const ScriptCommand &command);
    // The transfer window's commands (ScriptTransfer.cpp).
    static bool isTransferCommand(ScriptCommand::Kind kind);
    QString actOnTransfer(const ScriptCommand &command);
    QString checkSlot(const ScriptCommand &command) const;
    bool isTransferRunning() const;
    // Checks an expectation: empty when it holds, else "expected …, got …".
    QString check(const ScriptCommand &command) const;
    void fail(const ScriptCommand &command, const QString &message);

    MainPhoneWindow &m_window;
    SimulatedBox &m_box;
    QList<ScriptCommand> m_commands;
    int m_index = 0;
    QElapsedTimer m_expectSince;
    bool m_expecting = false;
    bool m_readerListening = false; // reports sent before the reader listens would be lost
    QElapsedTimer m_waitingForReader;
    bool m_done = false;
};

} // namespace dpx
