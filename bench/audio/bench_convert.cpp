// SPDX-License-Identifier: GPL-3.0-or-later
// Converting 36 s from 2:00 of a 5-minute 44.1 kHz stereo MP3 into the box's format, beside
// the same cut by the sox tool in the same run, and the whole-file way (decode all to WAV,
// convert all, cut). Also the SNR of our output against sox's (no dither), aligned by
// cross-correlation, for the MP3 and its WAV.
#include "BenchMusic.h"
#include "BenchTiming.h"

#include "audio/MuLaw.h"
#include "audio/SegmentConverter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <vector>

#include <sndfile.h>

using namespace dpx;
using dpx::bench::run;
using dpx::bench::writeMusic;

namespace {

constexpr int kRuns = 9;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Match {
    double snr = 0;
    int lag = 0;
};

// The best SNR of `ours` against `reference` over lags of up to 2000 samples (a decoder that keeps
// the encoder delay lags by about 400).
Match compare(const QByteArray &ours, const QByteArray &reference)
{
    std::vector<double> a(size_t(ours.size())), b(size_t(reference.size()));
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = mulaw::decode(quint8(ours[qsizetype(i)]));
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = mulaw::decode(quint8(reference[qsizetype(i)]));
    Match best{-1e9, 0};
    for (int lag = -2000; lag <= 2000; ++lag) {
        double signal = 0, error = 0;
        for (size_t i = 1000; i + 1000 < b.size(); ++i) {
            const qint64 j = qint64(i) + lag;
            if (j < 0 || j >= qint64(a.size()))
                continue;
            signal += b[i] * b[i];
            error += (a[size_t(j)] - b[i]) * (a[size_t(j)] - b[i]);
        }
        const double snr = 10 * std::log10(signal / std::max(error, 1e-9));
        if (snr > best.snr)
            best = {snr, lag};
    }
    return best;
}

} // namespace

int main()
{
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty()) {
        std::puts("bench_convert: needs sox, libsox-fmt-mp3 and lame (tools/bootstrap installs them)");
        return 0;
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("in.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("in.mp3"));
    if (!writeMusic(wav) || !run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"),
                                                          QStringLiteral("192"), wav, mp3})) {
        std::puts("bench_convert: cannot write the 5-minute MP3");
        return 1;
    }
    const QString ours = dir.filePath(QStringLiteral("ours.raw"));
    const QString theirs = dir.filePath(QStringLiteral("sox.raw"));
    const QStringList soxCut{mp3, QStringLiteral("-r"), QStringLiteral("16000"), QStringLiteral("-c"),
                             QStringLiteral("1"), QStringLiteral("-e"), QStringLiteral("u-law"),
                             QStringLiteral("-b"), QStringLiteral("8"), theirs, QStringLiteral("trim"),
                             QStringLiteral("120"), QStringLiteral("36")};
    QList<double> oursMs, soxMs, wholeMs;
    bool ok = true;
    for (int i = 0; i < kRuns; ++i) {
        oursMs << bench::timeMs([&] {
            const auto result = SegmentConverter::convert({mp3, 120, 36.0});
            ok = ok && result.ok() && SegmentConverter::write(ours, result.raw).isEmpty();
        });
        soxMs << bench::timeMs([&] { ok = run(QStringLiteral("sox"), soxCut) && ok; });
    }
    // The whole-file way takes seconds a run: three runs.
    const QString wholeWav = dir.filePath(QStringLiteral("whole.wav"));
    const QString wholeRaw = dir.filePath(QStringLiteral("whole.raw"));
    for (int i = 0; i < 3; ++i)
        wholeMs << bench::timeMs([&] {
            ok = run(QStringLiteral("sox"), {mp3, wholeWav}) && ok;
            ok = run(QStringLiteral("sox"), {wholeWav, QStringLiteral("-r"), QStringLiteral("16000"),
                                             QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-e"),
                                             QStringLiteral("u-law"), QStringLiteral("-b"), QStringLiteral("8"),
                                             wholeRaw}) && ok;
            ok = !readAll(wholeRaw).mid(120 * 16000, 36 * 16000).isEmpty() && ok;
        });
    if (!ok) {
        std::puts("bench_convert: a conversion failed");
        return 1;
    }
    std::printf("36 s from 2:00 of a 5-min 44.1 kHz stereo MP3, medians of %d:\n", kRuns);
    std::printf("  ours %.1f ms, sox trim %.1f ms (ratio %.2f), whole-file way %.1f ms (median of 3, ratio %.3f)\n",
                bench::median(oursMs), bench::median(soxMs), bench::median(oursMs) / bench::median(soxMs),
                bench::median(wholeMs), bench::median(oursMs) / bench::median(wholeMs));

    // Our MP3 segment against our WAV segment of the same sound: the seek's accuracy.
    {
        const Match match = compare(SegmentConverter::convert({mp3, 120, 36.0}).raw,
                                    SegmentConverter::convert({wav, 120, 36.0}).raw);
        std::printf("  ours from the MP3 against ours from the WAV: %.1f dB at a lag of %d samples\n",
                    match.snr, match.lag);
    }
    for (const QString &source : {mp3, wav}) {
        const auto result = SegmentConverter::convert({source, 120, 36.0});
        const QString reference = dir.filePath(QStringLiteral("reference.raw"));
        QStringList arguments{QStringLiteral("-D")};
        arguments << soxCut;
        arguments[1] = source;
        arguments[10] = reference;
        if (!result.ok() || !run(QStringLiteral("sox"), arguments)) {
            std::puts("bench_convert: a reference conversion failed");
            return 1;
        }
        const QByteArray soxRaw = readAll(reference);
        const Match match = compare(result.raw, soxRaw);
        std::printf("  SNR against sox -D, %s source: %.1f dB at a lag of %d samples (%lld vs %lld bytes)\n",
                    source == mp3 ? "MP3" : "WAV", match.snr, match.lag, qlonglong(result.raw.size()),
                    qlonglong(soxRaw.size()));
    }
    return 0;
}
