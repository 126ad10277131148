// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MasterOutputVolume.h"

#include "audio/PulseMixer.h"

#include <QMetaObject>

namespace dpx {

MasterOutputVolume::MasterOutputVolume(QObject *parent) : QObject(parent)
{
    // The handler runs on the sound server's thread; the queued call brings the news to the
    // object's own thread and is dropped with the object if it is gone by then.
    m_mixer = std::make_unique<PulseMixer>([this](int volume) {
        QMetaObject::invokeMethod(
            this, [this, volume] { Q_EMIT volumeChanged(volume); }, Qt::QueuedConnection);
    });
}

// The mixer's thread ends here, before QObject drops the calls still queued for us.
MasterOutputVolume::~MasterOutputVolume() = default;

bool MasterOutputVolume::IsVolumeAvailable() const
{
    return m_mixer->defaultSink().has_value();
}

void MasterOutputVolume::EnableLine()
{
    m_mixer->setMute(false);
}

void MasterOutputVolume::DisableLine()
{
    m_mixer->setMute(true);
}

int MasterOutputVolume::GetVolumeSteps() const
{
    const auto sink = m_mixer->defaultSink();
    return sink ? int(sink->steps) : -1;
}

int MasterOutputVolume::GetMinVolume() const
{
    return m_mixer->defaultSink() ? 0 : -1;
}

int MasterOutputVolume::GetMaxVolume() const
{
    // A constant of the server: no need to ask it.
    return m_mixer->knownDefaultSink() ? int(PulseMixer::normalVolume()) : -1;
}

int MasterOutputVolume::GetVolume() const
{
    const auto sink = m_mixer->defaultSink();
    return sink ? int(sink->volume) : -1;
}

void MasterOutputVolume::SetVolume(int value)
{
    if (value < 0 || quint32(value) > PulseMixer::normalVolume())
        return;
    m_mixer->setVolumeNoWait(quint32(value));
}

} // namespace dpx
