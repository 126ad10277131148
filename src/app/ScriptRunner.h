// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SimScript.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace dpx {

class CallActionRunner;
class CallHistoryRecorder;
class MainPhoneWindow;
class ReplayTransport;
class SimulatedBox;
class TracingTransport;

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
    ~ScriptRunner() override; // removes its answers to file dialogs

    // Reads the script file and starts it; false (with a message on standard error) when the
    // file cannot be read or a line is not understood.
    bool start(const QString &path);
    bool startText(const QString &text);
    // What the call-history expectations read.
    void setCallHistory(CallHistoryRecorder *history) { m_history = history; }
    // Where set-action adds its actions and action-count counts.
    void setCallActions(CallActionRunner *actions);

    // Recording: each step that acts on the box leaves a mark in the trace first.
    void setTracer(TracingTransport *tracer) { m_tracer = tracer; }
    // Replaying: the box's side comes from the trace. A step that acted on the box when the
    // trace was recorded plays the trace up to its mark instead; `expect sent` looks at what
    // the replayed box received.
    void setReplay(ReplayTransport *replay) { m_replay = replay; }

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

    QString checkHistory(const ScriptCommand &command) const;
    // Recording (ScriptRecording.cpp): the record button and the answers to save dialogs,
    // which a script gives ahead; a save dialog with none queued fails the script.
    void answerFileDialogs();
    QString actOnRecording(const ScriptCommand &command);

    MainPhoneWindow &m_window;
    SimulatedBox &m_box;
    CallHistoryRecorder *m_history = nullptr;
    CallActionRunner *m_actions = nullptr;
    int m_actionsBefore = 0; // taken before the script began
    QList<ScriptCommand> m_commands;
    int m_index = 0;
    QElapsedTimer m_expectSince;
    bool m_expecting = false;
    bool m_readerListening = false; // reports sent before the reader listens would be lost
    QElapsedTimer m_waitingForReader;
    bool m_done = false;
    TracingTransport *m_tracer = nullptr;
    ReplayTransport *m_replay = nullptr;
    bool m_replaySettling = false; // a box step's recorded consequences are still playing
    QStringList m_saveAnswers;     // for the next save dialogs; empty text cancels
    QString m_unansweredDialog;    // a save dialog came with no answer queued
};

} // namespace dpx
