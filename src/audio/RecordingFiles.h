// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace dpx {

// The capture device for recordings among the input devices' descriptions, in the system's
// order: the first holding "ORVAN VKS STD" anywhere (the box's own sound card), else the first
// holding "USB"; -1 when none does.
qsizetype FindUsbSoundCard(const QStringList &descriptions);

// What the header of a WAV file left behind says, as far as it could be read.
struct WavLayout {
    bool valid = false;
    QString problem;          // why it is not valid
    int formatTag = 0;        // 1 for PCM
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    qint64 dataOffset = 0;    // where the samples start
    quint32 declaredDataLength = 0;
};

// Reads the RIFF header and the chunks up to "data" from the start of a file (the whole file
// is not needed: the samples are not looked at). Any bytes are safe.
WavLayout readWavLayout(const QByteArray &head);
// The data length a file of `fileSize` bytes really holds: what follows the header, in whole
// sample frames, within the 32-bit size fields.
qint64 repairedDataLength(const WavLayout &layout, qint64 fileSize);
// Rewrites the size fields of a recording cut short (a crash, a power loss) from the file's
// length and drops a trailing partial frame. The data length through `dataLength`; false
// with `error` when the file is not a PCM WAV file or cannot be written.
bool repairRecording(const QString &path, qint64 *dataLength, QString *error);

// The folder of recordings not yet saved: "<data folder>/unsaved recordings".
QString unsavedRecordingsFolder(const QString &dataFolder);
// A recording's time-stamped name without extension: year, month, day, hour, minute, second.
QString recordingStamp(const QDateTime &when);
// The WAV files in the unsaved folder, oldest name first.
QStringList unsavedRecordings(const QString &dataFolder);
// Moves a finished recording to `target`: a rename on one file system, else a copy into a
// temporary file beside the target that replaces it only once complete, then the source goes.
// An existing target is replaced only by a complete file. False with `error`; the source is
// then kept.
bool moveRecording(const QString &source, const QString &target, QString *error);

} // namespace dpx
