// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/TextDecoding.h"

#include <QLocale>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace dpx::textdecoding {

std::optional<ByteOrderMark> byteOrderMark(const QByteArray &data)
{
    struct Mark {
        QByteArrayView bytes;
        const char *encoding;
    };
    // UTF-32LE before UTF-16LE: its mark begins with the UTF-16LE one.
    static const Mark marks[] = {
        {QByteArrayView("\xEF\xBB\xBF", 3), "UTF-8"},
        {QByteArrayView("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
        {QByteArrayView("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
        {QByteArrayView("\xFF\xFE", 2), "UTF-16LE"},
        {QByteArrayView("\xFE\xFF", 2), "UTF-16BE"},
    };
    for (const Mark &mark : marks) {
        if (data.startsWith(mark.bytes))
            return ByteOrderMark{QByteArray(mark.encoding), int(mark.bytes.size())};
    }
    return std::nullopt;
}

bool isValidUtf8(QByteArrayView data)
{
    return decode(data, "UTF-8").has_value();
}

std::optional<QString> decode(QByteArrayView data, const QByteArray &encoding)
{
    // Stateless: a stateful decoder keeps a truncated last sequence for a next call that never
    // comes and reports no error.
    // The built-in decoders are found without a look-up by name.
    // ConvertInitialBom: a mark at the start of a value is text (file marks are cut off before).
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    const auto builtIn = QStringConverter::encodingForName(encoding.constData());
    QStringDecoder decoder = builtIn ? QStringDecoder(*builtIn, flags) : QStringDecoder(encoding.constData(), flags);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(data);
    if (decoder.hasError() || !isStorableText(text))
        return std::nullopt;
    return text;
}

std::optional<QString> decodeFile(const QByteArray &data, const QByteArray &legacy)
{
    if (const auto mark = byteOrderMark(data))
        return decode(QByteArrayView(data).sliced(mark->length), mark->encoding);
    if (isValidUtf8(data))
        return QString::fromUtf8(data);
    return decode(data, legacy);
}

bool needsLegacyEncoding(const QByteArray &data)
{
    return !byteOrderMark(data) && !isValidUtf8(data);
}

QByteArray defaultLegacyEncoding()
{
    const QLocale locale = QLocale::system();
    QByteArray wanted = "windows-1252";
    if (locale.language() == QLocale::Chinese) {
        const bool traditional = locale.script() == QLocale::TraditionalChineseScript
            || locale.territory() == QLocale::Taiwan || locale.territory() == QLocale::HongKong
            || locale.territory() == QLocale::Macao;
        wanted = traditional ? "Big5" : "GB18030";
    } else if (locale.language() == QLocale::Japanese) {
        wanted = "Shift_JIS";
    } else if (locale.language() == QLocale::Korean) {
        wanted = "windows-949";
    } else if (locale.language() == QLocale::Russian || locale.language() == QLocale::Ukrainian
               || locale.language() == QLocale::Bulgarian) {
        wanted = "windows-1251";
    }
    if (QStringDecoder(wanted.constData()).isValid())
        return wanted;
    return "ISO-8859-1"; // a Qt without ICU decodes only the Unicode forms and Latin-1
}

QStringList legacyEncodings()
{
    static const char *const candidates[] = {
        "Big5", "GB18030", "GBK", "Shift_JIS", "EUC-JP", "windows-949", "windows-1250",
        "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1255",
        "windows-1256", "windows-1257", "windows-1258", "windows-874", "KOI8-R", "ISO-8859-1",
    };
    const QString preferred = QString::fromLatin1(defaultLegacyEncoding());
    QStringList names{preferred};
    for (const char *name : candidates) {
        const QString text = QString::fromLatin1(name);
        if (text != preferred && QStringDecoder(name).isValid())
            names.append(text);
    }
    return names;
}

bool isStorableText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() == 0)
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

} // namespace dpx::textdecoding
