// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace dpx {

// The recording's WAV layout: a 46-byte header (a PCM "fmt " chunk of 18 bytes whose extra
// size is 0) in front of 8000 Hz mono 16-bit samples.
namespace RecordingWav {
constexpr int HeaderSize = 46;
constexpr int SampleRate = 8000;
constexpr int BytesPerSecond = 16000;
// The RIFF size field (data length + 38) must fit 32 bits; the data stays whole samples.
constexpr qint64 MaxDataLength = (0xFFFFFFFFLL - 38) & ~1LL;
// The header for `dataLength` bytes of samples.
QByteArray header(quint32 dataLength);
} // namespace RecordingWav

// Writes a recording as it comes in. The header's sizes are rewritten every second of audio
// and at the end, so a file cut short by a crash says how much it holds up to the last second
// (and the recovery repairs the rest from the file's length); `finish` syncs it to the disk.
class WavFileWriter {
  public:
    WavFileWriter() = default;
    ~WavFileWriter(); // finishes an open file
    WavFileWriter(const WavFileWriter &) = delete;
    WavFileWriter &operator=(const WavFileWriter &) = delete;

    // Creates (or truncates) the file and writes an empty header. False with error().
    bool open(const QString &path);
    // Appends samples; at the size limit only what fits is taken and isFull() turns true.
    // False with error() when the disk refuses them (the file keeps what was written).
    bool append(const char *data, qint64 size);
    bool append(const QByteArray &data) { return append(data.constData(), data.size()); }
    // Writes the current sizes into the header.
    bool updateHeader();
    // Final sizes, flushed and synced to the disk, closed. False with error().
    bool finish();

    bool isOpen() const { return m_file.isOpen(); }
    bool isFull() const { return m_dataLength >= m_maxDataLength; }
    qint64 dataLength() const { return m_dataLength; }
    QString path() const { return m_file.fileName(); }
    QString error() const { return m_error; }
    // For tests: a lower size limit (whole samples).
    void setMaxDataLength(qint64 bytes) { m_maxDataLength = qMin(bytes, RecordingWav::MaxDataLength) & ~1LL; }

  private:
    bool fail(const QString &what);

    QFile m_file;
    qint64 m_dataLength = 0;
    qint64 m_sinceHeader = 0;
    qint64 m_maxDataLength = RecordingWav::MaxDataLength;
    QString m_error;
};

} // namespace dpx
