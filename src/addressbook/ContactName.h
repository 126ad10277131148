// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// A contact's display name from its last and first name: joined directly (陳 + 美玲 ->
// 陳美玲), with one blank only where the characters on both sides of the join are Latin
// letters or digits (Smith + John -> "Smith John").
QString joinContactName(const QString &lastName, const QString &firstName);

} // namespace dpx
