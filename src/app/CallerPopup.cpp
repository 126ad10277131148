// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallerPopup.h"

#include "ui/WindowEffects.h"

#include "app/PhoneTray.h"
#include "ui/Art.h"
#include "ui/Fonts.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>

namespace dpx {

namespace {
constexpr int BelowScreenPx = 22;

}

CallerPopup::CallerPopup(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowDoesNotAcceptFocus),
      m_background(artPixmap(QStringLiteral("235")))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(PopupWidth, PopupHeight);
    setCursor(Qt::PointingHandCursor);
    m_riseTimer.setInterval(RiseTickMs);
    connect(&m_riseTimer, &QTimer::timeout, this, &CallerPopup::riseStep);
    m_stayTimer.setSingleShot(true);
    m_stayTimer.setInterval(ShownMs);
    connect(&m_stayTimer, &QTimer::timeout, this, [this] { Hide(true); });
}

void CallerPopup::setCaller(const QString &title, const QString &body)
{
    m_title = title;
    m_body = body;
    update();
}

QRect CallerPopup::ignoreArea(QSize size)
{
    // A button-sized target in the lower right corner.
    return QRect(size.width() - 78, size.height() - 30, 70, 24);
}

void CallerPopup::Show()
{
    if (m_fade)
        m_fade->stop();
    setWindowOpacityIfShown(this, 1.0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    m_startY = area.bottom() + 1 + BelowScreenPx;
    m_risen = 0;
    move(area.right() + 1 - PopupWidth, m_startY);
    m_shown = true;
    m_stayTimer.stop();
    show();
    raiseIfShown(this);
    m_riseTimer.start();
}

void CallerPopup::riseStep()
{
    m_risen += RiseStepPx;
    move(x(), m_startY - m_risen);
    // Rise until the whole popup is on the screen, its "忽略" included.
    if (m_risen >= PopupHeight + BelowScreenPx) {
        m_riseTimer.stop();
        m_stayTimer.start();
    }
}

void CallerPopup::Hide(bool animate)
{
    const bool rising = m_riseTimer.isActive();
    m_shown = false;
    m_stayTimer.stop();
    m_riseTimer.stop();
    if (!animate || !isVisible()) {
        hide();
        return;
    }
    if (m_fade)
        m_fade->stop();
    if (!windowSystemShowsEffects()) {
        // No fading here: the popup goes when the fade would have ended.
        QTimer::singleShot(rising ? FadeWhileRisingMs : FadeMs, this, [this] {
            if (!m_shown)
                hide();
        });
        return;
    }
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(rising ? FadeWhileRisingMs : FadeMs);
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (!m_shown)
            hide();
        setWindowOpacityIfShown(this, 1.0);
    });
    m_fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void CallerPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(236, 240, 246));
    else
        painter.drawPixmap(rect(), m_background);
    painter.drawPixmap(10, 8, applicationIcon().pixmap(32, 32));

    // The name large, the number under it.
    painter.setPen(Qt::black);
    painter.setFont(traditionalChineseFont(20, true));
    const QRect nameArea(QPoint(48, 6), QPoint(width() - 8, 32));
    painter.drawText(nameArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(m_title, Qt::ElideRight, nameArea.width()));
    painter.setFont(traditionalChineseFont(14));
    painter.setPen(QColor(0, 0, 170));
    const QRect numberArea(QPoint(48, 33), QPoint(width() - 8, 50));
    painter.drawText(numberArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(m_body, Qt::ElideRight, numberArea.width()));

    const QRect ignore = ignoreArea(size());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(120, 128, 140));
    painter.setBrush(QColor(250, 250, 252));
    painter.drawRoundedRect(QRectF(ignore).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(Qt::black);
    painter.setFont(traditionalChineseFont(13));
    painter.drawText(ignore, Qt::AlignCenter | Qt::TextSingleLine, tr("忽略"));
}

void CallerPopup::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        update(); // "忽略" is painted
    QWidget::changeEvent(event);
}

void CallerPopup::mouseReleaseEvent(QMouseEvent *event)
{
    // A click while the popup still rises was meant for whatever lay there a moment ago.
    if (event->button() != Qt::LeftButton || isRising() || !m_shown)
        return;
    const bool ignore = ignoreArea(size()).contains(event->position().toPoint());
    Hide(true);
    if (ignore)
        Q_EMIT ignored();
    else
        Q_EMIT answered();
}

} // namespace dpx
