// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/ConvertJob.h"
#include "audio/SegmentCapture.h"
#include "audio/Waveform.h"

#include <QFutureWatcher>

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QMimeData;
class QListWidget;
class QTimer;

namespace dpx {

class ImageButton;
class MasterOutputVolume;
class SegmentPreview;
class SoundFilePlayer;
class WaveformSlider;

// A small player for WAV and MP3 files that cuts a part of the playing file into the box's
// raw format: the convert button marks the start, a second press (the 36 s limit, or anything
// that ends the playback) the stop; then the target is asked for and the part is converted
// on a worker. The list is kept in "MPlayer.mdr" in the data folder, saved after each change.
class AudioConverterWindow : public QWidget {
    Q_OBJECT
public:
    struct Services {
        QString dataFolder;
        MasterOutputVolume *volume = nullptr; // the main window's, shared
        std::function<void(const QString &)> showStatus;
        std::function<void(const QString &)> showMessage;
        // Asks a yes/no question (ConfirmDialog unless a script answers).
        std::function<bool(const QString &)> confirm;
    };

    static constexpr QPoint DockOffset{501, 30};
    static constexpr QSize FullSize{249, 283};
    static constexpr QSize ShortSize{249, 88};

    explicit AudioConverterWindow(Services services, QWidget *parent = nullptr);
    ~AudioConverterWindow() override;

    // The buttons' actions, also for scripts and tests.
    bool openFiles(); // replaces the list; false when cancelled
    void addFiles();
    void addPaths(const QStringList &paths);
    void deleteSelected();
    void play();
    void playRow(int row);
    void pauseOrResume();
    void stop();
    void seekToPercent(int percent);
    void volumeDown();
    void volumeUp();
    void convertPressed();
    void toggleList();
    // The waveform's menu: the last captured part played as the box will play it, or
    // converted again (after a cancelled save, say).
    void previewSegment();
    void convertAgain();
    const std::optional<SegmentRequest> &lastSegment() const { return m_lastSegment; }
    SegmentPreview *preview() const { return m_preview; }

    QStringList paths() const;
    QString listFile() const;
    SoundFilePlayer *player() const { return m_player; }
    const SegmentCapture &capture() const { return m_capture; }
    QString timeText() const;
    int sliderPosition() const;
    WaveformSlider *slider() const { return m_slider; }
    QListWidget *list() const { return m_list; }
    ImageButton *convertButton() const { return m_convert; }
    bool isListShown() const { return m_listShown; }
    // The running conversion, if any (tests wait for it).
    ConvertJob *conversion() const { return m_job; }

    static QString title();
    // The WAV and MP3 files among dropped data.
    static QStringList droppableFiles(const QMimeData *data);

Q_SIGNALS:
    // A conversion ended: the bytes written, or -1 after a failure.
    void conversionFinished(qint64 bytes);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap titledBackground() const;
    ImageButton *makeButton(const char *id, QRect place, const char *tipSource);
    void setTip(ImageButton *button, const char *source); // a tool tip that follows the language
    void setTransportEnabled(bool on);
    void saveList();
    void showTime(const QString &text);
    void onTick();
    void onPlaybackFinished();
    // Ends a running capture at `positionUs` and goes on to the save flow.
    void endCapture(qint64 positionUs, bool reachedEnd);
    void showCaptureButton(bool capturing);
    void saveSegment(const SegmentRequest &segment);
    void updateListTip();
    void startWaveform(const QString &path);
    void showMarks(qint64 stopUs);
    void showSliderMenu(const QPoint &position);
    void onMarksDragged(double from, double to);
    void stepVolume(int (*step)(int current, int minimum, int maximum));
    void message(const QString &text);
    void status(const QString &text);

    Services m_services;
    QPixmap m_background;
    SoundFilePlayer *m_player = nullptr;
    SegmentCapture m_capture;
    QTimer *m_tick = nullptr;
    QTimer *m_captureLimit = nullptr;
    QLabel *m_time = nullptr;
    WaveformSlider *m_slider = nullptr;
    QFutureWatcher<Waveform> m_waveformWatcher;
    std::shared_ptr<std::atomic_bool> m_waveformCancel;
    QString m_waveformFile;
    QListWidget *m_list = nullptr;
    ImageButton *m_toggle = nullptr;
    ImageButton *m_convert = nullptr;
    QList<QWidget *> m_transport;
    QPointer<ConvertJob> m_job;
    std::optional<SegmentRequest> m_lastSegment; // the marks
    qint64 m_markedLengthUs = 0;                 // of the file the marks are in
    SegmentPreview *m_preview = nullptr;
    QFutureWatcher<SegmentConverter::Result> m_previewWatcher;
    QString m_saveFolder;
    bool m_listShown = true;
    QPoint m_dragOffset;
};

} // namespace dpx
