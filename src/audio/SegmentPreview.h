// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QObject>

#include <memory>

class QAudioSink;

namespace dpx {

// Plays a converted part as the box will: its mu-law bytes decoded to 16-bit samples at
// 16 kHz, mono, on the default output. A new preview replaces the one playing. UI thread.
class SegmentPreview : public QObject {
    Q_OBJECT
public:
    explicit SegmentPreview(QObject *parent = nullptr);
    ~SegmentPreview() override;

    // False when there is no output or it refuses the format.
    bool play(const QByteArray &muLaw);
    void stop();
    bool isPlaying() const { return m_sink != nullptr; }

private:
    QByteArray m_pcm;
    QBuffer m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace dpx
