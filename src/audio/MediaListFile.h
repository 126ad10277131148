// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dpx {

// The converter window's file list on disk ("MPlayer.mdr"): each path in the local 8-bit file
// name encoding followed by "\r\n", then "----" without a line break ("----" alone when the
// list is empty). Reading stops at a line that starts with '-' or at the end of the file; empty
// lines, lines holding NUL bytes and lines longer than any path are skipped, so a damaged file
// still gives what it can.
namespace MediaListFile {

inline constexpr int MaxLineBytes = 4096; // PATH_MAX

QStringList parse(const QByteArray &content);
// Entries that cannot be stored in the format (empty, or holding a line break) are left out.
QByteArray serialize(const QStringList &paths);

// A missing or unreadable file gives an empty list.
QStringList load(const QString &file);
// Replaces the file at once (written beside it, then renamed); false when it cannot.
bool save(const QString &file, const QStringList &paths);

} // namespace MediaListFile

} // namespace dpx
