// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window's player and waveform on a 5-minute 44.1 kHz stereo MP3: a seek to 4:00
// up to the first block the output would get (open, seek, the stream's first read) beside a
// bare libsndfile seek and one-block decode, and the whole waveform beside a bare decode of
// the file, medians of 9 in the same run.
#include "BenchMusic.h"
#include "BenchTiming.h"

#include "audio/RingStream.h"
#include "audio/SoundFileReader.h"
#include "audio/Waveform.h"

#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace dpx;

namespace {

constexpr int kRuns = 9;
constexpr qint64 kSeekFrame = 240LL * 44100;
constexpr int kBlockFrames = 4096;

double bareSeek(const QString &path)
{
    return bench::timeMs([&] {
        SF_INFO info{};
        SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
        std::vector<float> block(size_t(kBlockFrames) * size_t(info.channels));
        sf_seek(file, kSeekFrame, SEEK_SET);
        sf_readf_float(file, block.data(), kBlockFrames);
        sf_close(file);
    });
}

double ourSeek(const QString &path)
{
    return bench::timeMs([&] {
        // What SoundFilePlayer does for a seek, short of the output device.
        auto reader = std::make_unique<SoundFileReader>();
        reader->open(path);
        reader->seek(kSeekFrame);
        RingStream stream(std::move(reader), {44100, 2, PcmSampleType::Float});
        stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        std::vector<char> first(size_t(kBlockFrames) * 8);
        stream.read(first.data(), qint64(first.size()));
    });
}

double bareDecode(const QString &path)
{
    return bench::timeMs([&] {
        SF_INFO info{};
        SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
        std::vector<float> block(size_t(8192) * size_t(info.channels));
        while (sf_readf_float(file, block.data(), 8192) > 0) {
        }
        sf_close(file);
    });
}

} // namespace

int main()
{
    if (QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty()) {
        std::puts("bench_seek: needs lame to write its MP3 (tools/bootstrap installs it)");
        return 0;
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("in.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("in.mp3"));
    if (!bench::writeMusic(wav)
        || !bench::run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"), wav, mp3})) {
        std::puts("bench_seek: cannot write the 5-minute MP3");
        return 1;
    }
    QList<double> ours, bare, shape, decode;
    for (int i = 0; i < kRuns; ++i) {
        bare << bareSeek(mp3);
        ours << ourSeek(mp3);
        decode << bareDecode(mp3);
        shape << bench::timeMs([&] { Waveform::compute(mp3, 218); });
    }
    std::printf("5-min 44.1 kHz stereo MP3, medians of %d:\n", kRuns);
    std::printf("  seek to 4:00 and first block: ours %.2f ms, bare libsndfile %.2f ms (ratio %.2f)\n",
                bench::median(ours), bench::median(bare), bench::median(ours) / bench::median(bare));
    std::printf("  whole waveform: ours %.1f ms, bare decode %.1f ms (ratio %.2f)\n", bench::median(shape),
                bench::median(decode), bench::median(shape) / bench::median(decode));
    return 0;
}
