// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptRunner.h"

#include "app/CallerPopup.h"
#include "addressbook/AddressDatabase.h"
#include "app/MainPhoneWindow.h"
#include "app/ToolWindows.h"
#include "history/CallHistoryRecorder.h"
#include "integration/CallActionRunner.h"
#include "device/BoxLink.h"
#include "device/ReplayTransport.h"
#include "device/TracingTransport.h"
#include "phone/LampBoard.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace dpx {

namespace {
QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
}

ScriptRunner::ScriptRunner(MainPhoneWindow &window, SimulatedBox &box, QObject *parent)
    : QObject(parent), m_window(window), m_box(box)
{
    if (BoxLink *link = window.boxLink()) {
        connect(link, &BoxLink::readerListening, this, [this] { m_readerListening = true; });
        connect(link, &BoxLink::boxLost, this, [this] { m_readerListening = false; });
    }
    answerFileDialogs();
}

bool ScriptRunner::start(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "dpx: cannot read the script %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return startText(QString::fromUtf8(file.readAll()));
}

bool ScriptRunner::startText(const QString &text)
{
    const ParsedScript script = parseSimScript(text);
    if (!script.error.isEmpty()) {
        std::fprintf(stderr, "dpx: script %s\n", qPrintable(script.error));
        return false;
    }
    m_commands = script.commands;
    m_index = 0;
    next();
    return true;
}

void ScriptRunner::next(int delayMs)
{
    QTimer::singleShot(delayMs, this, &ScriptRunner::step);
}

void ScriptRunner::step()
{
    if (m_done)
        return;
    if (m_replaySettling) {
        if (!m_replay->isAwaitingProgram()) {
            next(ExpectRetryMs);
            return;
        }
        m_replaySettling = false;
    }
    if (m_index >= m_commands.size()) {
        m_done = true;
        Q_EMIT finished(0);
        return;
    }
    const ScriptCommand &command = m_commands.at(m_index);
    if (!m_unansweredDialog.isEmpty()) { // a dialog that opened by itself (say, at a start)
        fail(command, m_unansweredDialog);
        return;
    }
    switch (command.kind) {
    case ScriptCommand::Wait:
        ++m_index;
        next(command.numbers.value(0));
        return;
    case ScriptCommand::Quit:
        m_done = true;
        std::fprintf(stdout, "dpx: script finished at line %d\n", command.line);
        std::fflush(stdout);
        Q_EMIT finished(0);
        return;
    case ScriptCommand::ExpectLcd:
    case ScriptCommand::ExpectLamp:
    case ScriptCommand::ExpectStatus:
    case ScriptCommand::ExpectSent:
    case ScriptCommand::ExpectMessage:
    case ScriptCommand::ExpectCaller:
    case ScriptCommand::ExpectAlert:
    case ScriptCommand::ExpectHistoryCount:
    case ScriptCommand::ExpectMissedCount:
    case ScriptCommand::ExpectLastCall:
    case ScriptCommand::ExpectActionCount:
    case ScriptCommand::ExpectRecording:
    case ScriptCommand::ExpectSlot:
    case ScriptCommand::ExpectCard: {
        if (!m_expecting) {
            m_expecting = true;
            m_expectSince.start();
        }
        const QString mismatch = check(command);
        if (mismatch.isEmpty()) {
            m_expecting = false;
            ++m_index;
            next();
        } else if (m_expectSince.elapsed()
                       >= (command.kind == ScriptCommand::ExpectSlot ? TransferExpectTimeoutMs : ExpectTimeoutMs)
                   || (command.kind == ScriptCommand::ExpectSlot && !isTransferRunning())) {
            fail(command, mismatch);
        } else {
            next(ExpectRetryMs);
        }
        return;
    }
    default: {
        // The telephone's reports only reach a reader that listens: after a plug, hold the
        // next action until the reader has opened its connection.
        const bool fromTelephone = command.kind != ScriptCommand::Plug
            && command.kind != ScriptCommand::Unplug && command.kind != ScriptCommand::Screenshot
            && command.kind != ScriptCommand::OpenWindow
            && command.kind != ScriptCommand::ScreenshotWindow && !isTransferCommand(command.kind)
            && command.kind != ScriptCommand::SetAction && command.kind != ScriptCommand::Record
            && command.kind != ScriptCommand::AnswerSave;
        if (fromTelephone && m_box.isPlugged() && !m_readerListening) {
            if (!m_waitingForReader.isValid())
                m_waitingForReader.start();
            if (m_waitingForReader.elapsed() < ReaderWaitMs) {
                next(ExpectRetryMs);
                return;
            }
        }
        m_waitingForReader.invalidate();
        const QString error = act(command);
        if (!error.isEmpty()) {
            fail(command, error);
            return;
        }
        ++m_index;
        next();
        return;
    }
    }
}

