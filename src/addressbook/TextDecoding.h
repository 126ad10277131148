// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turning the bytes of an imported file into text, strictly: a byte sequence that is not valid
// in its encoding is an error, never replaced or dropped.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace dpx::textdecoding {

// The encoding named by a byte order mark at the start of `data`, with the mark's length;
// nullopt without a mark.
struct ByteOrderMark {
    QByteArray encoding; // "UTF-8", "UTF-16LE", ...
    int length = 0;
};
std::optional<ByteOrderMark> byteOrderMark(const QByteArray &data);

bool isValidUtf8(QByteArrayView data);

// Decodes all of `data` with the named encoding. nullopt when the name is unknown, a byte
// sequence is invalid (a truncated last character included) or the text holds a NUL or a
// lone surrogate, none of which may reach the database.
std::optional<QString> decode(QByteArrayView data, const QByteArray &encoding);

// A whole file: its byte order mark when it has one, else UTF-8 when valid, else `legacy`.
std::optional<QString> decodeFile(const QByteArray &data, const QByteArray &legacy);

// True when decodeFile() would fall back to the legacy code page.
bool needsLegacyEncoding(const QByteArray &data);

// The legacy code pages this Qt can decode, the locale's default first.
QStringList legacyEncodings();
// The code page older files of this locale's users are written in: Big5 for Taiwan (as
// Windows there writes its CSV files), windows-1252 for most others.
QByteArray defaultLegacyEncoding();

// A text without NUL and without unpaired surrogates.
bool isStorableText(QStringView text);

} // namespace dpx::textdecoding
