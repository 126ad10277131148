// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace dpx {

// When an action runs: the phone rings, a call is answered, a call ends, a call is missed.
enum class ActionWhen { Ring, Answer, End, Missed };
// What it does: open a web address, or start a program with an argument list.
enum class ActionKind { Url, Program };

// The words scripts, the record file and the settings use: ring, answer, end, missed; url,
// program. nullopt for an unknown word.
QString actionWhenName(ActionWhen when);
std::optional<ActionWhen> actionWhenFromName(const QString &name);
QString actionKindName(ActionKind kind);
std::optional<ActionKind> actionKindFromName(const QString &name);

// One action as the user sets it up. The template holds placeholders ({number}, {digits},
// {name}, {line}, {time}, {duration}); for a program its first word is the program and the
// other words its arguments.
struct CallAction {
    ActionWhen when = ActionWhen::Ring;
    ActionKind kind = ActionKind::Url;
    QString templateText;

    bool operator==(const CallAction &other) const = default;
};

// What the placeholders are filled with. Values come from the telephone's display and the
// address book: untrusted text, never interpreted.
struct CallFacts {
    QString number;
    QString name;
    bool outsideLine = true;  // {line}: co, else icm
    QDateTime time;           // {time}: when the call began
    int durationSeconds = 0;  // {duration}: talk time, 0 before the end

    // The caller the "試用" button uses.
    static CallFacts sample();
};

// A filled action, ready to start: a URL to open, or a program and its arguments.
struct ActionLaunch {
    ActionWhen when = ActionWhen::Ring;
    ActionKind kind = ActionKind::Url;
    QUrl url;
    QString program;
    QStringList arguments;
    QString error; // not empty: the action cannot run (the reason)
};

// The reason a template cannot be used (unknown placeholder, unbalanced brace, a web address
// whose scheme is not http, https or mailto, a program named by a placeholder, nothing to
// start); empty when it is good.
QString templateProblem(ActionKind kind, const QString &templateText);

// Fills the template. In a URL each value is percent-encoded as a query component; in a
// program's arguments each value is put into its word as plain text, so a value can never add
// an argument or reach a shell.
ActionLaunch fillAction(const CallAction &action, const CallFacts &facts);

// True when the template names the caller ({number}, {digits} or {name}): a ring action with
// such a template waits until the caller is known.
bool templateNamesCaller(const QString &templateText);

} // namespace dpx
