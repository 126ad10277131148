// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MediaListFile.h"

#include <QFile>
#include <QSaveFile>

namespace dpx::MediaListFile {

QStringList parse(const QByteArray &content)
{
    QStringList paths;
    qsizetype from = 0;
    while (from < content.size()) {
        qsizetype end = content.indexOf('\n', from);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        QByteArrayView line(content.constData() + from, end - from);
        from = next;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('-'))
            break;
        if (line.isEmpty() || line.size() > MaxLineBytes || line.contains('\0') || line.contains('\r'))
            continue;
        paths.append(QFile::decodeName(line.toByteArray()));
    }
    return paths;
}

QByteArray serialize(const QStringList &paths)
{
    QByteArray out;
    for (const QString &path : paths) {
        const QByteArray name = QFile::encodeName(path);
        if (name.isEmpty() || name.contains('\n') || name.contains('\r') || name.startsWith('-'))
            continue;
        out += name + "\r\n";
    }
    return out + "----";
}

QStringList load(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return parse(in.readAll());
}

bool save(const QString &file, const QStringList &paths)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = serialize(paths);
    return out.write(content) == content.size() && out.commit();
}

} // namespace dpx::MediaListFile
