// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/CallActionRunner.h"

#include "integration/CallEvents.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace dpx {

namespace {

// Why a program cannot be started, found before the attempt so the user reads a reason.
QString programProblem(const QString &program)
{
    const bool hasPath = program.contains(u'/');
    const QString found = hasPath ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo::exists(found))
        return QStringLiteral("%1: no such program").arg(program);
    const QFileInfo info(found);
    // Permission bits as well: for an administrator every file counts as executable.
    const auto anyExec = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    if (info.isDir() || !info.isExecutable() || !(info.permissions() & anyExec))
        return QStringLiteral("%1: not executable").arg(program);
    return {};
}

} // namespace

CallActionRunner::CallActionRunner(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<dpx::ActionLaunch>();
    m_startProgram = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

void CallActionRunner::watch(const CallEvents &events)
{
    connect(&events, &CallEvents::ringStarted, this,
            [this](const CallRecord &call) { runAll(ActionWhen::Ring, call, false, true); });
    connect(&events, &CallEvents::incomingCall, this,
            [this](const CallRecord &call) { runAll(ActionWhen::Ring, call, true, false); });
    connect(&events, &CallEvents::answered, this,
            [this](const CallRecord &call) { runAll(ActionWhen::Answer, call); });
    connect(&events, &CallEvents::missed, this,
            [this](const CallRecord &call) { runAll(ActionWhen::Missed, call); });
    connect(&events, &CallEvents::talkEnded, this,
            [this](const CallRecord &call) { runAll(ActionWhen::End, call); });
}

CallFacts CallActionRunner::factsOf(const CallRecord &call)
{
    CallFacts facts;
    facts.number = call.number;
    facts.name = call.name;
    facts.outsideLine = call.direction != CallDirection::Intercom;
    facts.time = call.started;
    facts.durationSeconds = call.talkSeconds;
    return facts;
}

void CallActionRunner::runAll(ActionWhen when, const CallRecord &call, bool callerActions, bool others)
{
    const CallFacts facts = factsOf(call);
    const QList<CallAction> actions = m_actions; // an action may change the list meanwhile
    for (const CallAction &action : actions) {
        if (action.when != when)
            continue;
        const bool namesCaller = when == ActionWhen::Ring && templateNamesCaller(action.templateText);
        if (namesCaller ? callerActions : others)
            run(action, facts);
    }
}

bool CallActionRunner::run(const CallAction &action, const CallFacts &facts)
{
    const ActionLaunch launch = fillAction(action, facts);
    QString error = launch.error;
    if (error.isEmpty()) {
        const bool done = m_recordFile.isEmpty() ? start(launch, &error) : record(launch, &error);
        if (done) {
            ++m_taken;
            Q_EMIT actionStarted(launch);
            return true;
        }
    }
    Q_EMIT problem(QCoreApplication::translate("CallActions", "來電動作未執行: %1").arg(error));
    return false;
}

bool CallActionRunner::start(const ActionLaunch &launch, QString *error)
{
    if (launch.kind == ActionKind::Url) {
        if (m_openUrl && m_openUrl(launch.url))
            return true;
        *error = QStringLiteral("no program here opens %1").arg(launch.url.scheme());
        return false;
    }
    *error = programProblem(launch.program);
    if (!error->isEmpty())
        return false;
    if (m_startProgram(launch.program, launch.arguments))
        return true;
    *error = QStringLiteral("%1: cannot be started").arg(launch.program);
    return false;
}

bool CallActionRunner::record(const ActionLaunch &launch, QString *error)
{
    QJsonObject line{{QStringLiteral("when"), actionWhenName(launch.when)},
                     {QStringLiteral("kind"), actionKindName(launch.kind)}};
    if (launch.kind == ActionKind::Url) {
        line.insert(QStringLiteral("url"), QString::fromUtf8(launch.url.toEncoded()));
    } else {
        line.insert(QStringLiteral("program"), launch.program);
        line.insert(QStringLiteral("arguments"), QJsonArray::fromStringList(launch.arguments));
    }
    QFile file(m_recordFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)
        || file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n') < 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_recordFile, file.errorString());
        return false;
    }
    return true;
}

} // namespace dpx
