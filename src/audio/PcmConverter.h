// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

struct soxr;

namespace dpx {

// MuLaw: the box's 8-bit G.711 mu-law (see MuLaw.h); no output device takes it.
enum class PcmSampleType { UInt8, Int16, Int32, Float, MuLaw };

// libsoxr's quality: Medium for playback, High where the result is kept (Low and Quick alias
// audibly when a file is brought down to 16 kHz).
enum class ResampleQuality { Medium, High };

// An interleaved PCM layout an output device takes.
struct PcmFormat {
    int sampleRate = 0;
    int channels = 0;
    PcmSampleType sampleType = PcmSampleType::Float;

    int bytesPerSample() const;
    int bytesPerFrame() const { return bytesPerSample() * channels; }
    bool isValid() const { return sampleRate > 0 && channels > 0; }
    bool operator==(const PcmFormat &other) const = default;
};

// Turns decoded float frames into a device's format: channels are mapped simply (mono is
// copied to every channel, a mono target gets the mean, otherwise channel i takes source
// channel i modulo the source count), the rate is changed with libsoxr when it differs, and
// samples are clipped to [-1, 1] and written in the target's sample type.
class PcmConverter {
  public:
    PcmConverter(int sourceRate, int sourceChannels, const PcmFormat &target,
                 ResampleQuality quality = ResampleQuality::Medium);
    ~PcmConverter();
    PcmConverter(const PcmConverter &) = delete;
    PcmConverter &operator=(const PcmConverter &) = delete;

    // False when the shapes are unusable or the resampler could not be made.
    bool isValid() const { return m_valid; }
    const PcmFormat &target() const { return m_target; }

    // Appends the converted form of `frames` interleaved source frames to `out`
    // (whole target frames only).
    void convert(const float *interleaved, qint64 frames, QByteArray &out);
    // End of input: appends what the resampler still holds.
    void finish(QByteArray &out);

  private:
    void resampleAndStore(const float *mapped, qint64 frames, bool last, QByteArray &out);
    void store(const float *samples, qint64 frames, QByteArray &out) const;

    int m_sourceRate;
    int m_sourceChannels;
    PcmFormat m_target;
    struct soxr *m_resampler = nullptr;
    bool m_valid = false;
};

} // namespace dpx