QString ScriptRunner::act(const ScriptCommand &command)
{
    const QList<int> &n = command.numbers;
    const bool boxSide = command.kind == ScriptCommand::Plug || command.kind == ScriptCommand::Unplug
        || command.kind == ScriptCommand::Event || command.kind == ScriptCommand::Ring
        || command.kind == ScriptCommand::HangUp || command.kind == ScriptCommand::Display
        || command.kind == ScriptCommand::Lamp;
    const QString mark = QStringLiteral("script line %1").arg(command.line);
    if (boxSide && m_replay) {
        m_replay->passMark(mark);
        m_replaySettling = true;
        return {};
    }
    if (boxSide && m_tracer)
        m_tracer->mark(mark);
    switch (command.kind) {
    case ScriptCommand::Plug:
        m_box.plug();
        return {};
    case ScriptCommand::Unplug:
        m_box.unplug();
        return {};
    case ScriptCommand::Event: {
        QList<std::pair<quint8, quint8>> pairs;
        for (int i = 0; i + 1 < n.size(); i += 2)
            pairs.append({quint8(n[i]), quint8(n[i + 1])});
        m_box.sendEvent(pairs);
        return {};
    }
    case ScriptCommand::Ring:
        m_box.telephone().ring(command.flag, command.text);
        return {};
    case ScriptCommand::HangUp:
        m_box.telephone().hangUp();
        return {};
    case ScriptCommand::Handset:
        m_box.telephone().dialOnHandset(command.text);
        return {};
    case ScriptCommand::Connect:
        m_box.telephone().connectCall();
        return {};
    case ScriptCommand::Display:
        m_box.telephone().showText(n.value(0), command.text);
        return {};
    case ScriptCommand::Lamp: {
        const auto state = parseLampState(command.text);
        if (!state)
            return QStringLiteral("unknown lamp state %1").arg(command.text);
        m_box.telephone().setLamp(quint8(lampStateCode(*state)), quint8(n.value(0)));
        return {};
    }
    case ScriptCommand::Press: {
        const ControlPlace *place = findKey(n.value(0));
        KeyButton *key = place ? m_window.keyButton(place->id) : nullptr;
        if (!key)
            return QStringLiteral("the window has no key number %1").arg(n.value(0));
        key->click();
        return {};
    }
    case ScriptCommand::Dial:
        m_window.dialRequest(command.text);
        return {};
    case ScriptCommand::Screenshot: {
        // The picture has the window's shape: what lies outside it is transparent.
        QImage shot = m_window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        if (const QRegion shape = m_window.mask(); !shape.isEmpty()) {
            QPainter painter(&shot); // clears rectangle by rectangle, not pixel by pixel
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.setClipRegion(QRegion(shot.rect()).subtracted(shape));
            painter.fillRect(shot.rect(), Qt::transparent);
        }
        if (!shot.save(command.text, "PNG"))
            return QStringLiteral("cannot write the screenshot %1").arg(command.text);
        return {};
    }
    case ScriptCommand::OpenWindow:
    case ScriptCommand::ScreenshotWindow:
        return actOnToolWindow(command);
    case ScriptCommand::SetAction: {
        const CallAction action{ActionWhen(n.value(0)), ActionKind(n.value(1)), command.text};
        const QString problem = templateProblem(action.kind, action.templateText);
        if (!problem.isEmpty())
            return problem;
        if (!m_actions)
            return QStringLiteral("no call actions in this run");
        m_actions->addAction(action);
        return {};
    }
    case ScriptCommand::Record:
    case ScriptCommand::AnswerSave:
        return actOnRecording(command);
    default:
        if (isTransferCommand(command.kind))
            return actOnTransfer(command);
        return QStringLiteral("not an action");
    }
}

QString ScriptRunner::actOnToolWindow(const ScriptCommand &command)
{
    const auto which = ToolWindow(command.numbers.value(0));
    const QString name = toolWindowName(which);
    if (!ToolWindows::hasFactory(which))
        return QStringLiteral("the window %1 is not part of this build").arg(name);
    ToolWindows &tools = m_window.toolWindows();
    QWidget *window = tools.window(which);
    if (command.kind == ScriptCommand::OpenWindow || !window)
        window = tools.open(which);
    if (!window)
        return QStringLiteral("the window %1 could not be opened").arg(name);
    if (command.kind == ScriptCommand::ScreenshotWindow
        && !window->grab().toImage().save(command.text, "PNG"))
        return QStringLiteral("cannot write the screenshot %1").arg(command.text);
    return {};
}

