// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CaptureWorker.h"

#include "audio/AudioLog.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QtEndian>

#include <vector>

namespace dpx {

namespace {

// Captured Int16 or Float samples as floats in [-1, 1].
std::vector<float> toFloats(const QByteArray &bytes, PcmSampleType type)
{
    const int width = PcmFormat{1, 1, type}.bytesPerSample();
    const qsizetype count = bytes.size() / width;
    std::vector<float> out(static_cast<size_t>(count));
    const char *p = bytes.constData();
    for (qsizetype i = 0; i < count; ++i, p += width)
        out[size_t(i)] = type == PcmSampleType::Int16 ? float(qFromLittleEndian<qint16>(p)) / 32768.0f
                                                      : qFromLittleEndian<float>(p);
    return out;
}

constexpr qint64 CaptureBufferUs = 120000;

QAudioFormat recordingFormat()
{
    QAudioFormat format;
    format.setSampleRate(RecordingWav::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

CaptureWorker::CaptureWorker(QAudioDevice device, QString path, std::atomic<qint64> &dataLength,
                             qint64 maxDataLength, bool deviceFormat)
    : m_device(std::move(device)), m_path(std::move(path)), m_dataLength(dataLength),
      m_maxDataLength(maxDataLength), m_deviceFormat(deviceFormat)
{
    m_headerTimer.setInterval(1000);
    connect(&m_headerTimer, &QTimer::timeout, this, [this] {
        drain();
        if (!m_stopped && !m_writer.updateHeader())
            Q_EMIT writeFailed(m_writer.error());
    });
}

CaptureWorker::~CaptureWorker()
{
    end();
}

QString CaptureWorker::begin(bool *deviceRefused)
{
    *deviceRefused = false;
    if (m_maxDataLength >= 0)
        m_writer.setMaxDataLength(m_maxDataLength);
    if (!m_writer.open(m_path))
        return m_writer.error();

    QAudioFormat format = recordingFormat();
    if (m_deviceFormat || !m_device.isFormatSupported(format)) {
        // The device's own rate and channels, in a sample type converted here.
        const QAudioFormat preferred = m_device.preferredFormat();
        for (const PcmSampleType type : {PcmSampleType::Float, PcmSampleType::Int16}) {
            QAudioFormat candidate = preferred;
            candidate.setSampleFormat(type == PcmSampleType::Float ? QAudioFormat::Float : QAudioFormat::Int16);
            if (!m_converter && preferred.isValid() && m_device.isFormatSupported(candidate)) {
                m_converter = std::make_unique<PcmConverter>(
                    preferred.sampleRate(), preferred.channelCount(),
                    PcmFormat{RecordingWav::SampleRate, 1, PcmSampleType::Int16}, ResampleQuality::High);
                m_sourceType = type;
                m_sourceChannels = preferred.channelCount();
                format = candidate;
            }
        }
        if (!m_converter || !m_converter->isValid()) {
            m_writer.finish();
            *deviceRefused = true;
            return QStringLiteral("the device offers no usable format");
        }
    }
    m_source = std::make_unique<QAudioSource>(m_device, format);
    // A small buffer: the sound server's default hands a capture out in seconds-long pieces,
    // and what it still holds at the stop would be lost.
    m_source->setBufferSize(format.bytesForDuration(CaptureBufferUs));
    m_input = m_source->start();
    if (!m_input || m_source->error() != QAudio::NoError || m_source->state() == QAudio::StoppedState) {
        qCDebug(lcAudio) << "capture refused:" << m_device.description() << m_source->error();
        m_source.reset();
        m_input = nullptr;
        m_writer.finish();
        *deviceRefused = true;
        return QStringLiteral("the device refused to capture");
    }
    connect(m_input, &QIODevice::readyRead, this, &CaptureWorker::drain);
    m_headerTimer.start();
    qCDebug(lcAudio) << "recording from" << m_device.description() << "in" << format;
    return {};
}

void CaptureWorker::drain()
{
    if (!m_input || m_stopped)
        return;
    const QByteArray captured = m_input->readAll();
    if (!captured.isEmpty())
        store(captured);
}

void CaptureWorker::store(const QByteArray &captured)
{
    QByteArray samples;
    if (m_converter) {
        const std::vector<float> floats = toFloats(captured, m_sourceType);
        m_converter->convert(floats.data(), qint64(floats.size()) / m_sourceChannels, samples);
    } else {
        samples = captured;
    }
    const bool written = m_writer.append(samples);
    m_dataLength.store(m_writer.dataLength());
    if (!written) {
        m_stopped = true;
        Q_EMIT writeFailed(m_writer.error());
    } else if (m_writer.isFull()) {
        m_stopped = true;
        Q_EMIT limitReached();
    }
}

void CaptureWorker::end()
{
    m_headerTimer.stop();
    if (m_source) {
        drain();
        m_source->stop();
        m_source.reset(); // the input device goes with it
        m_input = nullptr;
    }
    if (m_converter && !m_stopped) {
        QByteArray rest;
        m_converter->finish(rest);
        if (!rest.isEmpty())
            m_writer.append(rest);
    }
    m_converter.reset();
    m_stopped = true;
    if (m_writer.isOpen())
        m_writer.finish();
    m_dataLength.store(m_writer.dataLength());
}

} // namespace dpx
