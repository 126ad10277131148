// SPDX-License-Identifier: GPL-3.0-or-later
// The audio benchmarks' source material: five minutes of something like music, and running a
// tool (lame writes the MP3 from it).
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cmath>
#include <vector>

#include <sndfile.h>

namespace dpx::bench {

// Five minutes of a changing chord with a little noise: something like music.
inline bool writeMusic(const QString &path)
{
    const int rate = 44100;
    const int frames = rate * 300;
    SF_INFO info{0, rate, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    std::vector<float> block(2 * 4410);
    double phase[3] = {0, 0, 0};
    quint32 noise = 12345;
    for (int start = 0; start < frames; start += 4410) {
        for (int i = 0; i < 4410; ++i) {
            const double t = double(start + i) / rate;
            const double root = 110.0 * std::pow(2.0, double(int(t * 2) % 12) / 12.0);
            double left = 0;
            for (int n = 0; n < 3; ++n) {
                phase[n] += 2 * M_PI * root * (n + 1) * 1.5 / rate;
                left += 0.2 / (n + 1) * std::sin(phase[n]);
            }
            noise = noise * 1664525u + 1013904223u;
            const double hiss = (double(noise >> 8) / double(1 << 24) - 0.5) * 0.02;
            block[size_t(2 * i)] = float(left + hiss);
            block[size_t(2 * i + 1)] = float(0.8 * left - hiss);
        }
        if (sf_writef_float(file, block.data(), 4410) != 4410) {
            sf_close(file);
            return false;
        }
    }
    return sf_close(file) == 0;
}

inline bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace dpx::bench
