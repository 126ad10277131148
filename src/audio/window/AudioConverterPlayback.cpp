// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window's player side: play, pause, stop, seek, the time display, the
// waveform and the volume buttons.
#include "audio/window/AudioConverterWindow.h"

#include "audio/MasterOutputVolume.h"
#include "audio/SoundFilePlayer.h"
#include "audio/VolumeSteps.h"
#include "audio/window/WaveformSlider.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace dpx {

namespace {
QString clockText(const char *format, qint64 us)
{
    const qint64 seconds = std::max<qint64>(us, 0) / 1000000;
    return QString::asprintf(format, int(seconds / 60), int(seconds % 60));
}
} // namespace

void AudioConverterWindow::play()
{
    if (m_list->count() == 0 && !openFiles())
        return;
    // The entry with the focus, the first when none was ever clicked.
    playRow(std::max(m_list->currentRow(), 0));
}

void AudioConverterWindow::playRow(int row)
{
    if (row < 0 || row >= m_list->count())
        return;
    stop(); // ends a capture of the file playing so far
    m_list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    QListWidgetItem *item = m_list->item(row);
    const QString path = QDir::fromNativeSeparators(item->text());
    if (!m_player->play(path)) {
        // Unplayable: the entry is greyed and says why; no message box.
        item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        item->setToolTip(QFileInfo(path).isFile() ? tr("這個音檔無法播放") : tr("找不到這個音檔"));
        return;
    }
    item->setForeground(QBrush());
    item->setToolTip(QString());
    setTransportEnabled(true);
    m_slider->SetRange(0, 100);
    m_slider->SetPos(0);
    m_slider->clearMarks();
    m_slider->setMarksDraggable(0);
    m_lastSegment.reset(); // marks belong to the file they were made in
    m_tick->start();
    startWaveform(path);
}

void AudioConverterWindow::startWaveform(const QString &path)
{
    if (m_waveformCancel)
        m_waveformCancel->store(true);
    m_slider->setWaveform({});
    m_waveformFile = path;
    m_waveformCancel = std::make_shared<std::atomic_bool>(false);
    m_waveformWatcher.setFuture(QtConcurrent::run(
        [path, columns = m_slider->columns(), cancel = m_waveformCancel] {
            return Waveform::compute(path, columns, cancel.get());
        }));
}

void AudioConverterWindow::showMarks(qint64 stopUs)
{
    const double length = double(m_player->lengthUs());
    if (!m_capture.isCapturing() || length <= 0)
        return;
    m_slider->setMarks(double(m_capture.startUs()) / length, double(stopUs) / length);
}

void AudioConverterWindow::onTick()
{
    if (!m_player->isPlaying()) {
        m_tick->stop();
        return;
    }
    const qint64 position = m_player->positionUs();
    const qint64 length = m_player->lengthUs();
    // The header's length may be an estimate: the end is the decoder's, so the slider stays
    // short of the end here.
    if (length > 0)
        m_slider->SetPos(int(std::min<qint64>(position * 100 / length, 99)));
    showTime(clockText("Play %02d:%02d", position));
    showMarks(position);
}

void AudioConverterWindow::seekToPercent(int percent)
{
    if (!m_player->isPlaying()) {
        m_slider->SetPos(0);
        return;
    }
    const qint64 length = std::max<qint64>(m_player->lengthUs(), 0);
    if (!m_player->seekTo(length * std::clamp(percent, 0, 100) / 100)) {
        stop();
        return;
    }
    showTime(clockText("%02d:%02d", m_player->positionUs()));
}

void AudioConverterWindow::pauseOrResume()
{
    if (!m_player->isPlaying())
        return;
    if (m_player->isPaused()) {
        m_player->resume();
        m_tick->start();
    } else {
        m_player->pause();
        m_tick->stop();
    }
}

void AudioConverterWindow::stop()
{
    if (m_capture.isCapturing())
        endCapture(m_player->positionUs(), false);
    const bool wasPlaying = m_player->isPlaying() || !m_player->file().isEmpty();
    m_tick->stop();
    m_player->stop();
    if (wasPlaying) {
        m_slider->SetPos(0); // the waveform and the marks stay for the menu
        showTime(clockText("Play %02d:%02d", 0));
    }
}

void AudioConverterWindow::onPlaybackFinished()
{
    if (m_capture.isCapturing())
        endCapture(m_player->positionUs(), true);
    stop();
}

void AudioConverterWindow::volumeDown()
{
    stepVolume(VolumeSteps::down);
}

void AudioConverterWindow::volumeUp()
{
    stepVolume(VolumeSteps::up);
}

void AudioConverterWindow::stepVolume(int (*step)(int current, int minimum, int maximum))
{
    MasterOutputVolume *volume = m_services.volume;
    if (!volume || volume->GetMaxVolume() <= 0)
        return; // no sound server or no default output: the buttons do nothing
    const int current = volume->GetVolume();
    const int next = step(current, volume->GetMinVolume(), volume->GetMaxVolume());
    if (next != current)
        volume->SetVolume(next);
}

} // namespace dpx
