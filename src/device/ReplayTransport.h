// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTrace.h"
#include "device/HidTransport.h"

#include <QTimer>

#include <memory>

namespace dpx {

struct ReplayState;

// The box's side of a recorded trace, played back as a transport: reports the box sent are
// read at the recorded pace (divided by the speed), arrivals and removals happen as recorded,
// and every report the program writes must be the next one the trace has it write. The first
// difference ends the replay with its line. A line of the box waits until what the program
// did before it in the trace has happened, so a slow machine keeps the recorded order.
class ReplayTransport : public HidTransport {
    Q_OBJECT
public:
    // How long the program may take beyond the recorded pace before its missing write, or a
    // missing reader for the box's report, counts as a difference.
    static constexpr int StallMs = 5000;
    static constexpr int InputQueueLimit = 64; // per connection; the oldest report is dropped

    explicit ReplayTransport(HidTrace trace, double speed = 1.0, QObject *parent = nullptr);
    ~ReplayTransport() override;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const QString &path) override;

    // Marks (the script steps that acted on the box when recorded) pass at their time unless
    // held: then each waits for passMark() with the same note.
    void setHoldAtMarks(bool hold);
    bool hasMarks() const;
    // The script has come to a step that acted on the box: the replay plays the box's side up
    // to that step's mark. Nothing happens when the trace holds no marks.
    void passMark(const QString &note);

    // True when the next line of the trace is the program's to do (or the replay is over):
    // everything the box did before it has happened.
    bool isAwaitingProgram() const;

    // Starts the pace clock (the first line is due at its recorded time from now).
    void start();

    QByteArray lastWrittenReport() const;
    // When the program is done: the first difference, or the first write the trace still
    // expects; empty when everything matched.
    QString verdict() const;

Q_SIGNALS:
    // 0: the whole trace has played; 1: a difference (message names the line).
    void finished(int exitCode, const QString &message);

private:
    void advance();

    std::shared_ptr<ReplayState> m_state;
    QTimer m_timer;
};

} // namespace dpx
