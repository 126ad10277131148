// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a window: its telephone shape, dragging, hiding, fading in, docked tool windows.
#include "app/MainPhoneWindow.h"

#include "app/LanguageMenu.h"
#include "app/PhoneTray.h"
#include "phone/KeyCodes.h"
#include "ui/BitmapSlider.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"
#include "ui/WindowEffects.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace dpx {

namespace {
const QRgb ShapeKeyColour = qRgb(0, 108, 255);
constexpr int FadeStepPercent = 20;
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
    Q_EMIT fadeLevelChanged(m_fadeLevel);
    setWindowOpacityIfShown(this, 0.0);
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            setWindowOpacityIfShown(window, 0.0), window->showNormal();
    showNormal();
    raiseIfShown(this);
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
    Q_EMIT fadeLevelChanged(m_fadeLevel);
    const double opacity = (m_fadeLevel * 255 / 100) / 255.0;
    setWindowOpacityIfShown(this, opacity);
    for (const auto &[window, offset] : std::as_const(m_docked))
        if (window)
            setWindowOpacityIfShown(window, opacity);
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
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void MainPhoneWindow::retranslate()
{
    if (m_folderBar)
        retranslateFolderBar();
    if (m_volumeSlider)
        m_volumeSlider->setToolTip(tr("音量"));
    if (auto *version = findChild<QLabel *>(QStringLiteral("version"), Qt::FindDirectChildrenOnly))
        version->setText(tr("版本:VKSDPX.F01(N)"));
    if (!m_standingStatus[StandingBox].isEmpty())
        setStandingStatus(StandingBox, tr("找到電話盒,但無法開啟:請安裝 README 所說的 udev 規則"));
    refreshLcd();
    update();
}

void MainPhoneWindow::keyPressEvent(QKeyEvent *event)
{
    // The PC keyboard's digits, '*' and '#' (numeric keypad too) press those keys of the
    // telephone, with the key's pressed look for a moment. Neither Escape nor Enter closes it.
    event->accept();
    const QString text = event->text();
    const int keyNumber = text.size() == 1 ? dialKeyNumber(text.at(0)) : -1;
    if (keyNumber <= 0 || event->isAutoRepeat())
        return;
    if (const ControlPlace *place = findKey(keyNumber)) {
        if (KeyButton *key = m_keys.value(place->id)) {
            key->setDown(true);
            QTimer::singleShot(KeyboardPressLookMs, key, [key] { key->setDown(false); });
        }
    }
    Q_EMIT keyClicked(keyNumber);
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
    menu.addAction(tr("隱藏"), this, &MainPhoneWindow::hideToTray);
    menu.addAction(tr("關於 DPX"), this, &MainPhoneWindow::showAbout);
    addLanguageMenu(&menu, [this](const QString &text) { ShowStatusText(text); });
    menu.addSeparator();
    menu.addAction(tr("結束"), this, &MainPhoneWindow::requestExit);
    menu.exec(event->globalPos());
}

} // namespace dpx
