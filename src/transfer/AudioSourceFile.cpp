// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/AudioSourceFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace dpx {

AudioSourceFile::AudioSourceFile(const QString &path, int retries, int retryPauseMs,
                                 std::function<bool()> cancelled)
    : m_file(path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        m_error = QStringLiteral("%1: no such file").arg(path);
        return;
    }
    if (!openWithRetries(retries, retryPauseMs, cancelled)) {
        if (!m_cancelled)
            m_error = QString::fromUtf8(FileLocked);
        return;
    }
    const QByteArray head = m_file.peek(12);
    if (looksLikeWave(head)) {
        m_wave = walkRiff(
            [this](qint64 offset, int count) {
                return m_file.seek(offset) ? m_file.read(count) : QByteArray();
            },
            m_file.size());
        if (!m_wave.isBoxFormat() || !m_file.seek(m_wave.dataOffset)) {
            m_file.close();
            m_error = QCoreApplication::translate("AudioSourceFile", FormatNotSupported);
            return;
        }
        m_kind = Kind::Wave;
        m_length = m_wave.dataLength;
        return;
    }
    if (info.suffix().compare(QLatin1String("raw"), Qt::CaseInsensitive) != 0) {
        m_file.close();
        m_error = QCoreApplication::translate("AudioSourceFile", FormatNotSupported);
        return;
    }
    m_kind = Kind::Raw;
    m_length = m_file.size();
}

bool AudioSourceFile::openWithRetries(int retries, int retryPauseMs,
                                      const std::function<bool()> &cancelled)
{
    // The pause is slept in short slices so that a cancel ends the wait promptly.
    constexpr int SliceMs = 10;
    for (int attempt = 0;; ++attempt) {
        if (m_file.open(QIODevice::ReadOnly))
            return true;
        if (attempt >= retries)
            return false;
        for (int slept = 0;; slept += SliceMs) {
            if (cancelled && cancelled()) {
                m_cancelled = true;
                return false;
            }
            if (slept >= retryPauseMs)
                break;
            QThread::msleep(ulong(std::min(SliceMs, retryPauseMs - slept)));
        }
    }
}

qint64 AudioSourceFile::read(char *buffer, qint64 count)
{
    if (!isOpen() || count <= 0)
        return 0;
    const qint64 wanted = std::min(count, m_length - m_position);
    if (wanted <= 0)
        return 0;
    const qint64 got = m_file.read(buffer, wanted);
    if (got > 0)
        m_position += got;
    return std::max<qint64>(got, 0);
}

QByteArray AudioSourceFile::readHead(qint64 count)
{
    if (!isOpen())
        return {};
    const qint64 start = m_kind == Kind::Wave ? m_wave.dataOffset : 0;
    if (!m_file.seek(start))
        return {};
    m_position = 0;
    QByteArray bytes(qsizetype(std::clamp<qint64>(count, 0, m_length)), Qt::Uninitialized);
    const qint64 got = read(bytes.data(), bytes.size());
    bytes.truncate(qsizetype(got));
    return bytes;
}

void AudioSourceFile::close()
{
    m_file.close();
    m_kind = Kind::None;
    m_length = 0;
    m_position = 0;
}

} // namespace dpx
