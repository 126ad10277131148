// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimScript.h"

#include "app/ToolWindowKind.h"

#include <QStringList>

#include <optional>

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

// Reads one non-empty line into a command; returns an error text when it cannot.
QString readCommand(const QStringList &w, ScriptCommand *cmd)
{
    const QString verb = w.at(0).toLower();
    const int args = int(w.size()) - 1;
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
    } else if (verb == QLatin1String("hangup") && wantArgs(0)) {
        cmd->kind = ScriptCommand::HangUp;
    } else if (verb == QLatin1String("display") && wantArgs(2)) {
        const auto line = number(w[1], 1, 2);
        if (!line)
            return QStringLiteral("display needs line 1 or 2");
        cmd->kind = ScriptCommand::Display;
        cmd->numbers = {*line};
        cmd->text = w[2];
    } else if (verb == QLatin1String("lamp") && wantArgs(2)) {
        const auto lamp = number(w[1], 0, 255);
        if (!lamp)
            return QStringLiteral("lamp needs a lamp number");
        cmd->kind = ScriptCommand::Lamp;
        cmd->numbers = {*lamp};
        cmd->text = w[2].toLower();
    } else if (verb == QLatin1String("press") && wantArgs(1)) {
        const auto key = number(w[1], 0, 255);
        if (!key)
            return QStringLiteral("press needs a key number");
        cmd->kind = ScriptCommand::Press;
        cmd->numbers = {*key};
    } else if (verb == QLatin1String("expect") && args >= 2) {
        const QString what = w[1].toLower();
        if ((what == QLatin1String("lcd1") || what == QLatin1String("lcd2")) && wantArgs(2)) {
            cmd->kind = ScriptCommand::ExpectLcd;
            cmd->numbers = {what == QLatin1String("lcd1") ? 1 : 2};
            cmd->text = w[2];
        } else if (what == QLatin1String("lamp") && wantArgs(3)) {
            const auto lamp = number(w[2], 0, 255);
            if (!lamp)
                return QStringLiteral("expect lamp needs a lamp number");
            cmd->kind = ScriptCommand::ExpectLamp;
            cmd->numbers = {*lamp};
            cmd->text = w[3].toLower();
        } else if (what == QLatin1String("status") && wantArgs(2)) {
            cmd->kind = ScriptCommand::ExpectStatus;
            cmd->text = w[2];
        } else if (what == QLatin1String("message") && wantArgs(2)) {
            cmd->kind = ScriptCommand::ExpectMessage;
            cmd->text = w[2];
        } else if (what == QLatin1String("card") && wantArgs(2)) {
            cmd->kind = ScriptCommand::ExpectCard;
            cmd->text = w[2];
        } else if (what == QLatin1String("slot") && wantArgs(3)) {
            const auto slot = number(w[2], 0, 5);
            if (!slot)
                return QStringLiteral("expect slot needs a slot 0 to 5 and a file or empty");
            cmd->kind = ScriptCommand::ExpectSlot;
            cmd->numbers = {*slot};
            cmd->text = w[3];
        } else if (what == QLatin1String("sent") && wantArgs(2)) {
            if (!isHex(w[2]))
                return QStringLiteral("expect sent needs an even number of hex digits");
            cmd->kind = ScriptCommand::ExpectSent;
            cmd->text = w[2].toLower();
        } else {
            return QStringLiteral("expect lcd1|lcd2 \"text\", lamp N STATE, status \"text\", "
                                  "message \"text\", card NAME|none, slot N FILE|empty or sent HEX");
        }
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
    } else if (verb == QLatin1String("quit") && wantArgs(0)) {
        cmd->kind = ScriptCommand::Quit;
    } else {
        return QStringLiteral("cannot read \"%1\"").arg(w.join(QLatin1Char(' ')));
    }
    return {};
}

} // namespace

ParsedScript parseSimScript(const QString &text)
{
    ParsedScript script;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const auto words = splitWords(lines.at(i));
        if (!words) {
            script.error = QStringLiteral("line %1: unterminated quote").arg(i + 1);
            return script;
        }
        if (words->isEmpty())
            continue;
        ScriptCommand cmd;
        cmd.line = i + 1;
        const QString error = readCommand(*words, &cmd);
        if (!error.isEmpty()) {
            script.error = QStringLiteral("line %1: %2").arg(i + 1).arg(error);
            script.commands.clear();
            return script;
        }
        script.commands << cmd;
    }
    return script;
}

} // namespace dpx
