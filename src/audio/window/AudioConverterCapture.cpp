// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window's capture: the convert button's two presses, the 36 s limit, and the
// save flow that converts the marked part on a worker.
#include "audio/window/AudioConverterWindow.h"

#include "audio/SegmentPreview.h"
#include "audio/SoundFilePlayer.h"
#include "audio/window/WaveformSlider.h"
#include "ui/ConfirmDialog.h"
#include "ui/FileChooser.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QtConcurrent/QtConcurrentRun>
#include <QTimer>

namespace dpx {

namespace {
constexpr int ConvertBitmap = 153;
constexpr int StopConvertBitmap = 154;
} // namespace

void AudioConverterWindow::showCaptureButton(bool capturing)
{
    m_convert->LoadImages(capturing ? StopConvertBitmap : ConvertBitmap, QColor(Qt::black));
    setTip(m_convert, capturing ? QT_TR_NOOP("停止轉換") : QT_TR_NOOP("轉換"));
}

void AudioConverterWindow::convertPressed()
{
    if (m_capture.isCapturing()) {
        endCapture(m_player->positionUs(), false);
        return;
    }
    if (!m_player->isPlaying() || m_job)
        return;
    showCaptureButton(true);
    status(tr("轉換音檔...."));
    m_capture.start(m_player->file(), m_player->positionUs());
    m_captureLimit->start();
    showMarks(m_capture.startUs());
}

void AudioConverterWindow::endCapture(qint64 positionUs, bool reachedEnd)
{
    if (!m_capture.isCapturing())
        return;
    m_captureLimit->stop();
    showMarks(positionUs);
    showCaptureButton(false);
    const SegmentCapture::Outcome outcome = m_capture.finish(positionUs, reachedEnd);
    status(QString());
    if (!outcome.segment) {
        message(outcome.error);
        return;
    }
    m_lastSegment = outcome.segment;
    // The marks show the part converted (clamped) and may be dragged afterwards.
    m_markedLengthUs = m_player->lengthUs();
    if (m_markedLengthUs > 0) {
        const double length = double(m_markedLengthUs) / 1e6;
        const double from = m_lastSegment->startSeconds / length;
        m_slider->setMarks(from, m_lastSegment->lengthSeconds ? from + *m_lastSegment->lengthSeconds / length : 1.0);
        m_slider->setMarksDraggable(SegmentConverter::maxSeconds / length);
    }
    saveSegment(*outcome.segment);
}

void AudioConverterWindow::saveSegment(const SegmentRequest &segment)
{
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.directory = m_saveFolder;
    // "(*)" last: the file dialog takes the last parentheses as the patterns, and "*.*" alone
    // would hide names without a dot.
    request.filters = {tr("Windows Audio Files (*.raw)"), tr("All Files(*.*) (*)")};
    request.defaultSuffix = QStringLiteral("raw");
    QString target;
    for (;;) {
        const QStringList chosen = chooseFiles(this, request);
        if (chosen.isEmpty())
            return;
        target = chosen.first();
        const QString name = QFileInfo(target).completeBaseName();
        if (name.compare(QLatin1String("temp"), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String("temp2"), Qt::CaseInsensitive) == 0) {
            message(tr("這個音檔正在被使用.\n 請另取個名字!"));
            continue;
        }
        break;
    }
    if (QFileInfo::exists(target)) {
        const QString question = tr("這個音檔已經存在. \n 你想覆蓋這個音檔嗎?");
        if (!(m_services.confirm ? m_services.confirm(question) : ConfirmDialog::ask(this, question)))
            return;
    }
    m_saveFolder = QFileInfo(target).absolutePath();
    auto *job = new ConvertJob(segment, target, this);
    m_job = job;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    connect(job, &Job::finished, this, [this, job](int code, const QString &result) {
        QApplication::restoreOverrideCursor();
        job->deleteLater();
        if (code != Job::Done)
            message(ConvertJob::failureText());
        Q_EMIT conversionFinished(code == Job::Done ? result.toLongLong() : -1);
    });
    job->start();
}

void AudioConverterWindow::showSliderMenu(const QPoint &position)
{
    QMenu menu(this);
    const bool ready = m_lastSegment && !m_capture.isCapturing() && !m_job;
    menu.addAction(tr("試聽選取部分"), this, &AudioConverterWindow::previewSegment)->setEnabled(ready);
    menu.addAction(tr("轉換選取部分..."), this, &AudioConverterWindow::convertAgain)->setEnabled(ready);
    menu.exec(m_slider->mapToGlobal(position));
}

void AudioConverterWindow::previewSegment()
{
    if (!m_lastSegment || m_previewWatcher.isRunning())
        return;
    if (!m_preview) {
        m_preview = new SegmentPreview(this);
        connect(&m_previewWatcher, &QFutureWatcher<SegmentConverter::Result>::finished, this, [this] {
            const SegmentConverter::Result result = m_previewWatcher.result();
            if (!result.ok() || !m_preview->play(result.raw))
                message(ConvertJob::failureText());
        });
    }
    m_player->pause(); // one sound at a time
    m_previewWatcher.setFuture(QtConcurrent::run(SegmentConverter::convert, *m_lastSegment));
}

void AudioConverterWindow::onMarksDragged(double from, double to)
{
    if (!m_lastSegment || m_markedLengthUs <= 0)
        return;
    const double length = double(m_markedLengthUs) / 1e6;
    m_lastSegment->startSeconds = from * length;
    // Up to the end: the decoder's end, which a header's length only estimates.
    if (to >= 1.0)
        m_lastSegment->lengthSeconds.reset();
    else
        m_lastSegment->lengthSeconds = std::min((to - from) * length, SegmentConverter::maxSeconds);
}

void AudioConverterWindow::convertAgain()
{
    if (m_lastSegment && !m_capture.isCapturing() && !m_job)
        saveSegment(*m_lastSegment);
}

} // namespace dpx
