// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "integration/CallAction.h"
#include "phone/CallRecord.h"

#include <QObject>

#include <functional>

namespace dpx {

class CallEvents;

// Runs the call actions on a ring, an answer, an end or a missed call: one ring action per
// call, however many ring reports the call has. A ring action that names the caller runs when
// the call is announced with its caller; one that does not runs at once. Starting never
// blocks: programs are started detached, web addresses handed to the desktop; a failure is
// reported once through problem().
class CallActionRunner : public QObject {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl &)>;
    using ProgramStarter = std::function<bool(const QString &program, const QStringList &arguments)>;

    explicit CallActionRunner(QObject *parent = nullptr);

    void setActions(const QList<CallAction> &actions) { m_actions = actions; }
    const QList<CallAction> &actions() const { return m_actions; }
    // An action for this run only (scripts).
    void addAction(const CallAction &action) { m_actions.append(action); }

    // When set, actions are appended to this file as JSON lines instead of being started.
    void setRecordFile(const QString &path) { m_recordFile = path; }
    QString recordFile() const { return m_recordFile; }
    // How web addresses are opened (the desktop's handler; none in a headless run).
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    // How programs are started (QProcess::startDetached by default).
    void setProgramStarter(ProgramStarter starter) { m_startProgram = std::move(starter); }

    void watch(const CallEvents &events);

    // Fills and starts (or records) one action; false, with problem() emitted, when it fails.
    bool run(const CallAction &action, const CallFacts &facts);
    // Actions started or recorded since the runner was made.
    int actionsTaken() const { return m_taken; }

    static CallFacts factsOf(const CallRecord &call);

Q_SIGNALS:
    void actionStarted(const dpx::ActionLaunch &launch);
    void problem(const QString &text);

private:
    void runAll(ActionWhen when, const CallRecord &call, bool callerActions = true, bool others = true);
    bool start(const ActionLaunch &launch, QString *error);
    bool record(const ActionLaunch &launch, QString *error);

    QList<CallAction> m_actions;
    QString m_recordFile;
    UrlOpener m_openUrl;
    ProgramStarter m_startProgram;
    int m_taken = 0;
};

} // namespace dpx

Q_DECLARE_METATYPE(dpx::ActionLaunch)
