// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimScript.h"

#include "phone/LampBoard.h"

#include "integration/CallAction.h"

#include "app/ToolWindowKind.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace dpx {

namespace {

// Splits a line into words; "quoted text" is one word (with \" and \\ escapes) and
// '#' outside quotes starts a comment. Returns nullopt for an unterminated quote.
std::optional<QStringList> splitWords(const QString &line)
{
    QStringList words;
    QString word;
    bool inWord = false, inQuote = false;
    auto finish = [&] {
        if (inWord)
            words << word;
        word.clear();
        inWord = false;
    };
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuote) {
            if (c == QLatin1Char('\\') && i + 1 < line.size()) {
                word += line.at(++i);
            } else if (c == QLatin1Char('"')) {
                inQuote = false;
            } else {
                word += c;
            }
        } else if (c == QLatin1Char('#')) {
            break;
        } else if (c == QLatin1Char('"')) {
            inQuote = inWord = true;
        } else if (c.isSpace()) {
            finish();
        } else {
            inWord = true;
            word += c;
        }
    }
    if (inQuote)
        return std::nullopt;
    finish();
    return words;
}

std::optional<int> number(const QString &word, int minimum, int maximum)
{
    bool ok = false;
    const int value = word.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
        ? word.mid(2).toInt(&ok, 16)
        : word.toInt(&ok, 10);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

bool isHex(const QString &text)
{
    if (text.isEmpty() || text.size() % 2)
        return false;
    for (QChar c : text) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    }
    return true;
}

// The lamps a telephone can light: the key lamps and the two indicators.
bool isLampNumber(int number)
{
    return (number >= FirstKeyLamp && number <= LastKeyLamp) || number == SmallIndicator
        || number == LargeIndicator;
}

QString lampNumberError()
{
    return QStringLiteral("a lamp number is %1..%2, %3 or %4")
        .arg(FirstKeyLamp).arg(LastKeyLamp).arg(SmallIndicator).arg(LargeIndicator);
}

QString lampStateError(const QString &state)
{
    return QStringLiteral("unknown lamp state \"%1\": expected off, or red- or green- followed "
                          "by steady, slow, fast or wink").arg(state);
}

// How each command is written, for the message about a line that is not.
const char *usageOf(const QString &verb)
{
    static const std::pair<const char *, const char *> usages[] = {
        {"wait", "wait MS"},
        {"plug", "plug"},
        {"unplug", "unplug"},
        {"event", "event CODE VALUE [CODE VALUE [CODE VALUE]]"},
        {"ring", "ring co|icm NUMBER"},
        {"handset", "handset \"NUMBER\""},
        {"connect", "connect"},
        {"hangup", "hangup"},
        {"display", "display 1|2 \"TEXT\""},
        {"lamp", "lamp N STATE"},
        {"press", "press KEYNUMBER"},
        {"expect", "expect lcd1|lcd2 \"TEXT\", lamp N STATE, status \"TEXT\", message \"TEXT\", "
                   "card NAME|none, slot N FILE|empty, sent HEX, caller \"TEXT\", alert on|off, "
                   "history-count N, missed-count N, last-call RESULT NUMBER, action-count N or "
                   "recording on|off"},
        {"dial", "dial \"REQUEST\""},
        {"screenshot", "screenshot FILE"},
        {"open", "open NAME"},
        {"screenshot-window", "screenshot-window NAME FILE"},
        {"load", "load SLOT FILE"},
        {"factory", "factory"},
        {"cancel", "cancel"},
        {"fault", "fault drop|late|pull|corrupt N, or fault erase|flip"},
        {"set-action", "set-action ring|answer|end|missed url|program \"TEMPLATE\""},
        {"record", "record"},
        {"answer-save", "answer-save PATH|cancel"},
        {"quit", "quit"},
    };
    for (const auto &[name, usage] : usages)
        if (verb == QLatin1String(name))
            return usage;
    return nullptr;
}

QString knownVerbs()
{
    return QStringLiteral("wait, plug, unplug, event, ring, handset, connect, hangup, display, lamp, press, expect, "
                          "dial, screenshot, open, screenshot-window, load, factory, cancel, "
                          "fault, set-action, record, answer-save or quit");
}

