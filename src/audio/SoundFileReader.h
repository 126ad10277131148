// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

struct sf_private_tag;

namespace dpx {

// Reads an audio file that libsndfile understands (WAV, MP3, FLAC, Ogg, AIFF, ...) as
// interleaved float frames in [-1, 1]. Owns the open file until close() or destruction.
class SoundFileReader {
  public:
    SoundFileReader() = default;
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader &) = delete;
    SoundFileReader &operator=(const SoundFileReader &) = delete;

    // False when the file is missing, unreadable or not audio (nothing stays open then).
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_file != nullptr; }

    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }
    // Frames not read yet as the header tells them (an estimate for some formats), or -1.
    qint64 framesLeft() const { return m_framesLeft; }
    // All frames as the header tells them (an estimate for some formats), or -1.
    qint64 totalFrames() const { return m_totalFrames; }
    // The frame the next read() starts at.
    qint64 position() const { return m_position; }

    // Moves to `frame` (0..totalFrames()); false when the file cannot seek there.
    bool seek(qint64 frame);

    // Reads up to `frames` frames into `interleaved` (frames * channels() floats).
    // Returns the frames read; 0 at the end of the file, on a read error or when closed.
    qint64 read(float *interleaved, qint64 frames);

    static constexpr int maxChannels = 32;

  private:
    ::sf_private_tag *m_file = nullptr;
    int m_channels = 0;
    int m_sampleRate = 0;
    qint64 m_framesLeft = -1;
    qint64 m_totalFrames = -1;
    qint64 m_position = 0;
};

} // namespace dpx
