// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/VCardParser.h"

#include <QCoreApplication>

#include "addressbook/TextDecoding.h"

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

bool isEncodingName(QByteArrayView upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT"
        || upper == "7BIT";
}

QByteArray unquoted(QByteArray value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Splits on `separator` outside double quotes.
QList<QByteArray> splitOutsideQuotes(QByteArrayView text, char separator)
{
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.append(text.sliced(start, i - start).toByteArray());
            start = i + 1;
        }
    }
    parts.append(text.sliced(start).toByteArray());
    return parts;
}

// The ':' that ends the name and parameters: the first one outside a quoted parameter value.
qsizetype valueColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

bool parseProperty(const QByteArray &line, int lineNumber, VCardProperty *property, QString *fault)
{
    const qsizetype colon = valueColon(line);
    if (colon < 0) {
        *fault = QCoreApplication::translate("ContactImport", "此行沒有「:」");
        return false;
    }
    const QList<QByteArray> head = splitOutsideQuotes(QByteArrayView(line).first(colon), ';');
    QByteArray name = head.first().trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0)
        name = name.mid(dot + 1);
    if (name.isEmpty()) {
        *fault = QCoreApplication::translate("ContactImport", "此行沒有屬性名稱");
        return false;
    }
    property->name = name.toUpper();
    property->line = lineNumber;
    property->value = line.mid(colon + 1);
    property->params.clear();
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray &token = head.at(i);
        const qsizetype equals = token.indexOf('=');
        if (equals < 0) {
            const QByteArray bare = token.trimmed().toUpper();
            if (!bare.isEmpty())
                property->params.append({isEncodingName(bare) ? "ENCODING" : "TYPE", bare});
        } else {
            property->params.append({token.left(equals).trimmed().toUpper(),
                                     unquoted(token.mid(equals + 1))});
        }
    }
    return true;
}

bool isMarker(const QByteArray &line, QByteArrayView keyword)
{
    // BEGIN:VCARD / END:VCARD, letter case and surrounding blanks ignored.
    const QByteArrayView view(line);
    if (view.size() < keyword.size() + 6 || (view.back() != 'D' && view.back() != 'd' && view.back() != ' '
                                             && view.back() != '\t'))
        return false; // most lines: no copy
    const QByteArray trimmed = line.trimmed().toUpper();
    return trimmed.size() == keyword.size() + 6 && trimmed.startsWith(keyword)
        && trimmed.sliced(keyword.size()) == ":VCARD";
}

} // namespace

QByteArray VCardProperty::param(QByteArrayView key) const
{
    for (const auto &[k, v] : params) {
        if (k == key)
            return v;
    }
    return {};
}

QList<QByteArray> VCardProperty::types() const
{
    QList<QByteArray> all;
    for (const auto &[k, v] : params) {
        if (k != "TYPE")
            continue;
        for (const QByteArray &type : unquoted(v).split(','))
            all.append(unquoted(type).toUpper());
    }
    return all;
}

bool VCardProperty::hasType(QByteArrayView type) const
{
    for (const QByteArray &t : types()) {
        if (t == type)
            return true;
    }
    return false;
}

bool VCardProperty::isPreferred() const
{
    if (hasType("PREF"))
        return true;
    for (const auto &[k, v] : params) {
        if (k == "PREF")
            return true;
    }
    return false;
}

VCardParser::VCardParser(QByteArray data)
    : m_data(toUtf8Bytes(data))
{
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
}

QByteArray VCardParser::toUtf8Bytes(const QByteArray &data)
{
    QByteArray encoding;
    qsizetype skip = 0;
    if (const auto mark = textdecoding::byteOrderMark(data)) {
        if (mark->encoding != "UTF-8") {
            encoding = mark->encoding;
            skip = mark->length;
        }
    } else if (data.size() >= 2 && data[0] != 0 && data[1] == 0) {
        encoding = "UTF-16LE";
    } else if (data.size() >= 2 && data[0] == 0 && data[1] != 0) {
        encoding = "UTF-16BE";
    }
    if (encoding.isEmpty())
        return data;
    // Undecodable UTF-16 keeps its bytes: the cards then fail on their own lines.
    const auto text = textdecoding::decode(QByteArrayView(data).sliced(skip), encoding);
    return text ? text->toUtf8() : data;
}

