// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RingTonePlayer.h"

#include <QScopedValueRollback>
#include <QTimer>

#include "audio/AudioFormats.h"
#include "audio/AudioLog.h"
#include "audio/RingRules.h"
#include "audio/RingStream.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>


namespace dpx {


RingTonePlayer::RingTonePlayer(QObject *parent) : QObject(parent) {}

RingTonePlayer::~RingTonePlayer()
{
    // Not Stop(): a request deferred while an output is being set up must not outlive us. The
    // output stops and goes before the stream it reads, so nothing reads it once it is gone.
    teardown();
}

bool RingTonePlayer::holdsFile() const
{
    return m_stream && m_stream->holdsFile();
}

bool RingTonePlayer::Play(const QString &path)
{
    // Setting up an output can run the event loop, and with it the handling of the next ring
    // report. A request that arrives meanwhile is carried out once this one is in place, so two
    // outputs are never set up into each other.
    if (m_settingUp) {
        m_pending = Pending::Play;
        m_pendingPath = path;
        return true;
    }
    bool started = false;
    {
        const QScopedValueRollback<bool> settingUp(m_settingUp, true);
        started = startPlayback(path);
    }
    const Pending pending = std::exchange(m_pending, Pending::None);
    if (pending == Pending::Stop)
        Stop();
    else if (pending == Pending::Play && m_pendingPath != path)
        QTimer::singleShot(0, this, [this, next = m_pendingPath] { Play(next); });
    return started;
}

bool RingTonePlayer::startPlayback(const QString &path)
{
    // The device list is read on every ring, so a device plugged in since counts.
    const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
    QStringList descriptions;
    descriptions.reserve(outputs.size());
    for (const QAudioDevice &device : outputs)
        descriptions.append(device.description());
    const qsizetype chosen = FirstRingDevice(descriptions);
    m_deviceNames.clear();
    for (const QString &description : std::as_const(descriptions)) {
        if (IsRingDeviceEligible(description))
            m_deviceNames.append(description);
    }
    if (chosen < 0) {
        Q_EMIT messageRequested(noRingDeviceMessage());
        return false;
    }

    teardown();
    auto reader = std::make_unique<SoundFileReader>();
    if (!reader->open(path))
        return true; // nothing to render: no sound, no message
    const QAudioDevice &device = outputs.at(chosen);
    const PcmFormat format = chooseFormat(device, reader->sampleRate(), reader->channels());
    if (!format.isValid())
        return false;

    auto stream = std::make_unique<RingStream>(std::move(reader), format);
    if (!stream->isValid() || !stream->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    auto sink = std::make_unique<QAudioSink>(device, toAudioFormat(format));
    sink->start(stream.get());
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        qCDebug(lcAudio) << "output refused the ring:" << device.description() << sink->error();
        return false;
    }
    qCDebug(lcAudio) << "ring on" << device.description() << path;
    m_stream = std::move(stream);
    m_sink = std::move(sink);
    m_deviceId = device.id();
    return true;
}

void RingTonePlayer::Stop()
{
    if (m_settingUp) {
        m_pending = Pending::Stop;
        return;
    }
    teardown();
}

void RingTonePlayer::teardown()
{
    if (!m_sink)
        return;
    m_sink->stop();
    if (m_teardownHook)
        m_teardownHook();
    m_sink.reset(); // the output goes before the stream it reads
    m_stream.reset();
    m_deviceId.clear();
}

} // namespace dpx
