// SPDX-License-Identifier: GPL-3.0-or-later
// File helpers the tests share.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace dpx::test {

// Writes bytes as the whole file; false when it could not be written whole.
inline bool writeFile(const QString &path, const QByteArray &bytes = {})
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The file's bytes, or `missing` when it cannot be read.
inline QByteArray fileBytes(const QString &path, const QByteArray &missing = {})
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

} // namespace dpx::test
