// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainPhoneWindow.h"

#include "addressbook/AddressDatabase.h"
#include "app/AboutBox.h"
#include "app/CallerPopup.h"
#include "app/DataFolder.h"
#include "app/DialSequencer.h"
#include "app/Keypad.h"
#include "app/PhoneBookTree.h"
#include "app/LcdPanel.h"
#include "app/PhoneTray.h"
#include "app/StatusLine.h"
#include "audio/MasterOutputVolume.h"
#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"
#include "device/BoxLink.h"
#include "ui/BitmapSlider.h"
#include "ui/FolderBar.h"
#include "ui/FolderBarImages.h"
#include "ui/GifAnimation.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace dpx {

namespace {
const QRgb ShapeKeyColour = qRgb(0, 108, 255);
constexpr int FadeStepPercent = 20;
}

MainPhoneWindow::MainPhoneWindow(const PhoneServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_services(services),
      m_background(artPixmap(QStringLiteral("133")))
{
    setWindowTitle(QStringLiteral("DPX"));
    setWindowIcon(applicationIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(MainWindowWidth, MainWindowHeight);
    move(0, 0);

    if (m_services.box) {
        m_keypad = new Keypad(*m_services.box, this);
        connect(m_keypad, &Keypad::key15Toggled, this, [this] {
            m_model.lamps().toggleKey15();
            refreshKeyImages(Key15Lamp);
        });
    }
    m_dialer = new DialSequencer(
        [this](int keyNumber) {
            if (!m_keypad || m_keypad->PressKey(keyNumber) != Keypad::Result::Sent) {
                showMessage(QString::fromUtf8(Keypad::DeviceErrorText));
                return false;
            }
            ShowStatusText(QStringLiteral("撥號 ") + m_dialer->number());
            return true;
        },
        this);
    readSettings();
    placeControls();
    connect(this, &MainPhoneWindow::keyClicked, this, &MainPhoneWindow::PressKey);

    m_tray = new PhoneTray(windowTitle(), this);
    connect(m_tray, &PhoneTray::doubleClicked, this, [this] {
        if (isHidden() || isMinimized())
            fadeIn();
        else
            raise(), activateWindow();
    });
    connect(m_tray, &PhoneTray::menuRequested, this, [this] {
        if (isHidden())
            show();
        raise();
        activateWindow();
    });
    connect(m_tray->exitAction(), &QAction::triggered, this, [this] {
        close();
        Q_EMIT exitRequested();
    });
    m_tray->show();

    m_volume = new MasterOutputVolume(this);
    if (m_volumeSlider) {
        connect(m_volumeSlider, &BitmapSlider::sliderMoved, this, &MainPhoneWindow::onSliderMoved);
        connect(m_volume, &MasterOutputVolume::volumeChanged, this,
                &MainPhoneWindow::followOutsideVolume);
    }

    m_ringPlayer = new RingTonePlayer(this);
    connect(m_ringPlayer, &RingTonePlayer::messageRequested, this, &MainPhoneWindow::showMessage);

    m_popup = new CallerPopup(this);
    connect(m_popup, &CallerPopup::answered, this, [this] { EndCallerAlert(true); });
    connect(m_popup, &CallerPopup::ignored, this, [this] {
        showMessage(QStringLiteral("Ingore this CALL!"));
        EndCallerAlert(false);
    });
    m_captureTimer.setInterval(NumberCapture::TickMs);
    connect(&m_captureTimer, &QTimer::timeout, this, &MainPhoneWindow::onCaptureTick);

    m_statusTimer.setInterval(StatusTimerMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &MainPhoneWindow::onStatusTimer);
    m_clockTimer.setInterval(ClockTimerMs);
    connect(&m_clockTimer, &QTimer::timeout, this, [this] {
        if (m_model.clockShown()) {
            m_model.ShowClock();
            refreshLcd();
        }
    });
    m_callDisplayTimer.setInterval(1000);
    connect(&m_callDisplayTimer, &QTimer::timeout, this, [this] {
        if (m_model.tickCallTimerDisplay().redraw)
            refreshLcd();
    });
    m_silentCountTimer.setInterval(1000);
    connect(&m_silentCountTimer, &QTimer::timeout, this, [this] { m_model.tickSilentCount(); });
    m_fadeTimer.setInterval(FadeStepMs);
    connect(&m_fadeTimer, &QTimer::timeout, this, &MainPhoneWindow::onFadeStep);

    if (BoxLink *box = m_services.box) {
        connect(box, &BoxLink::boxFound, this, &MainPhoneWindow::onBoxFound);
        connect(box, &BoxLink::boxLost, this, &MainPhoneWindow::onBoxLost);
        connect(box, &BoxLink::eventPair, this, &MainPhoneWindow::OnDeviceEvent);
    }
    refreshLcd();
    if (!m_services.databaseProblem.isEmpty())
        ShowStatusText(m_services.databaseProblem);
    if (m_services.box)
        m_services.box->start();
}

MainPhoneWindow::~MainPhoneWindow() = default;

void MainPhoneWindow::readSettings()
{
    AddressDatabase *db = m_services.database;
    if (!db || !db->IsOpen())
        return; // both flags keep their default: a DX telephone, caller card shown
    const PhoneSettings settings = db->ReadSettingsRow();
    m_phoneTypeDx = settings.phoneType == PhoneType::DX;
    m_showCallerCard = settings.showCallerCard;
    if (m_keypad)
        m_keypad->setPhoneType(settings.phoneType);
}

void MainPhoneWindow::placeControls()
{
    for (const ControlPlace &place : phoneLayout()) {
        switch (place.kind) {
        case ControlKind::Key:
        case ControlKind::TopButton: {
            auto *key = new KeyButton(this);
            key->setObjectName(QStringLiteral("key%1").arg(place.id));
            key->SetSkin(QLatin1String(place.images.normal), QLatin1String(place.images.down),
                         QLatin1String(place.images.over), QLatin1String(place.images.disabled));
            key->setGeometry(place.rect);
            if (place.label)
                key->setToolTip(QString::fromUtf8(place.label));
            m_keys.insert(place.id, key);
            const int keyNumber = place.keyNumber;
            if (keyNumber > 0)
                connect(key, &QAbstractButton::clicked, this,
                        [this, keyNumber] { Q_EMIT keyClicked(keyNumber); });
            break;
        }
        case ControlKind::Lamp:
        case ControlKind::LargeIndicator:
        case ControlKind::SmallIndicator:
        case ControlKind::RecordIndicator: {
            auto *lamp = new GifAnimation(this);
            lamp->setObjectName(QStringLiteral("lamp%1").arg(place.id));
            lamp->move(place.rect.topLeft());
            lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
            const int number = place.kind == ControlKind::RecordIndicator ? 0 : place.lampNumber;
            m_lamps.insert(number > 0 ? number : -place.id, lamp);
            if (place.kind == ControlKind::RecordIndicator) {
                lamp->LoadFromResource(510);
                lamp->Play();
            }
            break;
        }
        case ControlKind::StatusLine:
            m_status = new StatusLine(this);
            m_status->move(place.rect.topLeft());
            break;
        case ControlKind::Lcd:
            m_lcd = new LcdPanel(this);
            m_lcd->move(place.rect.topLeft());
            break;
        case ControlKind::FolderBar:
            createFolderBar(place.rect);
            break;
        case ControlKind::VolumeSlider:
            m_volumeSlider = new BitmapSlider(place.id, this);
            m_volumeSlider->move(place.rect.topLeft());
            m_volumeSlider->SetBitmapChannel(QStringLiteral("380"), QStringLiteral("381"));
            m_volumeSlider->SetBitmapThumb(QStringLiteral("382"), QStringLiteral("379"), true);
            m_volumeSlider->SetDrawFocusRect(false);
            m_volumeSlider->SetRange(0, 100);
            m_volumeSlider->SetPos(45);
            m_volumeSlider->SetMargin(2, 3, 2, 0);
            m_volumeSlider->setActiveTowardsMaximum(true); // the loud end is on the left
            m_volumeSlider->setToolTip(QStringLiteral("Volume"));
            break;
        case ControlKind::VersionText: {
            auto *version = new QLabel(QStringLiteral("版本:VKSDPX.F01(N)"), this);
            version->setObjectName(QStringLiteral("version"));
            version->setGeometry(place.rect);
            version->setAttribute(Qt::WA_TransparentForMouseEvents);
            version->setStyleSheet(QStringLiteral("color: rgb(170,176,186); font-size: 10px;"));
            break;
        }
        }
    }
    for (int lamp = 1; lamp <= 32; ++lamp)
        refreshLamp(lamp);

    if (KeyButton *about = m_keys.value(1142))
        connect(about, &QAbstractButton::clicked, this, &MainPhoneWindow::showAbout);
    if (KeyButton *hide = m_keys.value(1143))
        connect(hide, &QAbstractButton::clicked, this, &MainPhoneWindow::hideToTray);
    if (KeyButton *closeKey = m_keys.value(1144))
        connect(closeKey, &QAbstractButton::clicked, this, [this] {
            QMetaObject::invokeMethod(this, [this] {
                if (close())
                    Q_EMIT exitRequested();
            }, Qt::QueuedConnection);
        });
}

bool MainPhoneWindow::isBoxPresent() const
{
    return m_services.box && m_services.box->isPresent();
}

bool MainPhoneWindow::DetectBox()
{
    return m_services.box && m_services.box->DetectBox();
}

void MainPhoneWindow::ShowStatusText(const QString &text)
{
    m_statusTimer.stop();
    m_statusText = text;
    if (m_status)
        m_status->setText(text);
    if (!text.isEmpty() && !m_transferRunning)
        m_statusTimer.start();
}

void MainPhoneWindow::onStatusTimer()
{
    // A recording keeps its text on the line; the timer then just comes round again.
    if (m_recording)
        return;
    ShowStatusText(QString());
}

void MainPhoneWindow::onBoxFound()
{
    ShowStatusText(QStringLiteral("Device has Detected!"));
    m_model.ShowClock();
    refreshLcd();
    m_clockTimer.start();
}

void MainPhoneWindow::onBoxLost()
{
    ShowStatusText(QStringLiteral("Device has Disconnected!"));
    m_clockTimer.stop();
    m_model.ClearLcdLines(2);
    m_model.RedrawLcd();
    refreshLcd();
}

void MainPhoneWindow::OnDeviceEvent(quint8 code, quint8 value)
{
    const DeviceEventEffects fx = m_model.apply(code, value);
    if (fx.redraw || fx.showClock)
        refreshLcd();
    if (fx.key15ImageReset)
        refreshKeyImages(Key15Lamp);
    if (fx.lampSet) {
        refreshLamp(fx.lampNumber);
        refreshKeyImages(fx.lampNumber);
    }
    if (fx.callTimersChanged)
        syncCallTimers();
    if (fx.ring != RingEvent::None)
        onRing(fx.ring);
}

void MainPhoneWindow::onRing(RingEvent ring)
{
    switch (ring) {
    case RingEvent::OutsideLineStarts:
    case RingEvent::IntercomStarts:
        RingRequest(ring == RingEvent::OutsideLineStarts, false);
        StartNumberCapture();
        break;
    case RingEvent::Ends:
        m_captureTimer.stop();
        RingRequest(false, true);
        EndCallerAlert(false);
        break;
    case RingEvent::None:
        break;
    }
}

void MainPhoneWindow::RingRequest(bool outsideLine, bool stop)
{
    QString coRing, icmRing;
    AddressDatabase *db = m_services.database;
    if (!stop && db && (db->IsOpen() || db->Open())) {
        const PhoneSettings settings = db->ReadSettingsRow();
        coRing = settings.coRing;
        icmRing = settings.icmRing;
    }
    const QString folder = m_services.dataFolder ? m_services.dataFolder->path() : QString();
    const RingDecision decision = DecideRingRequest(outsideLine, stop, coRing, icmRing, folder);
    switch (decision.action) {
    case RingAction::Nothing:
        break;
    case RingAction::Stop:
        m_ringPlayer->Stop();
        break;
    case RingAction::ShowMessage:
        showMessage(decision.message);
        break;
    case RingAction::Play:
        m_ringPlayer->Play(decision.path);
        break;
    }
}

void MainPhoneWindow::StartNumberCapture()
{
    m_model.StartNumberCapture();
    m_callerFound = false;
    m_caller.clear();
    m_callerNumber.clear();
    LookUpCaller(QString()); // no number yet: the alert starts all the same
    m_captureTimer.start();
}

void MainPhoneWindow::onCaptureTick()
{
    switch (m_model.tickNumberCapture()) {
    case NumberCapture::Result::NumberFound:
        m_captureTimer.stop();
        LookUpCaller(m_model.numberCapture().number());
        break;
    case NumberCapture::Result::GaveUp:
    case NumberCapture::Result::Idle:
        m_captureTimer.stop();
        break;
    case NumberCapture::Result::KeepGoing:
        break;
    }
}

void MainPhoneWindow::LookUpCaller(const QString &number)
{
    if (!number.isEmpty()) {
        m_callerNumber = number;
        AddressDatabase *db = m_services.database;
        if (db && (db->IsOpen() || db->Open())) {
            if (const auto match = db->lookUpCaller(number)) {
                m_caller = match->contact;
                m_callerFound = true;
            }
        }
        if (m_callerFound && m_showCallerCard)
            QMetaObject::invokeMethod(this, &MainPhoneWindow::showCallerCardRequested,
                                      Qt::QueuedConnection);
    }
    const bool alreadyAlerting = m_callerAlertPending;
    m_callerAlertPending = true;
    m_tray->startAlert();
    updatePopup();
    if (!alreadyAlerting)
        m_popup->Show();
    if (!number.isEmpty())
        m_tray->notify(m_popup->title(), m_popup->body());
}

void MainPhoneWindow::updatePopup()
{
    const QString name = m_callerFound ? m_caller.name() : QString();
    const QString number = m_callerNumber.isEmpty() ? QStringLiteral("—") : m_callerNumber;
    if (name.isEmpty())
        m_popup->setCaller(number, QString());
    else
        m_popup->setCaller(name, number);
}

void MainPhoneWindow::EndCallerAlert(bool answer)
{
    m_callerAlertPending = false;
    m_tray->stopAlert();
    if (m_popup->isShown())
        m_popup->Hide(true);
    if (answer)
        PressKey(29);
}

void MainPhoneWindow::syncCallTimers()
{
    const CallTimer &timer = m_model.callTimer();
    auto follow = [](QTimer &t, bool running) {
        if (running && !t.isActive())
            t.start();
        else if (!running)
            t.stop();
    };
    follow(m_silentCountTimer, timer.silentCountRunning());
    follow(m_callDisplayTimer, timer.displayRunning());
}

void MainPhoneWindow::refreshLcd()
{
    if (!m_lcd)
        return;
    const QStringList words = m_model.softKeyWords().toList();
    if (m_model.clockShown()) {
        m_lcd->showClock(ClockText(QDateTime::currentDateTime()), words);
        return;
    }
    const Line1Drawing line1 = m_model.line1Drawing();
    m_lcd->showLines(line1.text, line1.cursorIndex, line1.cursorIndex >= 0 ? 1 : 0, words);
}

void MainPhoneWindow::refreshLamp(int lampNumber)
{
    GifAnimation *lamp = m_lamps.value(lampNumber);
    if (!lamp)
        return;
    const int image = m_model.lamps().lampImage(lampNumber);
    if (image == 0 || m_lampImages.value(lampNumber) == image)
        return; // the same look keeps playing undisturbed
    m_lampImages.insert(lampNumber, image);
    lamp->LoadFromResource(image);
    lamp->SetBackgroundColor(Qt::white);
    lamp->Play();
}

void MainPhoneWindow::createFolderBar(const QRect &area)
{
    m_folderBar = new CGfxOutBarCtrl(this);
    m_folderBar->setObjectName(QStringLiteral("folderBar"));
    m_folderBar->setGeometry(area);
    const FolderBarImages small = FolderBarImages::fromArt(QStringLiteral("261"), 16, QColor(0, 128, 128));
    m_folderBar->SetIcons(FolderBarImages::fromArt(QStringLiteral("254"), 32, QColor(128, 128, 128)),
                          CGfxOutBarCtrl::LargeImages);
    m_folderBar->SetIcons(small, CGfxOutBarCtrl::SmallImages);
    m_folderBar->SetBlinkPeriod(FolderBarBlinkMs);

    m_tree = new PhoneBookTree;
    m_tree->setImages(small);
    connect(m_tree, &PhoneBookTree::dialRequested, this, &MainPhoneWindow::DialSelectedContact);

    const int tools = m_folderBar->AppendFolder(QStringLiteral("工具"));
    m_folderBar->InsertFolderItem(tools, -1, QStringLiteral("音檔轉換"), 0);
    m_folderBar->InsertFolderItem(tools, -1, QStringLiteral("音檔傳輸"), 1);
    m_folderBar->AppendChildFolder(QStringLiteral("電話簿"), m_tree);
    const int settings = m_folderBar->AppendFolder(QStringLiteral("設置"));
    m_folderBar->InsertFolderItem(settings, -1, QStringLiteral("話機配置"), 5);
    m_folderBar->SelectFolder(tools);
    connect(m_folderBar, &CGfxOutBarCtrl::panelNotify, this, &MainPhoneWindow::onPanelNotify);
}

void MainPhoneWindow::onPanelNotify(int code, int value)
{
    if (code == 5 && value == 1) {
        FillPhoneBookTree(); // the phone-book folder opens with fresh contents
        return;
    }
    if (code != 1)
        return;
    const int folder = m_folderBar->CurrentFolder();
    // The converter, transfer and settings windows are not part of this version yet.
    if (folder == 0 && value == 0)
        ShowStatusText(QStringLiteral("音檔轉換... (not available in this version)"));
    else if (folder == 0 && value == 1)
        ShowStatusText(QStringLiteral("音檔傳輸... (not available in this version)"));
    else if (folder == 2 && value == 0)
        ShowStatusText(QStringLiteral("話機配置 (not available in this version)"));
}

void MainPhoneWindow::FillPhoneBookTree()
{
    if (m_tree)
        m_tree->FillPhoneBookTree(m_services.database);
}

void MainPhoneWindow::onSliderMoved(int controlId, int position)
{
    if (controlId != 1084)
        return;
    // The slider's left end is the loudest: the volume is the part right of the thumb.
    const int maximum = m_volume->GetMaxVolume();
    if (maximum > 0)
        m_volume->SetVolume(int(qint64(maximum) * (100 - position) / 100));
}

void MainPhoneWindow::followOutsideVolume(int volume)
{
    const int maximum = m_volume->GetMaxVolume();
    if (maximum <= 0 || !m_volumeSlider || m_volumeSlider->isDragging())
        return;
    m_volumeSlider->SetPos(100 - int((qint64(volume) * 100 + maximum / 2) / maximum));
}

void MainPhoneWindow::refreshKeyImages(int lampNumber)
{
    int keyNumber = 0;
    if (lampNumber >= 1 && lampNumber <= 12)
        keyNumber = 33 + lampNumber; // programmable keys 1-12 are key numbers 34-45
    else if (lampNumber >= 13 && lampNumber <= 24)
        keyNumber = 44 + lampNumber; // 13-24 are 57-68
    else if (lampNumber == Key15Lamp)
        keyNumber = 15;
    const ControlPlace *place = keyNumber ? findKey(keyNumber) : nullptr;
    KeyButton *key = place ? m_keys.value(place->id) : nullptr;
    if (!key)
        return;
    const KeyImageSet images = m_model.lamps().keyImages(lampNumber);
    key->SetSkin(QString::number(images[0]), QString::number(images[1]),
                 QString::number(images[2]), QString::number(images[3]));
}

void MainPhoneWindow::PressKey(int keyNumber)
{
    if (!m_keypad || m_keypad->PressKey(keyNumber) == Keypad::Result::NoBox)
        showMessage(QString::fromUtf8(Keypad::DeviceErrorText));
}

bool MainPhoneWindow::isDialling() const
{
    return m_dialer->isRunning();
}

void MainPhoneWindow::DialSelectedContact(const QString &selectedText)
{
    if (!isBoxPresent()) {
        showMessage(QString::fromUtf8(Keypad::DeviceErrorText));
        return;
    }
    // A name or a nickname selected in the tree is no number.
    if (!isDiallableNumber(selectedText)) {
        showMessage(QString::fromUtf8(InvalidNumberText));
        return;
    }
    startDialling(selectedText);
}

void MainPhoneWindow::dialRequest(const QString &request)
{
    const QString number = numberFromDialRequest(request);
    if (number.isEmpty()) {
        showMessage(QString::fromUtf8(InvalidNumberText));
        return;
    }
    if (!isBoxPresent()) {
        showMessage(QString::fromUtf8(Keypad::DeviceErrorText));
        return;
    }
    startDialling(number);
}

void MainPhoneWindow::startDialling(const QString &number)
{
    // One number at a time: the digits of two numbers must never interleave.
    if (m_dialer->isRunning()) {
        ShowStatusText(QStringLiteral("正在撥號 ") + m_dialer->number());
        return;
    }
    QString lineCode;
    if (m_services.database && m_services.database->IsOpen())
        lineCode = m_services.database->ReadSettingsRow().lineCode;
    ShowStatusText(QStringLiteral("撥號 ") + number);
    m_dialer->start(dialSteps(lineCode, number), number);
}

void MainPhoneWindow::showMessage(const QString &text)
{
    m_lastMessage = text;
    auto *box = new QMessageBox(QMessageBox::NoIcon, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainPhoneWindow::showAbout()
{
    AboutBox about(this);
    about.exec();
}

void MainPhoneWindow::applyShape()
{
    if (m_background.isNull())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage image = m_background.toImage().convertToFormat(QImage::Format_RGB32);
    // Every pixel but the key colour belongs to the telephone's shape.
    const QImage mask = image.createMaskFromColor(ShapeKeyColour, Qt::MaskInColor);
    setMask(QRegion(QBitmap::fromImage(mask)));
    QApplication::restoreOverrideCursor();
}

void MainPhoneWindow::showEvent(QShowEvent *event)
{
    if (m_firstPaint) {
        applyShape();
        m_firstPaint = false;
    }
    QWidget::showEvent(event);
}

void MainPhoneWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(40, 42, 46));
    else
        painter.drawPixmap(0, 0, m_background);
}

void MainPhoneWindow::dockToolWindow(QWidget *window, QPoint offset)
{
    m_docked.append({window, offset});
    window->move(pos() + offset);
}

void MainPhoneWindow::moveEvent(QMoveEvent *event)
{
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            window->move(pos() + offset);
    QWidget::moveEvent(event);
}

void MainPhoneWindow::hideToTray()
{
    if (!m_tray->available()) {
        // Without a notification area a hidden window could never be brought back.
        showMinimized();
        return;
    }
    hide();
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            window->hide();
}

void MainPhoneWindow::fadeIn()
{
    m_fadeLevel = 0;
    setWindowOpacity(0.0);
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            window->setWindowOpacity(0.0), window->showNormal();
    showNormal();
    raise();
    activateWindow();
    m_fadeTimer.start();
}

void MainPhoneWindow::onFadeStep()
{
    if (m_fadeLevel >= 100) {
        m_fadeTimer.stop();
        return;
    }
    m_fadeLevel += FadeStepPercent;
    const double opacity = (m_fadeLevel * 255 / 100) / 255.0;
    setWindowOpacity(opacity);
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            window->setWindowOpacity(opacity);
    if (m_fadeLevel >= 100) {
        m_fadeTimer.stop();
        update();
    }
}

void MainPhoneWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray->available()) {
        // Minimising hides the window and its tool windows in the notification area.
        QMetaObject::invokeMethod(this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            hideToTray();
        }, Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
}

void MainPhoneWindow::closeEvent(QCloseEvent *event)
{
    m_popup->Hide(false);
    m_captureTimer.stop();
    m_ringPlayer->Stop();
    m_statusTimer.stop();
    m_clockTimer.stop();
    m_fadeTimer.stop();
    m_tray->remove();
    QWidget::closeEvent(event);
}

void MainPhoneWindow::keyPressEvent(QKeyEvent *event)
{
    // Neither Escape nor Enter closes the telephone.
    event->accept();
}

void MainPhoneWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // Any point that is not a control drags the window.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainPhoneWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void MainPhoneWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void MainPhoneWindow::contextMenuEvent(QContextMenuEvent *event)
{
    // The window has no title bar; its system-menu commands live here.
    QMenu menu(this);
    menu.addAction(QStringLiteral("隱藏"), this, &MainPhoneWindow::hideToTray);
    menu.addAction(QStringLiteral("About DPX"), this, &MainPhoneWindow::showAbout);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Exit"), this, [this] {
        if (close())
            Q_EMIT exitRequested();
    });
    menu.exec(event->globalPos());
}

} // namespace dpx
