// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SegmentPreview.h"

#include "audio/AudioFormats.h"
#include "audio/MuLaw.h"
#include "audio/SegmentConverter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <cstring>

namespace dpx {

SegmentPreview::SegmentPreview(QObject *parent) : QObject(parent) {}

SegmentPreview::~SegmentPreview()
{
    stop(); // the output stops and goes before the stream it reads
}

bool SegmentPreview::play(const QByteArray &muLaw)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || muLaw.isEmpty())
        return false;
    QAudioFormat format;
    format.setSampleRate(SegmentConverter::outputRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_pcm.resize(muLaw.size() * qsizetype(sizeof(qint16)));
    auto *samples = reinterpret_cast<qint16 *>(m_pcm.data());
    for (qsizetype i = 0; i < muLaw.size(); ++i)
        samples[i] = mulaw::decode(quint8(muLaw[i]));
    m_buffer.setData(m_pcm);
    if (!m_buffer.open(QIODevice::ReadOnly))
        return false;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->start(&m_buffer);
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    return true;
}

void SegmentPreview::stop()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.close();
}

} // namespace dpx
