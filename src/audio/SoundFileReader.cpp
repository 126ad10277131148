// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SoundFileReader.h"

#include "audio/AudioLog.h"

#include <QFile>

#include <algorithm>

#include <sndfile.h>

namespace dpx {

SoundFileReader::~SoundFileReader()
{
    close();
}

bool SoundFileReader::open(const QString &path)
{
    close();
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) {
        qCDebug(lcAudio) << "not readable as audio:" << path << sf_strerror(nullptr);
        return false;
    }
    // Headers are untrusted: refuse shapes no playback path could carry.
    if (info.channels < 1 || info.channels > maxChannels || info.samplerate < 1 ||
        info.samplerate > 768000) {
        qCDebug(lcAudio) << "unusable audio shape:" << path << info.channels << info.samplerate;
        sf_close(file);
        return false;
    }
    m_file = file;
    m_channels = info.channels;
    m_sampleRate = info.samplerate;
    m_framesLeft = info.frames >= 0 && info.frames < SF_COUNT_MAX ? qint64(info.frames) : -1;
    m_totalFrames = m_framesLeft;
    m_position = 0;
    return true;
}

void SoundFileReader::close()
{
    if (m_file)
        sf_close(m_file);
    m_file = nullptr;
    m_channels = 0;
    m_sampleRate = 0;
    m_framesLeft = -1;
    m_totalFrames = -1;
    m_position = 0;
}

bool SoundFileReader::seek(qint64 frame)
{
    if (!m_file || frame < 0 || (m_totalFrames >= 0 && frame > m_totalFrames))
        return false;
    if (sf_seek(m_file, frame, SEEK_SET) != frame) {
        qCDebug(lcAudio) << "seek refused at frame" << frame << sf_strerror(m_file);
        return false;
    }
    m_position = frame;
    if (m_totalFrames >= 0)
        m_framesLeft = m_totalFrames - frame;
    return true;
}

qint64 SoundFileReader::read(float *interleaved, qint64 frames)
{
    if (!m_file || frames <= 0)
        return 0;
    const sf_count_t got = std::max<sf_count_t>(sf_readf_float(m_file, interleaved, frames), 0);
    m_position += got;
    if (m_framesLeft >= 0)
        m_framesLeft = std::max<qint64>(m_framesLeft - got, 0);
    return got;
}

} // namespace dpx
