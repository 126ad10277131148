// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainPhoneWindow.h"
#include "app/RecordingFlow.h"

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
#include "app/ToolWindows.h"
#include "audio/MasterOutputVolume.h"
#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"
#include "device/BoxLink.h"
#include "ui/Art.h"
#include "ui/BitmapSlider.h"
#include "ui/FolderBar.h"
#include "ui/FolderBarImages.h"
#include "ui/GifAnimation.h"
#include "ui/GifTicker.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"
#include "ui/WindowEffects.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>

namespace dpx {

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
                showMessage(QCoreApplication::translate("Keypad", Keypad::DeviceErrorText));
                return false;
            }
            ShowStatusText(tr("撥號 %1").arg(m_dialer->number()));
            return true;
        },
        this);
    readSettings();
    m_gifTicker = new GifTicker(this); // moves the lamps
    placeControls();
    connect(this, &MainPhoneWindow::keyClicked, this, &MainPhoneWindow::PressKey);
    m_recordingFlow = new RecordingFlow(*this, m_services.dataFolder ? m_services.dataFolder->path() : QString(), this);
    if (m_services.confirm)
        m_recordingFlow->setQuestion([confirm = m_services.confirm](const QString &, const QString &text) { return confirm(text); });
    if (KeyButton *record = m_keys.value(1046))
        connect(record, &QAbstractButton::clicked, m_recordingFlow, &RecordingFlow::toggle);

    m_tray = new PhoneTray(windowTitle(), this);
    connect(m_tray, &PhoneTray::languageProblem, this, &MainPhoneWindow::ShowStatusText);
    connect(m_tray, &PhoneTray::doubleClicked, this, [this] {
        if (isHidden() || isMinimized())
            fadeIn();
        else
            raiseIfShown(this), activateWindow();
    });
    connect(m_tray->exitAction(), &QAction::triggered, this, &MainPhoneWindow::requestExit);
    for (QAction *action : m_tray->toolActions())
        connect(action, &QAction::triggered, this,
                [this, action] { openTool(action->data().toUInt()); });
    m_tray->show();

    m_volume = new MasterOutputVolume(this);
    if (m_volumeSlider) {
        connect(m_volumeSlider, &BitmapSlider::sliderMoved, this, &MainPhoneWindow::onSliderMoved);
        connect(m_volume, &MasterOutputVolume::volumeChanged, this,
                &MainPhoneWindow::followOutsideVolume);
    }

    m_ringPlayer = new RingTonePlayer(this);
    connect(m_ringPlayer, &RingTonePlayer::messageRequested, this, &MainPhoneWindow::showMessage);

    // A window of its own, outside the main window's hierarchy: a tool window that is modal to
    // the main window (the phone book) must not block the answer click.
    m_popup = new CallerPopup(nullptr);
    connect(m_popup, &CallerPopup::answered, this, [this] { EndCallerAlert(true); });
    connect(m_popup, &CallerPopup::ignored, this, [this] {
        showMessage(tr("Ingore this CALL!"));
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
        connect(box, &BoxLink::boxUnreadable, this, &MainPhoneWindow::onBoxUnreadable);
        connect(box, &BoxLink::eventPair, this, &MainPhoneWindow::OnDeviceEvent);
    }
    createToolWindows();
    refreshLcd();
    if (const QString problem = m_services.databaseProblem; !problem.isEmpty()) {
        // Told once, then kept on the status line whenever it is free: caller lookup and
        // the phone book do not work until it is mended.
        setStandingStatus(StandingDatabase, problem);
        ShowStatusText(problem);
        QMetaObject::invokeMethod(this, [this, problem] { showMessage(problem); },
                                  Qt::QueuedConnection);
    }
    if (m_services.box)
        m_services.box->start();
}

MainPhoneWindow::~MainPhoneWindow()
{
    // The tool windows go while the window is whole: an editor that closes calls back into it.
    if (m_toolWindows)
        m_toolWindows->closeAll();
    // The boxes go first, while the list that their end updates still exists.
    const auto boxes = m_openMessages.values();
    m_openMessages.clear();
    for (const QPointer<QMessageBox> &box : boxes)
        delete box.data();
    delete m_popup;
}

void MainPhoneWindow::readSettings()
{
    AddressDatabase *db = m_services.database;
    if (!db || !db->IsOpen())
        return; // both flags keep their default: a DX telephone, caller card shown
    applySettings(db->ReadSettingsRow());
}

