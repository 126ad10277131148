// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RecordingFiles.h"

#include "audio/WavFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dpx {

qsizetype FindUsbSoundCard(const QStringList &descriptions)
{
    for (qsizetype i = 0; i < descriptions.size(); ++i)
        if (descriptions.at(i).contains(QLatin1String("ORVAN VKS STD")))
            return i;
    for (qsizetype i = 0; i < descriptions.size(); ++i)
        if (descriptions.at(i).contains(QLatin1String("USB")))
            return i;
    return -1;
}

WavLayout readWavLayout(const QByteArray &head)
{
    WavLayout layout;
    const auto u32 = [&](qint64 at) { return qFromLittleEndian<quint32>(head.constData() + at); };
    const auto u16 = [&](qint64 at) { return qFromLittleEndian<quint16>(head.constData() + at); };
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
        layout.problem = QStringLiteral("not a RIFF WAVE file");
        return layout;
    }
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= head.size()) {
        const QByteArray id = head.mid(at, 4);
        const quint32 size = u32(at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size()) {
                layout.problem = QStringLiteral("format chunk cut short");
                return layout;
            }
            layout.formatTag = u16(body);
            layout.channels = u16(body + 2);
            layout.sampleRate = int(u32(body + 4) & 0x7FFFFFFF);
            layout.blockAlign = u16(body + 12);
            layout.bitsPerSample = u16(body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                layout.problem = QStringLiteral("samples before the format");
                return layout;
            }
            if (layout.formatTag != 1 || layout.channels < 1 || layout.sampleRate < 1
                || layout.blockAlign < 1 || layout.bitsPerSample < 1) {
                layout.problem = QStringLiteral("not PCM samples");
                return layout;
            }
            layout.dataOffset = body;
            layout.declaredDataLength = size;
            layout.valid = true;
            return layout;
        }
        at = body + qint64(size) + (size & 1); // chunks are padded to even sizes
    }
    layout.problem = QStringLiteral("no sample data");
    return layout;
}

qint64 repairedDataLength(const WavLayout &layout, qint64 fileSize)
{
    if (!layout.valid || fileSize <= layout.dataOffset)
        return 0;
    const qint64 limit = 0xFFFFFFFFLL - (layout.dataOffset - 8);
    const qint64 length = qMin(fileSize - layout.dataOffset, limit);
    return length - length % layout.blockAlign;
}

bool repairRecording(const QString &path, qint64 *dataLength, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const WavLayout layout = readWavLayout(file.read(4096));
    if (!layout.valid) {
        *error = QStringLiteral("%1: %2").arg(path, layout.problem);
        return false;
    }
    const qint64 length = repairedDataLength(layout, file.size());
    char riff[4], data[4];
    qToLittleEndian(quint32(layout.dataOffset - 8 + length), riff);
    qToLittleEndian(quint32(length), data);
    const bool ok = file.resize(layout.dataOffset + length) && file.seek(4) && file.write(riff, 4) == 4
        && file.seek(layout.dataOffset - 4) && file.write(data, 4) == 4 && file.flush();
    if (!ok) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    *dataLength = length;
    return true;
}

QString unsavedRecordingsFolder(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("/unsaved recordings");
}

QString recordingStamp(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%d%02d%02d%02d%02d%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

QStringList unsavedRecordings(const QString &dataFolder)
{
    const QDir folder(unsavedRecordingsFolder(dataFolder));
    QStringList paths;
    for (const QString &name : folder.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

bool moveRecording(const QString &source, const QString &target, QString *error)
{
    // rename() replaces an existing target in one step.
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    if (errno != EXDEV) {
        *error = QStringLiteral("%1: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(target, in.isOpen() ? out.errorString() : in.errorString());
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() || out.write(block) != block.size()) {
            *error = QStringLiteral("%1: %2").arg(target, out.errorString());
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        *error = QStringLiteral("%1: %2").arg(target, out.errorString());
        return false;
    }
    in.remove();
    return true;
}

} // namespace dpx
