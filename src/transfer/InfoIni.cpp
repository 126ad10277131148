// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/InfoIni.h"

#include "transfer/InfoTable.h"

#include <QList>

namespace dpx {

namespace {

constexpr int MaxLineLength = 79;
constexpr int ValueDigitsFrom = 2; // "0x" is not looked at
constexpr int ValueLength = 6;

enum class KeyKind { None, Address, Length };

bool isKeyDelimiter(char c)
{
    return c == ' ' || c == '=';
}

} // namespace

int infoIniDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 0;
}

InfoIniResult parseInfoIni(const QByteArray &text)
{
    InfoIniResult result;
    bool inSection = false;
    KeyKind kind = KeyKind::None;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (result.entries.size() >= InfoTable::EntryBytes)
            break;
        const int lineNumber = int(index) + 1;
        QByteArray line = lines.at(index);
        if (index == lines.size() - 1 && line.isEmpty())
            break;
        line.replace('\r', '=');
        if (line.size() > MaxLineLength) {
            result.error = QStringLiteral("info.ini line %1: longer than %2 characters")
                               .arg(lineNumber).arg(MaxLineLength);
            return result;
        }
        if (line.startsWith("[info]")) {
            inSection = true;
            continue;
        }
        // The key: the first run of characters other than space and "=".
        qsizetype pos = 0;
        while (pos < line.size() && isKeyDelimiter(line.at(pos)))
            ++pos;
        if (pos == line.size())
            continue; // an empty line
        const qsizetype keyStart = pos;
        while (pos < line.size() && !isKeyDelimiter(line.at(pos)))
            ++pos;
        const QByteArray key = line.mid(keyStart, pos - keyStart);
        // Spaces may stand between the key and "=", not after it: a space after "=" is
        // part of the value.
        while (pos < line.size() && line.at(pos) == ' ')
            ++pos;
        // The value: the next run of characters other than "=" (spaces belong to it).
        while (pos < line.size() && line.at(pos) == '=')
            ++pos;
        const qsizetype valueStart = pos;
        while (pos < line.size() && line.at(pos) != '=')
            ++pos;
        const QByteArray value = line.mid(valueStart, pos - valueStart);
        if (value.isEmpty()) {
            result.error = QStringLiteral("info.ini line %1: \"%2\" has no value")
                               .arg(lineNumber).arg(QString::fromUtf8(key));
            return result;
        }
        if (!inSection)
            continue;
        if (key.startsWith("address"))
            kind = KeyKind::Address;
        else if (key.startsWith("length"))
            kind = KeyKind::Length;
        if (kind == KeyKind::None)
            continue;
        if (value.size() < ValueLength) {
            result.error = QStringLiteral("info.ini line %1: the value \"%2\" is not like 0x0200")
                               .arg(lineNumber).arg(QString::fromUtf8(value));
            return result;
        }
        for (int pair = 0; pair < 2; ++pair) {
            const int at = ValueDigitsFrom + 2 * pair;
            const int byte = (infoIniDigit(value.at(at)) * 16 + infoIniDigit(value.at(at + 1))) % 256;
            result.entries.append(char(quint8(byte)));
        }
    }
    return result;
}

} // namespace dpx