void MainPhoneWindow::applySettings(const PhoneSettings &settings)
{
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
            auto *lamp = new GifAnimation(*m_gifTicker, this);
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
            m_volumeSlider->setToolTip(tr("音量"));
            break;
        case ControlKind::VersionText: {
            auto *version = new QLabel(tr("版本:VKSDPX.F01(N)"), this);
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
            QMetaObject::invokeMethod(this, &MainPhoneWindow::requestExit, Qt::QueuedConnection);
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
    // A lasting problem comes back whenever the line is free.
    m_statusTimer.stop();
    QString standing;
    for (const QString &note : std::as_const(m_standingStatus))
        if (!note.isEmpty())
            standing = note;
    m_statusText = standing;
    if (m_status)
        m_status->setText(standing);
}

void MainPhoneWindow::setStandingStatus(int slot, const QString &text)
{
    m_standingStatus[slot] = text;
    if (text.isEmpty() && !m_statusTimer.isActive() && !m_recording)
        onStatusTimer(); // a note that no longer holds leaves the free line
}

void MainPhoneWindow::onBoxFound()
{
    setStandingStatus(StandingBox, QString());
    ShowStatusText(tr("Device has Detected!"));
    m_model.ShowClock();
    refreshLcd();
    m_clockTimer.start();
}

void MainPhoneWindow::onBoxUnreadable()
{
    const QString text = tr("找到電話盒,但無法開啟:請安裝 README 所說的 udev 規則");
    setStandingStatus(StandingBox, text);
    ShowStatusText(text);
    refreshLcd();
    if (!m_toldBoxUnreadable) {
        m_toldBoxUnreadable = true;
        showMessage(text);
    }
}

void MainPhoneWindow::onBoxLost()
{
    setStandingStatus(StandingBox, QString());
    ShowStatusText(tr("Device has Disconnected!"));
    m_clockTimer.stop();
    m_model.ClearLcdLines(2);
    m_model.RedrawLcd();
    refreshLcd();
}

void MainPhoneWindow::OnDeviceEvent(quint8 code, quint8 value)
{
    const QScopedValueRollback nesting(m_deviceEventNesting, m_deviceEventNesting + 1);
    m_deepestDeviceEventNesting = qMax(m_deepestDeviceEventNesting, m_deviceEventNesting);
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
    Q_EMIT deviceEventApplied(fx);
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
    if (BoxLink *box = m_services.box; box && (!box->isPresent() || box->isUnreadable())) {
        // Nothing to mirror: the display says why instead of staying blank.
        if (box->isPresent())
            m_lcd->showNotice(tr("電話盒無法開啟"), tr("請安裝 udev 規則"));
        else
            m_lcd->showNotice(tr("電話盒未連接"), tr("請接上 USB 線"));
        return;
    }
    const QString line2 = m_model.displayedLine2();
    const bool wholeLine2 = softKeyWordsRepeat(line2);
    const QStringList words = m_model.softKeyWords().toList();
    if (m_model.clockShown()) {
        const QString clock = ClockText(QDateTime::currentDateTime());
        if (wholeLine2)
            m_lcd->showLinesWhole(clock, 0, 0, line2);
        else
            m_lcd->showClock(clock, words);
        return;
    }
    const Line1Drawing line1 = m_model.line1Drawing();
    const int blockLength = line1.cursorIndex >= 0 ? 1 : 0;
    if (wholeLine2)
        m_lcd->showLinesWhole(line1.text, line1.cursorIndex, blockLength, line2);
    else
        m_lcd->showLines(line1.text, line1.cursorIndex, blockLength, words);
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

void MainPhoneWindow::refreshKeyImages(int lampNumber)
{
    const ControlPlace *place = lampNumber == Key15Lamp ? findKey(15) : findLampKey(lampNumber);
    KeyButton *key = place ? m_keys.value(place->id) : nullptr;
    if (!key)
        return;
    const KeyImageSet images = m_model.lamps().keyImages(lampNumber);
    key->SetSkin(QString::number(images[0]), QString::number(images[1]),
                 QString::number(images[2]), QString::number(images[3]));
}

void MainPhoneWindow::showMessage(const QString &text)
{
    showCaptionedMessage(windowTitle(), text);
}

void MainPhoneWindow::showCaptionedMessage(const QString &caption, const QString &text)
{
    m_lastMessage = text;
    // One box per text: the same message again raises the box already open.
    if (QMessageBox *open = m_openMessages.value(text)) {
        raiseIfShown(open);
        open->activateWindow();
        return;
    }
    auto *box = new QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_openMessages.insert(text, box);
    connect(box, &QObject::destroyed, this, [this, text] { m_openMessages.remove(text); });
    box->open();
}

int MainPhoneWindow::openMessageCount() const
{
    return int(std::count_if(m_openMessages.cbegin(), m_openMessages.cend(),
                             [](const QPointer<QMessageBox> &box) { return !box.isNull(); }));
}

void MainPhoneWindow::showAbout()
{
    AboutBox about(this);
    about.exec();
}

void MainPhoneWindow::shutDown()
{
    m_shuttingDown = true;
    close();
}

void MainPhoneWindow::requestExit()
{
    shutDown();
    Q_EMIT exitRequested();
}

void MainPhoneWindow::closeEvent(QCloseEvent *event)
{
    if (!m_shuttingDown) {
        // Closed by the window manager (Alt+F4, the taskbar): with a notification area the
        // telephone goes there as the hide button does; without one the program ends, in
        // order, rather than run on with no window and no icon.
        if (m_tray->available()) {
            event->ignore();
            hideToTray();
            return;
        }
        m_shuttingDown = true;
        QMetaObject::invokeMethod(this, &MainPhoneWindow::exitRequested, Qt::QueuedConnection);
    }
    m_toolWindows->closeAll();
    m_popup->Hide(false);
    m_captureTimer.stop();
    m_ringPlayer->Stop();
    m_statusTimer.stop();
    m_clockTimer.stop();
    m_fadeTimer.stop();
    m_tray->remove();
    QWidget::closeEvent(event);
}

} // namespace dpx
