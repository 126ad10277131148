// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/CallAction.h"

#include <QRegularExpression>

#include <array>

namespace dpx {

namespace {

constexpr std::array<const char *, 4> WhenNames = {"ring", "answer", "end", "missed"};
constexpr std::array<const char *, 2> KindNames = {"url", "program"};
constexpr std::array<const char *, 6> Placeholders = {"number", "digits", "name", "line", "time", "duration"};
const QStringList AllowedSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};

template <size_t N>
int indexOf(const std::array<const char *, N> &names, const QString &name)
{
    for (size_t i = 0; i < N; ++i)
        if (name.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// A template cut into literal text and placeholder names.
struct Piece {
    QString text;
    bool placeholder = false;
};

// The pieces, or the reason the braces cannot be read.
QList<Piece> cutTemplate(const QString &text, QString *problem)
{
    QList<Piece> pieces;
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'}') {
            *problem = QStringLiteral("unbalanced brace: a } without its {");
            return {};
        }
        if (c != u'{') {
            literal += c;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', i + 1);
        const qsizetype nextOpen = text.indexOf(u'{', i + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close)) {
            *problem = QStringLiteral("unbalanced brace: a { without its }");
            return {};
        }
        const QString name = text.mid(i + 1, close - i - 1);
        if (indexOf(Placeholders, name) < 0 || name != name.toLower()) {
            *problem = QStringLiteral("unknown placeholder {%1} (known: {number}, {digits}, {name}, "
                                      "{line}, {time}, {duration})").arg(name);
            return {};
        }
        if (!literal.isEmpty())
            pieces.append({literal, false});
        literal.clear();
        pieces.append({name, true});
        i = close;
    }
    if (!literal.isEmpty())
        pieces.append({literal, false});
    return pieces;
}

QString valueOf(const QString &placeholder, const CallFacts &facts)
{
    if (placeholder == u"number")
        return facts.number;
    if (placeholder == u"digits") {
        QString digits;
        for (const QChar c : facts.number)
            if (c >= u'0' && c <= u'9')
                digits += c;
        return digits;
    }
    if (placeholder == u"name")
        return facts.name;
    if (placeholder == u"line")
        return facts.outsideLine ? QStringLiteral("co") : QStringLiteral("icm");
    if (placeholder == u"time")
        return facts.time.isValid() ? facts.time.toUTC().toString(Qt::ISODate) : QString();
    return QString::number(facts.durationSeconds);
}

QString fill(const QList<Piece> &pieces, const CallFacts &facts, bool encode)
{
    QString out;
    for (const Piece &piece : pieces) {
        if (!piece.placeholder)
            out += piece.text;
        else if (encode)
            out += QString::fromLatin1(QUrl::toPercentEncoding(valueOf(piece.text, facts)));
        else
            out += valueOf(piece.text, facts);
    }
    return out;
}

QStringList words(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

// The scheme a URL template starts with, as literal text (empty when there is none).
QString literalScheme(const QString &templateText)
{
    static const QRegularExpression scheme(QStringLiteral("^\\s*([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = scheme.match(templateText);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

} // namespace

QString actionWhenName(ActionWhen when)
{
    return QString::fromLatin1(WhenNames.at(size_t(when)));
}

std::optional<ActionWhen> actionWhenFromName(const QString &name)
{
    const int i = indexOf(WhenNames, name);
    return i < 0 ? std::nullopt : std::optional(ActionWhen(i));
}

QString actionKindName(ActionKind kind)
{
    return QString::fromLatin1(KindNames.at(size_t(kind)));
}

std::optional<ActionKind> actionKindFromName(const QString &name)
{
    const int i = indexOf(KindNames, name);
    return i < 0 ? std::nullopt : std::optional(ActionKind(i));
}

CallFacts CallFacts::sample()
{
    CallFacts facts;
    facts.number = QStringLiteral("02-2345-6789");
    facts.name = QStringLiteral("王小明");
    facts.time = QDateTime::currentDateTimeUtc();
    facts.durationSeconds = 65;
    return facts;
}

QString templateProblem(ActionKind kind, const QString &templateText)
{
    QString problem;
    const QList<Piece> pieces = cutTemplate(templateText, &problem);
    if (!problem.isEmpty())
        return problem;
    if (templateText.trimmed().isEmpty())
        return QStringLiteral("the template is empty");
    if (kind == ActionKind::Url) {
        const QString scheme = literalScheme(templateText);
        if (!AllowedSchemes.contains(scheme))
            return QStringLiteral("a web address must begin with http:, https: or mailto:");
        return {};
    }
    // The program itself is never taken from the caller's data.
    if (words(templateText).constFirst().contains(u'{'))
        return QStringLiteral("the program (the first word) cannot be a placeholder");
    return {};
}

bool templateNamesCaller(const QString &templateText)
{
    for (const char *name : {"{number}", "{digits}", "{name}"})
        if (templateText.contains(QLatin1String(name)))
            return true;
    return false;
}

ActionLaunch fillAction(const CallAction &action, const CallFacts &facts)
{
    ActionLaunch launch;
    launch.when = action.when;
    launch.kind = action.kind;
    launch.error = templateProblem(action.kind, action.templateText);
    if (!launch.error.isEmpty())
        return launch;
    QString unused;
    if (action.kind == ActionKind::Url) {
        launch.url = QUrl(fill(cutTemplate(action.templateText.trimmed(), &unused), facts, true),
                          QUrl::TolerantMode);
        if (!launch.url.isValid() || !AllowedSchemes.contains(launch.url.scheme().toLower()))
            launch.error = QStringLiteral("not a usable web address: %1").arg(launch.url.errorString());
        return launch;
    }
    // Split on blanks before filling: a value with blanks stays one argument.
    const QStringList templateWords = words(action.templateText);
    launch.program = templateWords.constFirst();
    for (qsizetype i = 1; i < templateWords.size(); ++i)
        launch.arguments << fill(cutTemplate(templateWords.at(i), &unused), facts, false);
    return launch;
}

} // namespace dpx
