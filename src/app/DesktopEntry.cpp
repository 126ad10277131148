// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopEntry.h"

#include <QFile>

namespace dpx {

namespace {

constexpr qint64 kMaxEntryBytes = 1 << 20; // desktop files are a few kilobytes

QString unescapeString(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case '\\': out += u'\\'; break;
        default: out += c; out += next; break; // left for the Exec quoting rules
        }
    }
    return out;
}

// Field codes expand to files, URLs, the icon or the name; the launcher hands none of them.
bool isFieldCode(QChar c)
{
    return QStringView(u"fFuUdDnNickvm").contains(c);
}

} // namespace

DesktopEntry DesktopEntry::parse(const QByteArray &content)
{
    DesktopEntry entry;
    bool inGroup = false;
    const QString text = QString::fromUtf8(content);
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == u"[Desktop Entry]";
            entry.m_hasGroup = entry.m_hasGroup || inGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        // The first occurrence wins, as with a repeated key most readers keep.
        if (!entry.m_values.contains(key))
            entry.m_values.insert(key, unescapeString(line.mid(equals + 1).trimmed()));
    }
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxEntryBytes)
        return std::nullopt;
    DesktopEntry entry = parse(file.read(kMaxEntryBytes));
    if (!entry.m_hasGroup)
        return std::nullopt;
    return entry;
}

std::optional<QStringList> DesktopEntry::splitExec(const QString &exec)
{
    QStringList words;
    QString word;
    bool inWord = false, quoted = false, wordWasQuoted = false;
    auto finish = [&] {
        if (inWord && (wordWasQuoted || (word != QLatin1String("@@") && word != QLatin1String("@@u"))))
            words << word;
        word.clear();
        inWord = wordWasQuoted = false;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()
                       && QStringView(u"\"`$\\").contains(exec[i + 1])) {
                word += exec[++i];
            } else {
                word += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            finish();
        } else if (c == u'"') {
            quoted = inWord = wordWasQuoted = true;
        } else if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec[++i];
            if (code == u'%') {
                word += u'%';
                inWord = true;
            } else if (!isFieldCode(code)) {
                word += c; // not a field code: kept as written
                word += code;
                inWord = true;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    finish();
    if (words.isEmpty() || words.first().isEmpty())
        return std::nullopt;
    return words;
}

} // namespace dpx