bool VCardParser::looksLikeVCard(const QByteArray &data)
{
    QByteArray head = toUtf8Bytes(data.left(4096));
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    return head.trimmed().toUpper().startsWith("BEGIN:VCARD");
}

QByteArrayView VCardParser::physicalLine()
{
    const qsizetype start = m_pos;
    qsizetype end = start;
    while (end < m_data.size() && m_data[end] != '\n' && m_data[end] != '\r')
        ++end;
    m_pos = end;
    if (m_pos < m_data.size() && m_data[m_pos] == '\r')
        ++m_pos;
    if (m_pos < m_data.size() && m_data[m_pos] == '\n' && (m_pos == end || m_data[m_pos - 1] == '\r'))
        ++m_pos;
    ++m_line;
    return QByteArrayView(m_data).sliced(start, end - start);
}

QByteArray VCardParser::logicalLine(int *firstLine, bool *tooLong)
{
    QByteArray line = physicalLine().toByteArray();
    *firstLine = m_line;
    *tooLong = false;
    const qsizetype colon = line.indexOf(':');
    const bool quotedPrintable =
        colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
    while (m_pos < m_data.size()) {
        const qsizetype mark = m_pos;
        const int markLine = m_line;
        // A quoted-printable soft break ("=" at the end) joins the next line as it stands.
        if (quotedPrintable && line.endsWith('=')) {
            const QByteArrayView next = physicalLine();
            if (!isMarker(next.toByteArray(), "END")) {
                line.chop(1);
                line += next;
                if (line.size() > kMostLineBytes)
                    *tooLong = true;
                continue;
            }
        } else {
            const QByteArrayView next = physicalLine();
            if (!next.isEmpty() && (next[0] == ' ' || next[0] == '\t')) {
                line += next.sliced(1); // folded: the line break and one blank go
                if (line.size() > kMostLineBytes)
                    *tooLong = true;
                continue;
            }
        }
        m_pos = mark;
        m_line = markLine;
        break;
    }
    if (*tooLong)
        line.clear();
    return line;
}

bool VCardParser::next(VCardCard &card)
{
    card = VCardCard();
    int depth = 0;
    auto failAt = [&card](int line, const QString &fault) {
        if (!card.hasFault()) {
            card.faultLine = line;
            card.fault = fault;
        }
    };
    while (m_pos < m_data.size()) {
        int lineNumber = 0;
        bool tooLong = false;
        const QByteArray line = logicalLine(&lineNumber, &tooLong);
        if (depth == 0) {
            if (isMarker(line, "BEGIN")) {
                depth = 1;
                card.line = lineNumber;
            }
            continue; // anything between cards is not part of one
        }
        if (tooLong) {
            failAt(lineNumber, QCoreApplication::translate("ContactImport", "一行超過 16 MiB"));
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (isMarker(line, "BEGIN")) {
            if (++depth > kMostNesting)
                failAt(lineNumber, QCoreApplication::translate("ContactImport", "巢狀超過 %1 層").arg(kMostNesting));
            continue;
        }
        if (isMarker(line, "END")) {
            if (--depth == 0)
                return true;
            continue;
        }
        if (depth > 1)
            continue; // an embedded card (2.1 AGENT) is not a contact of its own
        VCardProperty property;
        QString fault;
        if (parseProperty(line, lineNumber, &property, &fault))
            card.properties.append(std::move(property));
        else
            failAt(lineNumber, fault);
    }
    if (depth == 0)
        return false;
    failAt(card.line, QCoreApplication::translate("ContactImport", "缺少 END:VCARD"));
    return true;
}

} // namespace dpx
