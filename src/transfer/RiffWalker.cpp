// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/RiffWalker.h"

#include <QtEndian>

#include <algorithm>

namespace dpx {

namespace {

constexpr int ChunkHeaderSize = 8;
constexpr int FormatRecordSize = 18;
constexpr int MinFormatSize = 16;
constexpr quint16 MuLawTag = 7;
constexpr int MaxChunks = 4096; // a file of many empty chunks ends the walk, not the program

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

bool WaveLayout::isBoxFormat() const
{
    return valid && formatTag == MuLawTag && channels == 1 && sampleRate == 16000
        && bitsPerSample == 8;
}

bool looksLikeWave(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

WaveLayout walkRiff(const std::function<QByteArray(qint64, int)> &readAt, qint64 fileSize)
{
    WaveLayout layout;
    const QByteArray head = readAt(0, 12);
    if (!looksLikeWave(head))
        return layout;
    // The form's own size is often wrong in files written by streaming tools: the file's
    // length is the bound that counts.
    const qint64 formEnd = std::min<qint64>(fileSize, 8 + qint64(le32(head, 4)));
    qint64 offset = 12;
    bool haveFormat = false;
    for (int chunk = 0; chunk < MaxChunks && offset + ChunkHeaderSize <= formEnd; ++chunk) {
        const QByteArray header = readAt(offset, ChunkHeaderSize);
        if (header.size() < ChunkHeaderSize)
            return layout;
        const QByteArray id = header.left(4);
        const qint64 size = le32(header, 4);
        const qint64 body = offset + ChunkHeaderSize;
        if (id == "fmt ") {
            if (size < MinFormatSize || body + MinFormatSize > fileSize)
                return layout;
            QByteArray record = readAt(body, int(std::min<qint64>(size, FormatRecordSize)));
            if (record.size() < MinFormatSize)
                return layout;
            record.append(QByteArray(FormatRecordSize - record.size(), '\0'));
            layout.formatRecord = record;
            layout.formatTag = le16(record, 0);
            layout.channels = le16(record, 2);
            layout.sampleRate = le32(record, 4);
            layout.bitsPerSample = le16(record, 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return layout;
            layout.dataOffset = body;
            layout.dataLength = std::clamp<qint64>(fileSize - body, 0, size);
            layout.valid = true;
            return layout;
        }
        offset = body + size + (size & 1); // chunks are word aligned
    }
    return layout;
}

} // namespace dpx
