// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SoundFilePlayer.h"

#include "audio/AudioFormats.h"
#include "audio/AudioLog.h"
#include "audio/RingStream.h"
#include "audio/SoundFileReader.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace dpx {

SoundFilePlayer::SoundFilePlayer(QObject *parent) : QObject(parent) {}

SoundFilePlayer::~SoundFilePlayer()
{
    stop(); // the output stops and goes before the stream it reads
}

bool SoundFilePlayer::play(const QString &path)
{
    stop();
    m_file = path;
    m_lengthUs = -1;
    if (!startAt(0)) {
        m_file.clear();
        return false;
    }
    return true;
}

bool SoundFilePlayer::startAt(qint64 frame)
{
    teardown();
    auto reader = std::make_unique<SoundFileReader>();
    if (!reader->open(m_file) || !reader->seek(frame))
        return false;
    m_rate = reader->sampleRate();
    if (reader->totalFrames() >= 0)
        m_lengthUs = reader->totalFrames() * 1000000 / m_rate;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    const PcmFormat format = chooseFormat(device, reader->sampleRate(), reader->channels());
    if (!format.isValid())
        return false;
    auto stream = std::make_unique<RingStream>(std::move(reader), format);
    if (!stream->isValid() || !stream->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    auto sink = std::make_unique<QAudioSink>(device, toAudioFormat(format));
    connect(sink.get(), &QAudioSink::stateChanged, this, &SoundFilePlayer::onStateChanged,
            Qt::QueuedConnection);
    sink->start(stream.get());
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        qCDebug(lcAudio) << "output refused the file:" << device.description() << sink->error();
        return false;
    }
    if (m_paused)
        sink->suspend();
    m_baseUs = frame * 1000000 / m_rate;
    m_stream = std::move(stream);
    m_sink = std::move(sink);
    m_deviceId = device.id();
    return true;
}

bool SoundFilePlayer::seekTo(qint64 us)
{
    if (!m_sink || m_rate <= 0)
        return false;
    if (m_lengthUs >= 0)
        us = std::min(us, m_lengthUs);
    const qint64 frame = std::max<qint64>(us, 0) * m_rate / 1000000;
    if (startAt(frame))
        return true;
    stop();
    return false;
}

void SoundFilePlayer::pause()
{
    if (!m_sink || m_paused)
        return;
    m_paused = true;
    m_sink->suspend();
}

void SoundFilePlayer::resume()
{
    if (!m_sink || !m_paused)
        return;
    m_paused = false;
    m_sink->resume();
}

void SoundFilePlayer::stop()
{
    teardown();
    m_paused = false;
    m_file.clear();
    m_lengthUs = -1;
    m_baseUs = 0;
    m_heldUs = 0;
}

void SoundFilePlayer::teardown()
{
    if (!m_sink)
        return;
    m_sink->disconnect(this);
    m_sink->stop();
    m_sink.reset(); // the output goes before the stream it reads
    m_stream.reset();
    m_deviceId.clear();
}

qint64 SoundFilePlayer::positionUs() const
{
    if (!m_sink)
        return m_heldUs;
    const qint64 position = m_baseUs + m_sink->processedUSecs();
    return m_lengthUs >= 0 ? std::min(position, m_lengthUs) : position;
}

void SoundFilePlayer::onStateChanged()
{
    if (!m_sink)
        return;
    if (m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        qCDebug(lcAudio) << "output lost while playing" << m_file << m_sink->error();
        m_heldUs = positionUs();
        teardown();
        Q_EMIT interrupted();
        return;
    }
    // Idle with the whole file handed out: the sink has drained the decoder's end.
    if (m_sink->state() != QAudio::IdleState || !m_stream || !m_stream->isFinished())
        return;
    // The decoder's end is the file's length (the header's may have been an estimate).
    m_lengthUs = m_baseUs + m_sink->processedUSecs();
    m_heldUs = m_lengthUs;
    teardown();
    Q_EMIT finished();
}

} // namespace dpx
