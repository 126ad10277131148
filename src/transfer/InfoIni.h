// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace dpx {

// The factory layout file info.ini: after a line "[info]", lines "address=0xHHLL" and
// "length=0xHHLL" give the info table's entries, two bytes per value, 80 bytes at most.
struct InfoIniResult {
    QByteArray entries; // up to 80 table bytes, in file order
    QString error;      // empty when the file was read; else names the line
    bool ok() const { return error.isEmpty(); }
};

// Reads the text of an info.ini. A key without a value, a value shorter than six characters
// or a line longer than 79 characters fails, naming the line.
InfoIniResult parseInfoIni(const QByteArray &text);

// The hexadecimal digit rule of the file: 0-9, a-z and A-Z (a = A = 10, ... z = 35), else 0.
int infoIniDigit(char c);

} // namespace dpx
