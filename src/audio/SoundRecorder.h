// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAudioDevice>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QMediaDevices;
class QThread;
class QTimer;

namespace dpx {

class CaptureWorker;

// Records one capture device into a WAV file (8000 Hz mono 16-bit, see WavFileWriter). The
// capture and the file live on a thread of their own; this object is used from the UI thread
// and tells it through signals. A device that will not take the recording format directly is
// opened in its own format and converted (libsoxr, high quality).
//
// The recording ends by itself when the disk refuses the samples, when the device leaves the
// system's input list (a sound server may quietly move the stream to another microphone, so
// the stream's own state is not enough) and at the file's 4 GiB limit: the file is then
// finished as by stop() and `interrupted` tells why.
class SoundRecorder : public QObject {
    Q_OBJECT
  public:
    static constexpr int DeviceCheckMs = 1000;

    explicit SoundRecorder(QObject *parent = nullptr);
    ~SoundRecorder() override; // stops: the stream is torn down, the file finished

    // The capture devices a recording may use: the system's inputs without the monitors of
    // outputs (they carry what the PC plays, not a microphone).
    static QList<QAudioDevice> captureDevices();

    // Creates `path` and starts capturing from `device`. False with error() when the file
    // cannot be created or the device refuses to capture (nothing is left running).
    bool start(const QAudioDevice &device, const QString &path);
    // Stops capturing and finishes the file (final sizes, synced). Joins the thread.
    void stop();

    bool isRecording() const { return m_thread != nullptr; }
    bool deviceRefused() const { return m_deviceRefused; }
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    // Sample bytes written so far (any thread).
    qint64 dataLength() const { return m_dataLength.load(); }

    // For tests: the size limit of the file; the conversion from the device's own format.
    void setMaxDataLength(qint64 bytes) { m_maxDataLength = bytes; }
    void setUseDeviceFormat(bool use) { m_useDeviceFormat = use; }

  Q_SIGNALS:
    // The recording ended by itself and its file is finished; `message` says why for the
    // user (empty at the size limit, which ends it as a stop would).
    void interrupted(const QString &message);

  private:
    void checkDevice();
    void endBecause(const QString &message);

    QThread *m_thread = nullptr;
    CaptureWorker *m_worker = nullptr;
    QMediaDevices *m_devices = nullptr;
    QTimer *m_deviceTimer = nullptr;
    QByteArray m_deviceId;
    QString m_path;
    QString m_error;
    bool m_deviceRefused = false;
    bool m_useDeviceFormat = false;
    qint64 m_maxDataLength = -1;
    std::atomic<qint64> m_dataLength{0};
};

} // namespace dpx
