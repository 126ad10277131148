// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/WavFileWriter.h"

#include <QtEndian>

#include <unistd.h>

namespace dpx {

namespace {

void put32(char *at, quint32 value)
{
    qToLittleEndian(value, at);
}
void put16(char *at, quint16 value)
{
    qToLittleEndian(value, at);
}

} // namespace

QByteArray RecordingWav::header(quint32 dataLength)
{
    QByteArray h(HeaderSize, '\0');
    char *p = h.data();
    memcpy(p, "RIFF", 4);
    put32(p + 4, dataLength + 38);
    memcpy(p + 8, "WAVEfmt ", 8);
    put32(p + 16, 18);
    put16(p + 20, 1); // PCM
    put16(p + 22, 1); // mono
    put32(p + 24, SampleRate);
    put32(p + 28, BytesPerSecond);
    put16(p + 32, 2);
    put16(p + 34, 16);
    put16(p + 36, 0); // extra size
    memcpy(p + 38, "data", 4);
    put32(p + 42, dataLength);
    return h;
}

WavFileWriter::~WavFileWriter()
{
    if (m_file.isOpen())
        finish();
}

bool WavFileWriter::fail(const QString &what)
{
    m_error = QStringLiteral("%1 %2: %3").arg(what, m_file.fileName(), m_file.errorString());
    return false;
}

bool WavFileWriter::open(const QString &path)
{
    m_file.setFileName(path);
    m_dataLength = m_sinceHeader = 0;
    m_error.clear();
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(QStringLiteral("cannot create"));
    if (m_file.write(RecordingWav::header(0)) != RecordingWav::HeaderSize) {
        fail(QStringLiteral("cannot write"));
        m_file.close();
        return false;
    }
    return true;
}

bool WavFileWriter::append(const char *data, qint64 size)
{
    if (!m_file.isOpen())
        return false;
    size = qMin(size, m_maxDataLength - m_dataLength) & ~1LL;
    while (size > 0) {
        const qint64 written = m_file.write(data, size);
        if (written <= 0)
            return fail(QStringLiteral("cannot write"));
        data += written;
        size -= written;
        m_dataLength += written;
        m_sinceHeader += written;
    }
    if (m_sinceHeader >= RecordingWav::BytesPerSecond)
        return updateHeader();
    return true;
}

bool WavFileWriter::updateHeader()
{
    if (!m_file.isOpen())
        return false;
    m_sinceHeader = 0;
    // A write cut mid-sample leaves an odd count: the header tells whole samples only.
    const QByteArray h = RecordingWav::header(quint32(m_dataLength & ~1LL));
    const qint64 end = RecordingWav::HeaderSize + m_dataLength;
    const bool ok = m_file.seek(0) && m_file.write(h) == h.size() && m_file.seek(end);
    return ok || fail(QStringLiteral("cannot update"));
}

bool WavFileWriter::finish()
{
    if (!m_file.isOpen())
        return false;
    bool ok = updateHeader();
    if (ok && ::fsync(m_file.handle()) != 0)
        ok = fail(QStringLiteral("cannot sync"));
    m_file.close();
    return ok;
}

} // namespace dpx
