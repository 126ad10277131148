// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

namespace dpx {

class PulseMixer;

// The master output volume: the sound server's default sink (it follows the user's choice
// of default output). Volumes are the server's raw units, 0 ... GetMaxVolume() (100 %).
// Without a server or a default sink every query answers -1 and nothing is changed; no
// message is shown. A server that goes away is looked for again in the background (after
// 1 s, then with growing pauses up to 10 s), so the object recovers when it comes back.
// Use from the thread that owns the object (the UI thread). GetMaxVolume and SetVolume never
// wait for the server (a slider drives them); the other queries are one round trip each,
// bounded by a 2 s timeout.
class MasterOutputVolume : public QObject {
    Q_OBJECT
  public:
    explicit MasterOutputVolume(QObject *parent = nullptr);
    ~MasterOutputVolume() override;

    bool IsVolumeAvailable() const;
    void EnableLine();  // unmutes the default sink
    void DisableLine(); // mutes it
    int GetVolumeSteps() const;
    int GetMinVolume() const; // 0
    int GetMaxVolume() const; // the sink's normal (100 %) volume; -1 while no sink is known
    int GetVolume() const;    // first channel
    // Sets every channel of the known default sink without waiting for the answer; a value
    // outside [GetMinVolume(), GetMaxVolume()] is ignored, and so is any while no sink is known.
    void SetVolume(int value);

  Q_SIGNALS:
    // The default sink's volume (first channel) changed, from any mixer, this program
    // included, or another sink became the default one. Delivered on the object's thread.
    void volumeChanged(int volume);

  private:
    std::unique_ptr<PulseMixer> m_mixer;
};

} // namespace dpx
