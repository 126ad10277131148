// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptRunner.h"

#include "app/MainPhoneWindow.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "phone/LampBoard.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QFile>
#include <QImage>

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
    if (m_index >= m_commands.size()) {
        m_done = true;
        Q_EMIT finished(0);
        return;
    }
    const ScriptCommand &command = m_commands.at(m_index);
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
            && command.kind != ScriptCommand::ScreenshotWindow && !isTransferCommand(command.kind);
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
        const QRegion shape = m_window.mask();
        if (!shape.isEmpty()) {
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (!shape.contains(QPoint(x, y)))
                        shot.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
        if (!shot.save(command.text, "PNG"))
            return QStringLiteral("cannot write the screenshot %1").arg(command.text);
        return {};
    }
    case ScriptCommand::OpenWindow:
    case ScriptCommand::ScreenshotWindow:
        return actOnToolWindow(command);
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
    case ScriptCommand::ExpectCard: {
        // The open card tells the name it shows through its contactName property.
        const QWidget *card = m_window.toolWindows().window(ToolWindow::CallerCard);
        actual = card ? card->property("contactName").toString() : QStringLiteral("none");
        break;
    }
    case ScriptCommand::ExpectSlot:
        return checkSlot(command);
    case ScriptCommand::ExpectSent: {
        actual = QString::fromLatin1(m_box.lastOutputReport().toHex());
        if (actual.startsWith(expected))
            return {};
        return QStringLiteral("expected a report starting %1, got %2")
            .arg(expected, actual.isEmpty() ? QStringLiteral("none") : actual);
    }
    default:
        return QStringLiteral("not an expectation");
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
