// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/RiffWalker.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <functional>

namespace dpx {

// Reads the audio bytes of a file for the box: a headerless .raw file (any case of the
// suffix) whole, or the data chunk of a WAVE file. Another file, or a WAVE file that is not
// 8-bit mu-law 16 kHz mono, is refused with the program's message.
class AudioSourceFile {
public:
    enum class Kind { None, Raw, Wave };

    // Opening a raw file that exists but cannot be opened (another program holds it) is
    // tried again, `retries` times `retryPauseMs` apart; `cancelled` (when given) is asked
    // while waiting, and a true answer gives up at once.
    static constexpr int DefaultOpenRetries = 120;
    static constexpr int DefaultRetryPauseMs = 100;
    explicit AudioSourceFile(const QString &path, int retries = DefaultOpenRetries,
                             int retryPauseMs = DefaultRetryPauseMs,
                             std::function<bool()> cancelled = {});

    Kind kind() const { return m_kind; }
    bool isOpen() const { return m_kind != Kind::None; }
    // The retries were given up on request (no error message then).
    bool wasCancelled() const { return m_cancelled; }
    // The number of audio bytes; 0 when not open.
    qint64 dataLength() const { return m_length; }
    // The message when the file could not be used (empty otherwise).
    QString error() const { return m_error; }
    const WaveLayout &wave() const { return m_wave; }

    // Reads up to `count` audio bytes from the current position; the bytes read.
    qint64 read(char *buffer, qint64 count);
    // Up to `count` audio bytes from the start (the whole cut length a transfer needs).
    QByteArray readHead(qint64 count);
    void close();

    static constexpr const char *FormatNotSupported = QT_TRANSLATE_NOOP("AudioSourceFile", "程式不支持這種格式!");
    static constexpr const char *FileLocked = "File is already opened!";

private:
    bool openWithRetries(int retries, int retryPauseMs, const std::function<bool()> &cancelled);

    QFile m_file;
    Kind m_kind = Kind::None;
    qint64 m_length = 0;
    qint64 m_position = 0;
    WaveLayout m_wave;
    QString m_error;
    bool m_cancelled = false;
};

} // namespace dpx