void ScriptRunner::setCallActions(CallActionRunner *actions)
{
    m_actions = actions;
    m_actionsBefore = actions ? actions->actionsTaken() : 0;
}

QString ScriptRunner::check(const ScriptCommand &command) const
{
    QString actual;
    QString expected = command.text;
    switch (command.kind) {
    case ScriptCommand::ExpectLcd:
        actual = command.numbers.value(0) == 1 ? m_window.mirror().displayedLine1()
                                                  : m_window.mirror().displayedLine2();
        break;
    case ScriptCommand::ExpectLamp: {
        actual = lampStateName(m_window.mirror().lamps().lamp(command.numbers.value(0)));
        break;
    }
    case ScriptCommand::ExpectStatus:
        actual = m_window.statusText();
        break;
    case ScriptCommand::ExpectMessage:
        actual = m_window.lastMessage();
        break;
    case ScriptCommand::ExpectCaller:
        actual = m_window.callerPopup().title();
        break;
    case ScriptCommand::ExpectAlert:
        actual = m_window.isCallerAlertPending() ? QStringLiteral("on") : QStringLiteral("off");
        expected = command.flag ? QStringLiteral("on") : QStringLiteral("off");
        break;
    case ScriptCommand::ExpectRecording:
        actual = m_window.isRecording() ? QStringLiteral("on") : QStringLiteral("off");
        expected = command.flag ? QStringLiteral("on") : QStringLiteral("off");
        break;
    case ScriptCommand::ExpectCard: {
        // The open card tells the name it shows through its contactName property.
        const QWidget *card = m_window.toolWindows().window(ToolWindow::CallerCard);
        actual = card ? card->property("contactName").toString() : QStringLiteral("none");
        break;
    }
    case ScriptCommand::ExpectSlot:
        return checkSlot(command);
    case ScriptCommand::ExpectSent: {
        actual = QString::fromLatin1(
            (m_replay ? m_replay->lastWrittenReport() : m_box.lastOutputReport()).toHex());
        if (actual.startsWith(expected))
            return {};
        return QStringLiteral("expected a report starting %1, got %2")
            .arg(expected, actual.isEmpty() ? QStringLiteral("none") : actual);
    }
    case ScriptCommand::ExpectHistoryCount:
    case ScriptCommand::ExpectMissedCount:
    case ScriptCommand::ExpectLastCall:
        return checkHistory(command);
    case ScriptCommand::ExpectActionCount:
        expected = QString::number(command.numbers.value(0));
        actual = m_actions ? QString::number(m_actions->actionsTaken() - m_actionsBefore)
                           : QStringLiteral("no call actions");
        break;
    default:
        return QStringLiteral("not an expectation");
    }
    if (actual == expected)
        return {};
    return QStringLiteral("expected %1, got %2").arg(quoted(expected), quoted(actual));
}

QString ScriptRunner::checkHistory(const ScriptCommand &command) const
{
    if (!m_history)
        return QStringLiteral("no call history in this run");
    AddressDatabase *db = m_history->database();
    QString actual;
    QString expected = command.kind == ScriptCommand::ExpectLastCall
        ? command.text : QString::number(command.numbers.value(0));
    switch (command.kind) {
    case ScriptCommand::ExpectHistoryCount:
        actual = QString::number(db ? db->countCalls() : -1);
        break;
    case ScriptCommand::ExpectMissedCount:
        actual = QString::number(m_history->missedCount());
        break;
    default: {
        const auto calls = db ? db->readCalls() : std::nullopt;
        if (calls && !calls->isEmpty())
            actual = calls->first().resultName() + QLatin1Char(' ') + calls->first().number;
        else
            actual = calls ? QStringLiteral("no call") : QStringLiteral("no history");
        break;
    }
    }
    if (actual == expected)
        return {};
    return QStringLiteral("expected %1, got %2").arg(quoted(expected), quoted(actual));
}

void ScriptRunner::fail(const ScriptCommand &command, const QString &message)
{
    m_done = true;
    std::fprintf(stderr, "dpx: script line %d: %s\n", command.line, qPrintable(message));
    std::fflush(stderr);
    Q_EMIT finished(1);
}

} // namespace dpx
