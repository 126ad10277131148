// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/PcmConverter.h"
#include "audio/SoundFileReader.h"

#include <QByteArray>
#include <QIODevice>

#include <memory>

namespace dpx {

// A read-only sequential device that decodes an audio file once, in the device format, as
// the audio output pulls it. The file is closed as soon as its end has been decoded, and
// at the latest when the stream is destroyed; nothing repeats. Open it ReadOnly | Unbuffered
// so that every read hands out whole frames.
class RingStream : public QIODevice {
    Q_OBJECT
  public:
    // Takes an open reader; isValid() tells whether the conversion can be made.
    RingStream(std::unique_ptr<SoundFileReader> reader, const PcmFormat &target,
               QObject *parent = nullptr);
    ~RingStream() override;

    bool isValid() const { return m_converter.isValid(); }
    // The whole file has been decoded and handed out.
    bool isFinished() const { return m_decodedAll && m_pending.isEmpty(); }
    // The file is still open (for the player's tests of handle release).
    bool holdsFile() const { return m_reader && m_reader->isOpen(); }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override { return isFinished(); }

  protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

  private:
    void decodeMore(qint64 wanted);

    std::unique_ptr<SoundFileReader> m_reader;
    PcmConverter m_converter;
    QByteArray m_pending;
    bool m_decodedAll = false;
};

} // namespace dpx
