// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAudioSink;

namespace dpx {

class RingStream;

// Plays a ring file once on the first eligible output device (see IsRingDeviceEligible).
// UI thread only. The player shows nothing itself: the one failure the user must hear about
// ("没有找到放音设备") is emitted through messageRequested, for the window to show.
class RingTonePlayer : public QObject {
    Q_OBJECT
  public:
    explicit RingTonePlayer(QObject *parent = nullptr);
    ~RingTonePlayer() override; // stops

    // Picks the device afresh, stops what plays, and starts the file from its beginning.
    // - no eligible output device: emits messageRequested(noRingDeviceMessage()) before
    //   returning false; nothing else plays;
    // - the device refuses the playback: false, no message;
    // - the file is missing or not audio: true, no sound, no message;
    // - otherwise true: the file plays once and the playback is held until Stop or Play.
    bool Play(const QString &path);
    // Tears the playback down and closes the file (so it can be replaced or deleted).
    // Nothing when idle.
    void Stop();

    bool isHoldingPlayback() const { return m_sink != nullptr; }
    // Whether the current playback still has its file open (it closes at the file's end).
    bool holdsFile() const;
    // Device id (the sound server's sink name) of the current playback; empty when idle.
    QByteArray playbackDeviceId() const { return m_deviceId; }
    // Descriptions of the eligible devices found by the last Play, in the system's order.
    QStringList deviceNames() const { return m_deviceNames; }

    // Runs where some audio back ends run the event loop (while an output is torn down), so a
    // test can make any back end behave so.
    void setTeardownHook(std::function<void()> hook) { m_teardownHook = std::move(hook); }

  Q_SIGNALS:
    // A text for the user, to be shown in a message box (OK button, application title).
    void messageRequested(const QString &text);

  private:
    enum class Pending { None, Play, Stop };
    bool startPlayback(const QString &path);
    void teardown();

    bool m_settingUp = false;
    Pending m_pending = Pending::None;
    QString m_pendingPath;
    QStringList m_deviceNames;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<RingStream> m_stream;
    QByteArray m_deviceId;
    std::function<void()> m_teardownHook;
};

} // namespace dpx