// Reads one non-empty line into a command; returns an error text when it cannot.
QString readCommand(const QStringList &w, ScriptCommand *cmd)
{
    const QString verb = w.at(0).toLower();
    const int args = int(w.size()) - 1;
    const char *usage = usageOf(verb);
    if (!usage)
        return QStringLiteral("unknown command \"%1\": expected %2").arg(w.at(0), knownVerbs());
    const QString expected = QStringLiteral("expected: %1").arg(QLatin1String(usage));
    auto wantArgs = [&](int count) { return args == count; };

    if (verb == QLatin1String("wait") && wantArgs(1)) {
        const auto ms = number(w[1], 0, 600000);
        if (!ms)
            return QStringLiteral("wait needs milliseconds from 0 to 600000");
        cmd->kind = ScriptCommand::Wait;
        cmd->numbers = {*ms};
    } else if (verb == QLatin1String("plug") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Plug;
    } else if (verb == QLatin1String("unplug") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Unplug;
    } else if (verb == QLatin1String("event")) {
        if (args < 2 || args > 6 || args % 2)
            return QStringLiteral("event needs one to three code/value pairs");
        cmd->kind = ScriptCommand::Event;
        for (int i = 1; i <= args; ++i) {
            const auto byte = number(w[i], 0, 255);
            if (!byte)
                return QStringLiteral("event bytes are 0..255 (decimal or 0x-hex): %1").arg(w[i]);
            cmd->numbers << *byte;
        }
    } else if (verb == QLatin1String("ring") && wantArgs(2)) {
        const QString line = w[1].toLower();
        if (line != QLatin1String("co") && line != QLatin1String("icm"))
            return QStringLiteral("ring needs co or icm");
        cmd->kind = ScriptCommand::Ring;
        cmd->flag = line == QLatin1String("co");
        cmd->text = w[2];
    } else if (verb == QLatin1String("handset") && wantArgs(1)) {
        cmd->kind = ScriptCommand::Handset;
        cmd->text = w[1];
    } else if (verb == QLatin1String("connect") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Connect;
    } else if (verb == QLatin1String("hangup") && wantArgs(0)) {
        cmd->kind = ScriptCommand::HangUp;
    } else if (verb == QLatin1String("display") && wantArgs(2)) {
        const auto line = number(w[1], 1, 2);
        if (!line)
            return QStringLiteral("display needs line 1 or 2");
        cmd->kind = ScriptCommand::Display;
        cmd->numbers = {*line};
        cmd->text = w[2];
    } else if ((verb == QLatin1String("lamp") && wantArgs(2))
               || (verb == QLatin1String("expect") && args == 3
                   && w[1].toLower() == QLatin1String("lamp"))) {
        const int at = verb == QLatin1String("lamp") ? 1 : 2;
        const auto lamp = number(w[at], 0, 255);
        if (!lamp || !isLampNumber(*lamp))
            return lampNumberError();
        if (!parseLampState(w[at + 1].toLower()))
            return lampStateError(w[at + 1]);
        cmd->kind = at == 1 ? ScriptCommand::Lamp : ScriptCommand::ExpectLamp;
        cmd->numbers = {*lamp};
        cmd->text = w[at + 1].toLower();
    } else if (verb == QLatin1String("press") && wantArgs(1)) {
        const auto key = number(w[1], 0, 255);
        if (!key)
            return QStringLiteral("press needs a key number");
        cmd->kind = ScriptCommand::Press;
        cmd->numbers = {*key};
    } else if (verb == QLatin1String("expect") && args == 3 && w[1].toLower() == QLatin1String("slot")) {
        const auto slot = number(w[2], 0, 5);
        if (!slot)
            return QStringLiteral("expect slot needs a slot 0 to 5 and a file or empty");
        cmd->kind = ScriptCommand::ExpectSlot;
        cmd->numbers = {*slot};
        cmd->text = w[3];
    } else if (verb == QLatin1String("expect") && args == 3
               && w[1].toLower() == QLatin1String("last-call")) {
        static const QStringList results{
            QStringLiteral("answered"), QStringLiteral("missed"), QStringLiteral("outgoing"),
            QStringLiteral("intercom-answered"), QStringLiteral("intercom-missed")};
        if (!results.contains(w[2].toLower()))
            return QStringLiteral("expect last-call needs %1").arg(results.join(QLatin1Char('|')));
        cmd->kind = ScriptCommand::ExpectLastCall;
        cmd->text = w[2].toLower() + QLatin1Char(' ') + w[3];
    } else if (verb == QLatin1String("expect") && wantArgs(2)) {
        const QString what = w[1].toLower();
        if (what == QLatin1String("lcd1") || what == QLatin1String("lcd2")) {
            cmd->kind = ScriptCommand::ExpectLcd;
            cmd->numbers = {what == QLatin1String("lcd1") ? 1 : 2};
        } else if (what == QLatin1String("status")) {
            cmd->kind = ScriptCommand::ExpectStatus;
        } else if (what == QLatin1String("message")) {
            cmd->kind = ScriptCommand::ExpectMessage;
        } else if (what == QLatin1String("caller")) {
            cmd->kind = ScriptCommand::ExpectCaller;
        } else if (what == QLatin1String("alert") || what == QLatin1String("recording")) {
            const QString state = w[2].toLower();
            if (state != QLatin1String("on") && state != QLatin1String("off"))
                return QStringLiteral("expect %1 needs on or off").arg(what);
            cmd->kind = what == QLatin1String("alert") ? ScriptCommand::ExpectAlert
                                                       : ScriptCommand::ExpectRecording;
            cmd->flag = state == QLatin1String("on");
        } else if (what == QLatin1String("history-count") || what == QLatin1String("missed-count")) {
            const auto count = number(w[2], 0, 1000000);
            if (!count)
                return QStringLiteral("expect %1 needs a count").arg(what);
            cmd->kind = what == QLatin1String("history-count") ? ScriptCommand::ExpectHistoryCount
                                                               : ScriptCommand::ExpectMissedCount;
            cmd->numbers = {*count};
        } else if (what == QLatin1String("action-count")) {
            const auto count = number(w[2], 0, 1000000);
            if (!count)
                return QStringLiteral("expect action-count needs a count");
            cmd->kind = ScriptCommand::ExpectActionCount;
            cmd->numbers = {*count};
        } else if (what == QLatin1String("card")) {
            cmd->kind = ScriptCommand::ExpectCard;
        } else if (what == QLatin1String("slot")) {
            return QStringLiteral("expect slot needs a slot 0 to 5 and a file or empty");
        } else if (what == QLatin1String("sent")) {
            if (!isHex(w[2]))
                return QStringLiteral("expect sent needs an even number of hex digits");
            cmd->kind = ScriptCommand::ExpectSent;
            cmd->text = w[2].toLower();
            return {};
        } else {
            return expected;
        }
        cmd->text = w[2];
    } else if (verb == QLatin1String("dial") && wantArgs(1)) {
        cmd->kind = ScriptCommand::Dial;
        cmd->text = w[1];
    } else if (verb == QLatin1String("screenshot") && wantArgs(1)) {
        cmd->kind = ScriptCommand::Screenshot;
        cmd->text = w[1];
    } else if ((verb == QLatin1String("open") && wantArgs(1))
               || (verb == QLatin1String("screenshot-window") && wantArgs(2))) {
        const auto window = toolWindowFromName(w[1]);
        if (!window)
            return QStringLiteral("unknown window \"%1\" (windows: %2)")
                .arg(w[1], toolWindowNames().join(QStringLiteral(", ")));
        cmd->kind = args == 1 ? ScriptCommand::OpenWindow : ScriptCommand::ScreenshotWindow;
        cmd->numbers = {int(*window)};
        if (args == 2)
            cmd->text = w[2];
    } else if (verb == QLatin1String("set-action") && wantArgs(3)) {
        const auto when = actionWhenFromName(w[1]);
        const auto kind = actionKindFromName(w[2]);
        if (!when || !kind)
            return QStringLiteral("set-action needs ring|answer|end|missed, then url|program");
        cmd->kind = ScriptCommand::SetAction;
        cmd->numbers = {int(*when), int(*kind)};
        cmd->text = w[3];
    } else if (verb == QLatin1String("load") && wantArgs(2)) {
        const auto slot = number(w[1], 0, 5);
        if (!slot)
            return QStringLiteral("load needs a slot 0 (ring) to 5 and a file");
        cmd->kind = ScriptCommand::Load;
        cmd->numbers = {*slot};
        cmd->text = w[2];
    } else if (verb == QLatin1String("factory") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Factory;
    } else if (verb == QLatin1String("cancel") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Cancel;
    } else if (verb == QLatin1String("fault") && (wantArgs(1) || wantArgs(2))) {
        const QString what = w[1].toLower();
        const bool counted = what == QLatin1String("drop") || what == QLatin1String("late")
            || what == QLatin1String("pull") || what == QLatin1String("corrupt");
        const bool single = what == QLatin1String("erase") || what == QLatin1String("flip");
        const auto count = args == 2 ? number(w[2], 1, 100000) : std::optional<int>();
        if (!(counted && count) && !(single && args == 1))
            return QStringLiteral("fault drop|late|pull|corrupt N, or fault erase|flip");
        cmd->kind = ScriptCommand::Fault;
        cmd->text = what;
        cmd->numbers = {count.value_or(1)};
    } else if (verb == QLatin1String("record") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Record;
    } else if (verb == QLatin1String("answer-save") && wantArgs(1)) {
        cmd->kind = ScriptCommand::AnswerSave;
        cmd->flag = w[1] == QLatin1String("cancel");
        cmd->text = cmd->flag ? QString() : w[1];
    } else if (verb == QLatin1String("quit") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Quit;
    } else {
        return expected;
    }
    return {};
}

} // namespace

ParsedScript parseSimScript(const QString &text)
{
    // Every line is checked before anything runs; all faulty lines are reported.
    ParsedScript script;
    QStringList errors;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const auto words = splitWords(lines.at(i));
        if (!words) {
            errors << QStringLiteral("line %1: unterminated quote").arg(i + 1);
            continue;
        }
        if (words->isEmpty())
            continue;
        ScriptCommand cmd;
        cmd.line = i + 1;
        const QString error = readCommand(*words, &cmd);
        if (!error.isEmpty())
            errors << QStringLiteral("line %1: %2").arg(i + 1).arg(error);
        else
            script.commands << cmd;
    }
    if (!errors.isEmpty()) {
        script.error = errors.join(QLatin1Char('\n'));
        script.commands.clear();
    }
    return script;
}

} // namespace dpx
