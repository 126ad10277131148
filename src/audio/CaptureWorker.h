// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/PcmConverter.h"
#include "audio/WavFileWriter.h"

#include <QAudioDevice>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

class QAudioSource;
class QIODevice;

namespace dpx {

// SoundRecorder's half on the capture thread: the audio source, the optional conversion and
// the file. Everything here runs on that thread.
class CaptureWorker : public QObject {
    Q_OBJECT
  public:
    // `deviceFormat`: capture in the device's own format even when it takes ours.
    CaptureWorker(QAudioDevice device, QString path, std::atomic<qint64> &dataLength,
                  qint64 maxDataLength, bool deviceFormat);
    ~CaptureWorker() override;

    // Opens the file and starts the capture. Empty on success, else why (and whether the
    // device was the cause through `deviceRefused`).
    QString begin(bool *deviceRefused);
    // Takes what is still captured, stops the source and finishes the file.
    void end();

  Q_SIGNALS:
    void writeFailed(const QString &error);
    void limitReached();

  private:
    void drain();
    void store(const QByteArray &captured);

    QAudioDevice m_device;
    QString m_path;
    std::atomic<qint64> &m_dataLength;
    qint64 m_maxDataLength;
    bool m_deviceFormat;
    WavFileWriter m_writer;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_input = nullptr;
    std::unique_ptr<PcmConverter> m_converter; // when the device has its own format
    PcmSampleType m_sourceType = PcmSampleType::Int16;
    int m_sourceChannels = 1;
    QTimer m_headerTimer{this}; // the sizes go to the file every second (moves with the worker)
    bool m_stopped = false;
};

} // namespace dpx
