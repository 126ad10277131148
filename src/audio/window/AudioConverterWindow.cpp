// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/window/AudioConverterWindow.h"

#include "audio/ConvertJob.h"
#include "audio/MediaListFile.h"
#include "audio/SoundFilePlayer.h"
#include "audio/window/WaveformSlider.h"
#include "ui/Art.h"
#include "ui/FileChooser.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTimer>

namespace dpx {

namespace {
constexpr int BackgroundBitmap = 138;
constexpr char TipSourceProperty[] = "dpxTipSource";
constexpr int ShowListBitmap = 142;
constexpr int HideListBitmap = 143;
} // namespace

QString AudioConverterWindow::title()
{
    return tr(" 音檔轉換器 ");
}

AudioConverterWindow::AudioConverterWindow(Services services, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_services(std::move(services))
    , m_saveFolder(m_services.dataFolder)
{
    setObjectName(QStringLiteral("converter"));
    setWindowTitle(title());
    m_background = titledBackground();
    setFixedSize(FullSize);

    makeButton("1011", {1, 1, 26, 10}, QT_TR_NOOP("音檔轉換器"))->hide();
    ImageButton *close = makeButton("2", {240, 1, 8, 9}, QT_TR_NOOP("關閉"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    ImageButton *minimise = makeButton("1023", {218, 1, 10, 9}, QT_TR_NOOP("最小化"));
    minimise->hide();
    connect(minimise, &QPushButton::clicked, this, &QWidget::showMinimized);

    m_time = new QLabel(QString(15, QLatin1Char(' ')), this);
    m_time->setObjectName(QStringLiteral("1021"));
    m_time->setGeometry(5, 17, 60, 20);
    m_time->setAlignment(Qt::AlignCenter);
    QFont clock(QStringLiteral("DejaVu Sans Mono"));
    clock.setPixelSize(10);
    clock.setStretch(88); // "Play 00:00" fits the 60-pixel display
    clock.setBold(true);
    m_time->setFont(clock);
    m_time->setStyleSheet(QStringLiteral("color: rgb(120, 236, 160); background: transparent;"));

    m_slider = new WaveformSlider(1012, this);
    m_slider->setObjectName(QStringLiteral("1012"));
    m_slider->move(15, 42);
    // The channel in its two colours: the played part (244, 166, 143), the rest (216, 226, 253).
    m_slider->SetBitmapChannel(QStringLiteral("converter-slider"), QStringLiteral("converter-slider-lit"));
    m_slider->SetBitmapThumb(QStringLiteral("converter-thumb"), QString(), true);
    m_slider->resize(227, 16);
    m_slider->SetRange(0, 100);
    m_slider->SetDrawFocusRect(false, false);
    m_slider->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_slider, &QWidget::customContextMenuRequested, this, &AudioConverterWindow::showSliderMenu);
    connect(m_slider, &WaveformSlider::marksDragged, this, &AudioConverterWindow::onMarksDragged);
    connect(m_slider, &BitmapSlider::sliderReleased, this,
            [this](int, int position) { seekToPercent(position); });

    m_toggle = makeButton("1013", {4, 65, 10, 10}, QT_TR_NOOP("隱藏文檔列表"));
    m_toggle->LoadImages(HideListBitmap, QColor(Qt::black));
    m_toggle->SetDrawBorder(false);
    m_toggle->SetStateColor(ImageButton::BackIdle, palette().color(QPalette::Button));
    m_toggle->SetStateColor(ImageButton::BackFocus, palette().color(QPalette::Button));
    m_toggle->SetStateColor(ImageButton::BackHot, QColor(0, 12, 253));
    connect(m_toggle, &QPushButton::clicked, this, &AudioConverterWindow::toggleList);

    connect(makeButton("1014", {17, 64, 18, 12}, QT_TR_NOOP("打開文檔")), &QPushButton::clicked, this,
            &AudioConverterWindow::openFiles);
    ImageButton *playButton = makeButton("1015", {37, 57, 25, 25}, QT_TR_NOOP("播放"));
    connect(playButton, &QPushButton::clicked, this, &AudioConverterWindow::play);
    ImageButton *pause = makeButton("1016", {64, 63, 18, 12}, QT_TR_NOOP("暫停"));
    connect(pause, &QPushButton::clicked, this, &AudioConverterWindow::pauseOrResume);
    ImageButton *stopButton = makeButton("1017", {87, 63, 18, 12}, QT_TR_NOOP("停止"));
    connect(stopButton, &QPushButton::clicked, this, &AudioConverterWindow::stop);
    ImageButton *down = makeButton("1024", {156, 63, 29, 14}, QT_TR_NOOP("減小音量"));
    connect(down, &QPushButton::clicked, this, &AudioConverterWindow::volumeDown);
    ImageButton *up = makeButton("1025", {188, 63, 29, 14}, QT_TR_NOOP("增加音量"));
    connect(up, &QPushButton::clicked, this, &AudioConverterWindow::volumeUp);
    m_convert = makeButton("1026", {225, 61, 18, 18}, QT_TR_NOOP("音檔轉換"));
    connect(m_convert, &QPushButton::clicked, this, &AudioConverterWindow::convertPressed);
    m_transport = {playButton, pause, stopButton, down, up, m_convert, m_slider};

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("1018"));
    m_list->setGeometry(2, 91, 244, 172);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->setAcceptDrops(true);
    connect(m_list, &QListWidget::currentRowChanged, this, &AudioConverterWindow::updateListTip);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { playRow(m_list->row(item)); });
    connect(makeButton("1019", {3, 266, 37, 15}, QT_TR_NOOP("添加音檔")), &QPushButton::clicked, this,
            &AudioConverterWindow::addFiles);
    connect(makeButton("1020", {44, 266, 48, 15}, QT_TR_NOOP("刪除音檔")), &QPushButton::clicked, this,
            &AudioConverterWindow::deleteSelected);

    connect(&m_waveformWatcher, &QFutureWatcher<Waveform>::finished, this, [this] {
        // A shape computed for a file that no longer plays is dropped.
        if (m_waveformWatcher.future().resultCount() > 0 && m_player->file() == m_waveformFile)
            m_slider->setWaveform(m_waveformWatcher.result());
    });
    m_player = new SoundFilePlayer(this);
    connect(m_player, &SoundFilePlayer::finished, this, &AudioConverterWindow::onPlaybackFinished);
    connect(m_player, &SoundFilePlayer::interrupted, this, &AudioConverterWindow::stop);
    m_tick = new QTimer(this);
    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, &AudioConverterWindow::onTick);
    m_captureLimit = new QTimer(this);
    m_captureLimit->setSingleShot(true);
    m_captureLimit->setInterval(SegmentCapture::LimitMs);
    connect(m_captureLimit, &QTimer::timeout, this,
            [this] { endCapture(m_player->positionUs(), false); });

