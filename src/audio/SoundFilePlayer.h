// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QAudioSink;

namespace dpx {

class RingStream;

// Plays one sound file on the default output with our own decoder, so positions are frames of
// the same decode that the converter cuts. A seek opens the file at the wanted frame and
// starts a fresh stream there: the sink never plays audio buffered before the seek. The
// position is the sink's processed time plus the frame the stream started at; the end is the
// decoder's end (a header's length may be an estimate). UI thread only.
class SoundFilePlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundFilePlayer(QObject *parent = nullptr);
    ~SoundFilePlayer() override;

    // Stops what plays and starts `path` from its beginning; false (nothing plays) when the
    // file is not audio, no output exists or the output refuses it.
    bool play(const QString &path);
    // Continues from `us` microseconds into the file (clamped to its length); false when not
    // playing or the file cannot be read from there (the playback then stops).
    bool seekTo(qint64 us);
    void pause();
    void resume();
    // Tears the playback down and closes the file. Nothing when idle.
    void stop();

    bool isPlaying() const { return m_sink != nullptr; }
    bool isPaused() const { return m_paused; }
    QString file() const { return m_file; }
    // While playing: where the output is; after the end or a lost output: where it stopped,
    // until the next play() or stop().
    qint64 positionUs() const;
    // The length the file's header tells, -1 when unknown.
    qint64 lengthUs() const { return m_lengthUs; }
    QByteArray deviceId() const { return m_deviceId; }

Q_SIGNALS:
    // The whole file has been played; the playback has stopped already.
    void finished();
    // The output failed (a device that went away): the playback has stopped already.
    void interrupted();

private:
    bool startAt(qint64 frame);
    void teardown();
    void onStateChanged();

    QString m_file;
    int m_rate = 0;
    qint64 m_lengthUs = -1;
    qint64 m_baseUs = 0;
    qint64 m_heldUs = 0; // the position kept once the output is gone
    bool m_paused = false;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<RingStream> m_stream;
    QByteArray m_deviceId;
};

} // namespace dpx
