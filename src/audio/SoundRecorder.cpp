// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SoundRecorder.h"

#include "audio/CaptureWorker.h"

#include <QMediaDevices>
#include <QThread>
#include <QTimer>

namespace dpx {

SoundRecorder::SoundRecorder(QObject *parent) : QObject(parent) {}

SoundRecorder::~SoundRecorder()
{
    // The source stops and goes on its own thread before the file is finished and the thread
    // joined, so nothing of the stream outlives us.
    stop();
}

QList<QAudioDevice> SoundRecorder::captureDevices()
{
    QList<QAudioDevice> devices;
    for (const QAudioDevice &device : QMediaDevices::audioInputs())
        if (!device.id().endsWith(".monitor")) // PulseAudio's name for an output's monitor
            devices.append(device);
    return devices;
}

bool SoundRecorder::start(const QAudioDevice &device, const QString &path)
{
    stop();
    m_error.clear();
    m_deviceRefused = false;
    m_path = path;
    m_dataLength.store(0);
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("dpx-recorder"));
    m_worker = new CaptureWorker(device, path, m_dataLength, m_maxDataLength, m_useDeviceFormat);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &CaptureWorker::writeFailed, this, [this](const QString &error) {
        m_error = error;
        endBecause(tr("錄音無法寫入磁碟(磁碟可能已滿),錄音已停止。已錄下的部分已保留。"));
    });
    connect(m_worker, &CaptureWorker::limitReached, this, [this] { endBecause(QString()); });
    m_thread->start();

    QString error;
    bool refused = false;
    QMetaObject::invokeMethod(
        m_worker, [&] { error = m_worker->begin(&refused); }, Qt::BlockingQueuedConnection);
    if (!error.isEmpty()) {
        stop();
        m_error = error;
        m_deviceRefused = refused;
        return false;
    }
    m_deviceId = device.id();
    m_devices = new QMediaDevices(this);
    connect(m_devices, &QMediaDevices::audioInputsChanged, this, &SoundRecorder::checkDevice);
    // The list's change signal is not sent by every back end: look each second as well.
    m_deviceTimer = new QTimer(this);
    m_deviceTimer->start(DeviceCheckMs);
    connect(m_deviceTimer, &QTimer::timeout, this, &SoundRecorder::checkDevice);
    return true;
}

void SoundRecorder::stop()
{
    // Later: a stop may come from their own signals.
    for (QObject *watcher : {static_cast<QObject *>(m_deviceTimer), static_cast<QObject *>(m_devices)}) {
        if (watcher) {
            watcher->disconnect(this);
            watcher->deleteLater();
        }
    }
    m_deviceTimer = nullptr;
    m_devices = nullptr;
    if (!m_thread)
        return;
    CaptureWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker] { worker->end(); }, Qt::BlockingQueuedConnection);
    worker->disconnect(this); // a failure queued meanwhile is over
    m_thread->quit();
    m_thread->wait();
    delete m_thread; // the worker went with the thread's end
    m_thread = nullptr;
    m_worker = nullptr;
}

void SoundRecorder::checkDevice()
{
    if (!m_thread)
        return;
    for (const QAudioDevice &device : QMediaDevices::audioInputs())
        if (device.id() == m_deviceId)
            return;
    endBecause(tr("錄音裝置已被移除,錄音已停止。已錄下的部分已保留。"));
}

void SoundRecorder::endBecause(const QString &message)
{
    if (!m_thread)
        return;
    stop();
    Q_EMIT interrupted(message);
}

} // namespace dpx
