// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/PictureNames.h"

#include <QCryptographicHash>
#include <QStringList>

namespace dpx {

namespace {

bool mustEscape(char32_t c)
{
    if (c < 0x20 || c == 0x7f)
        return true;
    switch (c) {
    case u'/': case u'\\': case u':': case u'*': case u'?': case u'"': case u'<': case u'>':
    case u'|': case u'%': case u'~':
        return true;
    default:
        return false;
    }
}

void appendEscaped(QString &out, const QByteArray &bytes)
{
    for (char byte : bytes)
        out += QStringLiteral("%%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0')).toUpper();
}

// One code point as text (QString::fromUcs4 would drop a byte-order mark).
QString textOf(char32_t c)
{
    if (c > 0xFFFF)
    {
        const QChar pair[] = {QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c))};
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(c)));
}

// The UTF-8 bytes of one code point; a lone surrogate as the three bytes it would take.
QByteArray utf8Of(char32_t c)
{
    if (c >= 0xD800 && c <= 0xDFFF)
    {
        const char bytes[] = {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        return QByteArray(bytes, 3);
    }
    return textOf(c).toUtf8();
}

bool isReservedDeviceName(const QString &key)
{
    const QString stem = key.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList plain = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                      QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (plain.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
        && stem.at(3) >= u'1' && stem.at(3) <= u'9';
}

} // namespace

QString pictureFileStem(const QString &key)
{
    if (key.isEmpty())
        return {};
    // Code points, a lone surrogate kept as itself.
    QList<char32_t> points;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        if (c.isHighSurrogate() && i + 1 < key.size() && key.at(i + 1).isLowSurrogate()) {
            points << QChar::surrogateToUcs4(c, key.at(i + 1));
            ++i;
        } else {
            points << c.unicode();
        }
    }
    const bool escapeFirst = isReservedDeviceName(key)
        || key.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
    QString stem;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points.at(i);
        // A leading byte-order mark would vanish from the name in many readers of UTF-8.
        const bool edge = (i == 0 && (c == u'.' || c == 0xFEFF || escapeFirst))
            || (i == points.size() - 1 && (c == u'.' || c == u' '));
        if (edge || mustEscape(c) || (c >= 0xD800 && c <= 0xDFFF))
            appendEscaped(stem, utf8Of(c));
        else
            stem += textOf(c);
    }

    if (stem.toUtf8().size() <= kMaxPictureStemBytes)
        return stem;
    // Too long: cut at a character boundary and tell the cut-off names apart by a hash.
    const QByteArray units(reinterpret_cast<const char *>(key.utf16()), key.size() * 2);
    const QByteArray hash = QCryptographicHash::hash(units, QCryptographicHash::Sha256);
    const QString tail = QLatin1Char('~') + QString::fromLatin1(hash.left(4).toHex().toUpper());
    const int budget = kMaxPictureStemBytes - int(tail.size());
    QString cut;
    int bytes = 0;
    for (qsizetype i = 0; i < stem.size();) {
        // One character: a surrogate pair, an escape "%XX" or a single unit.
        const qsizetype length = stem.at(i) == u'%' ? 3
            : stem.at(i).isHighSurrogate() && i + 1 < stem.size() ? 2 : 1;
        const QString piece = stem.mid(i, length);
        const int pieceBytes = int(piece.toUtf8().size());
        if (bytes + pieceBytes > budget)
            break;
        cut += piece;
        bytes += pieceBytes;
        i += length;
    }
    return cut + tail;
}

QString pictureFileName(const QString &name, const QString &mobileNumber)
{
    const QString stem = pictureFileStem(name + mobileNumber);
    return stem.isEmpty() ? QString() : stem + QStringLiteral(".bmp");
}

} // namespace dpx
