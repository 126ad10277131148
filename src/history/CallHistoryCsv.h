// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phone/CallRecord.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace dpx {

// The call history as CSV for a spreadsheet: UTF-8 with a byte-order mark, fields quoted as
// RFC 4180 asks (CRLF line ends), start times in ISO 8601 local time with the UTC offset. A
// text field that a spreadsheet would run as a formula (it begins with =, +, -, @, a tab or a
// carriage return) is written with a leading apostrophe. names[i] is the name shown for calls[i].
QByteArray callHistoryCsv(const QList<CallRecord> &calls, const QStringList &names);

// One CSV field, quoted when it must be.
QString csvField(const QString &text, bool guardFormula);

// Writes the file whole or not at all; false with a readable text in *error.
bool writeCallHistoryCsv(const QString &path, const QByteArray &csv, QString *error);

} // namespace dpx
