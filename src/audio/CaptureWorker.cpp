// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CaptureWorker.h"

#include "audio/AudioLog.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QtEndian>

#include <optional>
#include <vector>

namespace dpx {

namespace {

std::optional<PcmSampleType> sampleTypeOf(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return PcmSampleType::UInt8;
    case QAudioFormat::Int16:
        return PcmSampleType::Int16;
    case QAudioFormat::Int32:
        return PcmSampleType::Int32;
    case QAudioFormat::Float:
        return PcmSampleType::Float;
    default:
        return std::nullopt;
    }
}

// Samples of a device's own format as floats in [-1, 1].
std::vector<float> toFloats(const QByteArray &bytes, PcmSampleType type)
{
    const int width = PcmFormat{1, 1, type}.bytesPerSample();
    const qsizetype count = bytes.size() / width;
    std::vector<float> out(static_cast<size_t>(count));
    const char *p = bytes.constData();
    for (qsizetype i = 0; i < count; ++i, p += width) {
        switch (type) {
        case PcmSampleType::UInt8:
            out[size_t(i)] = (float(quint8(*p)) - 128.0f) / 128.0f;
            break;
        case PcmSampleType::Int16:
            out[size_t(i)] = float(qFromLittleEndian<qint16>(p)) / 32768.0f;
            break;
        case PcmSampleType::Int32:
            out[size_t(i)] = float(double(qFromLittleEndian<qint32>(p)) / 2147483648.0);
            break;
        default:
            out[size_t(i)] = qFromLittleEndian<float>(p);
            break;
        }
    }
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
                             qint64 maxDataLength)
    : m_device(std::move(device)), m_path(std::move(path)), m_dataLength(dataLength),
      m_maxDataLength(maxDataLength)
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
    if (!m_device.isFormatSupported(format)) {
        format = m_device.preferredFormat();
        const std::optional<PcmSampleType> type = sampleTypeOf(format.sampleFormat());
        if (type && format.isValid())
            m_converter = std::make_unique<PcmConverter>(
                format.sampleRate(), format.channelCount(),
                PcmFormat{RecordingWav::SampleRate, 1, PcmSampleType::Int16}, ResampleQuality::High);
        if (!m_converter || !m_converter->isValid()) {
            m_writer.finish();
            *deviceRefused = true;
            return QStringLiteral("the device offers no usable format");
        }
        m_sourceType = *type;
        m_sourceChannels = format.channelCount();
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