    const QStringList saved = MediaListFile::load(listFile());
    for (const QString &path : saved)
        m_list->addItem(QDir::toNativeSeparators(path));
    // The transport waits for a file, except that Play works on a list kept from last time.
    setTransportEnabled(false);
    playButton->setEnabled(true);
    updateListTip();
}

AudioConverterWindow::~AudioConverterWindow()
{
    if (m_waveformCancel)
        m_waveformCancel->store(true);
    if (m_job) // it finishes while being destroyed, without telling anyone
        QApplication::restoreOverrideCursor();
}

ImageButton *AudioConverterWindow::makeButton(const char *id, QRect place, const char *tipSource)
{
    auto *button = new ImageButton(this);
    button->setObjectName(QLatin1String(id));
    button->setGeometry(place);
    button->UseParentBackground(false);
    setTip(button, tipSource);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void AudioConverterWindow::setTip(ImageButton *button, const char *source)
{
    button->setProperty(TipSourceProperty, QByteArray(source)); // read again on a language change
    button->SetTipText(tr(source), true);
}

QString AudioConverterWindow::listFile() const
{
    return QDir(m_services.dataFolder).filePath(QStringLiteral("MPlayer.mdr"));
}

QStringList AudioConverterWindow::paths() const
{
    QStringList paths;
    for (int row = 0; row < m_list->count(); ++row)
        paths << QDir::fromNativeSeparators(m_list->item(row)->text());
    return paths;
}

void AudioConverterWindow::saveList()
{
    if (!m_services.dataFolder.isEmpty())
        MediaListFile::save(listFile(), paths());
}

void AudioConverterWindow::setTransportEnabled(bool on)
{
    for (QWidget *control : std::as_const(m_transport))
        control->setEnabled(on);
}

QString AudioConverterWindow::timeText() const
{
    return m_time->text();
}

int AudioConverterWindow::sliderPosition() const
{
    return m_slider->GetPos();
}

void AudioConverterWindow::showTime(const QString &text)
{
    m_time->setText(text);
}

void AudioConverterWindow::message(const QString &text)
{
    if (m_services.showMessage)
        m_services.showMessage(text);
}

void AudioConverterWindow::status(const QString &text)
{
    if (m_services.showStatus)
        m_services.showStatus(text);
}

void AudioConverterWindow::updateListTip()
{
    QListWidgetItem *item = m_list->currentItem();
    m_list->setToolTip(item && !item->text().isEmpty() ? item->text() : tr("媒體文件"));
}

bool AudioConverterWindow::openFiles()
{
    FileRequest request;
    request.mode = FileRequest::Mode::OpenMany;
    request.directory = m_services.dataFolder;
    request.filters = {tr("Audio Files (*.wav *.mp3)")};
    const QStringList chosen = chooseFiles(this, request);
    if (chosen.isEmpty())
        return false;
    m_list->clear();
    addPaths(chosen);
    return true;
}

void AudioConverterWindow::addFiles()
{
    FileRequest request;
    request.mode = FileRequest::Mode::OpenMany;
    request.directory = m_services.dataFolder;
    request.filters = {tr("Audio Files (*.wav *.mp3)")};
    addPaths(chooseFiles(this, request));
    setTransportEnabled(true);
}

void AudioConverterWindow::addPaths(const QStringList &chosen)
{
    for (const QString &path : chosen) {
        // A line break cannot be kept in the list file.
        if (!path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r')))
            m_list->addItem(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    }
    setTransportEnabled(true);
    saveList();
    updateListTip();
}

void AudioConverterWindow::deleteSelected()
{
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        delete m_list->takeItem(rows.at(i));
    saveList();
    updateListTip();
}

void AudioConverterWindow::toggleList()
{
    m_listShown = !m_listShown;
    const QPoint topLeft = pos();
    setFixedSize(m_listShown ? FullSize : ShortSize);
    move(topLeft);
    m_toggle->LoadImages(m_listShown ? HideListBitmap : ShowListBitmap, QColor(Qt::black));
    setTip(m_toggle, m_listShown ? QT_TR_NOOP("隱藏文檔") : QT_TR_NOOP("顯示文檔"));
}

QStringList AudioConverterWindow::droppableFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        const QFileInfo file(url.toLocalFile());
        const QString suffix = file.suffix().toLower();
        if (url.isLocalFile() && file.isFile() && (suffix == QLatin1String("wav") || suffix == QLatin1String("mp3")))
            files << file.absoluteFilePath();
    }
    return files;
}

bool AudioConverterWindow::eventFilter(QObject *watched, QEvent *event)
{
    // WAV and MP3 files dropped on the list are added as by 添加音檔.
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (!droppableFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = droppableFiles(drop->mimeData());
            if (!files.isEmpty()) {
                addPaths(files);
                drop->acceptProposedAction();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AudioConverterWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
    else
        painter.fillRect(rect(), palette().window());
}

void AudioConverterWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Delete && m_list->hasFocus()) {
        deleteSelected();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AudioConverterWindow::mousePressEvent(QMouseEvent *event)
{
    // A press on the background drags the window, as on a caption.
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void AudioConverterWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}

void AudioConverterWindow::closeEvent(QCloseEvent *event)
{
    stop(); // a running capture ends as the playback does: to the save flow
    saveList();
    status(QString());
    QWidget::closeEvent(event);
}

QPixmap AudioConverterWindow::titledBackground() const
{
    // The title and the list's two buttons are part of the art: each language has its picture.
    const QPixmap titled = artPixmap(tr("138", "the name of the background art with its texts in this language"));
    return titled.isNull() ? artPixmap(QString::number(BackgroundBitmap)) : titled;
}

void AudioConverterWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_background = titledBackground();
        // The buttons cut their looks from the background, which carries texts of its own.
        for (ImageButton *button : findChildren<ImageButton *>(Qt::FindDirectChildrenOnly)) {
            button->UseParentBackground(true);
            const QByteArray tip = button->property(TipSourceProperty).toByteArray();
            if (!tip.isEmpty())
                button->SetTipText(tr(tip.constData()), true);
        }
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace dpx
