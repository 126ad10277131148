// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers: sound files written with libsndfile, the test services' PulseAudio daemon seen
// through pactl, and this process's open files.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>
#include <vector>

#include <sndfile.h>

#include "../support/TestFiles.h"

namespace dpx::test {

// A 440 Hz sine tone of `seconds` at amplitude 0.1, written in the given libsndfile format.
inline bool writeTone(const QString &path, double seconds, int rate, int channels,
                      int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16)
{
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = sf_count_t(seconds * rate);
    std::vector<float> samples(size_t(frames) * size_t(channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.1f * float(std::sin(2 * M_PI * 440 * double(i / size_t(channels)) / rate));
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

// Runs pactl; nullopt when it failed or is missing.
inline std::optional<QByteArray> pactl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// Why the test services' daemon cannot be used, or empty when it can. Any other server would
// be the desktop's own: the tests would ring on it and change its volume.
inline QString whyNoTestServer()
{
    if (!qEnvironmentVariableIsEmpty("DPX_TEST_RUNTIME") && pactl({QStringLiteral("info")}))
        return {};
    return QStringLiteral("no private PulseAudio daemon answers: run ./test, or source "
                          "tools/test-services and start_test_services");
}

struct SinkInput {
    int index = -1;
    QString sinkName;
};

// The playback streams this test process holds, with the name of the sink each plays on.
inline QList<SinkInput> ownSinkInputs()
{
    const auto list = [](const char *what) {
        const auto out = pactl({"-f", "json", "list", QString::fromLatin1(what)});
        return out ? QJsonDocument::fromJson(*out).array() : QJsonArray();
    };
    QHash<int, QString> sinkNames;
    for (const QJsonValue &sink : list("sinks"))
        sinkNames.insert(sink["index"].toInt(), sink["name"].toString());
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QList<SinkInput> own;
    for (const QJsonValue &input : list("sink-inputs"))
        if (input["properties"]["application.process.id"].toString() == pid)
            own.append({input["index"].toInt(), sinkNames.value(input["sink"].toInt())});
    return own;
}

// How many file descriptors this process holds open, or how many of them on `path`.
inline int openFileCount(const QString &path = {})
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    const QString wanted = QFileInfo(path).canonicalFilePath();
    int count = 0;
    for (const QString &fd :
         fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::Dirs))
        count += path.isEmpty() ||
                 (!wanted.isEmpty() && QFile::symLinkTarget(fds.filePath(fd)) == wanted);
    return count;
}

} // namespace dpx::test

// Skips the test, saying why, when the test services' daemon is not there.
#define REQUIRE_TEST_SERVER()                                                                      \
    if (const QString why = dpx::test::whyNoTestServer(); !why.isEmpty())                          \
    QSKIP(qPrintable(why))
