// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainPhoneWindow.h"

#include "addressbook/AddressDatabase.h"
#include "app/AboutBox.h"
#include "app/DataFolder.h"
#include "app/FolderBarArea.h"
#include "app/LcdPanel.h"
#include "app/PhoneTray.h"
#include "app/StatusLine.h"
#include "device/BoxLink.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
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

    readSettings();
    placeControls();

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
            auto *lamp = new QLabel(this);
            lamp->setObjectName(QStringLiteral("lamp%1").arg(place.id));
            lamp->setGeometry(place.rect);
            lamp->setAlignment(Qt::AlignCenter);
            lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
            const int number = place.kind == ControlKind::RecordIndicator ? 0 : place.lampNumber;
            m_lamps.insert(number > 0 ? number : -place.id, lamp);
            if (place.kind == ControlKind::RecordIndicator)
                lamp->setPixmap(artPixmap(QStringLiteral("510")));
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
            (new FolderBarArea(this))->setGeometry(place.rect);
            break;
        case ControlKind::VolumeSlider:
            (new VolumeSliderArea(this))->move(place.rect.topLeft());
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
    QLabel *lamp = m_lamps.value(lampNumber);
    if (!lamp)
        return;
    const LampState state = m_model.lamps().lamp(lampNumber);
    QPixmap image = artPixmap(QString::number(LampBoard::lampImageFor(lampNumber, state)));
    if (image.isNull() && !state.isOff()) {
        // Flashing looks are animated images; a still of the steady colour stands in for them.
        image = artPixmap(QString::number(
            LampBoard::lampImageFor(lampNumber, {state.colour, LampPattern::Steady})));
    }
    lamp->setPixmap(image);
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
