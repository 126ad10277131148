// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

namespace dpx {

// The default sink of the sound server as the master volume sees it.
struct SinkVolume {
    quint32 index = 0;
    int channels = 0;
    quint32 volume = 0; // first channel
    quint32 steps = 0;
    bool muted = false;
};

// A libpulse connection on its own threaded main loop. Queries are round trips bounded by
// a timeout; a lost server is reconnected in the background with a growing pause. The
// default sink's state is also kept from the change subscription, so that knownDefaultSink()
// and setVolumeNoWait() never wait for the server. The change handler runs on the sound
// server thread whenever the default sink's volume differs from the last one seen (another
// mixer, this program, a different default sink).
class PulseMixer {
  public:
    using VolumeHandler = std::function<void(int volume)>;

    explicit PulseMixer(VolumeHandler onVolumeChanged);
    ~PulseMixer();
    PulseMixer(const PulseMixer &) = delete;
    PulseMixer &operator=(const PulseMixer &) = delete;

    // Nothing when there is no server, no default sink, or the server does not answer.
    std::optional<SinkVolume> defaultSink();
    // The default sink as last heard of, without asking the server; nothing while there is no
    // connection or no default sink.
    std::optional<SinkVolume> knownDefaultSink();
    // Sends the new volume for every channel of the known default sink and returns at once;
    // false when no sink is known (not connected yet, no server).
    bool setVolumeNoWait(quint32 volume);
    bool setMute(bool mute);

    static quint32 normalVolume();

  private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace dpx
