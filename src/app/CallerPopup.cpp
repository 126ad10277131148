// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CallerPopup.h"

#include "app/PhoneTray.h"
#include "ui/Art.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>

namespace dpx {

namespace {
constexpr int BelowScreenPx = 22;

QFont popupFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("SimSun"));
    font.setStyleHint(QFont::Serif);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(bold);
    return font;
}
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
    return QRect(QPoint(145, 65), QPoint(size.width() - 10, size.height() - 5));
}

void CallerPopup::Show()
{
    if (m_fade)
        m_fade->stop();
    setWindowOpacity(1.0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    m_startY = area.bottom() + 1 + BelowScreenPx;
    m_risen = 0;
    move(area.right() + 1 - PopupWidth, m_startY);
    m_shown = true;
    m_stayTimer.stop();
    show();
    raise();
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
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(rising ? FadeWhileRisingMs : FadeMs);
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (!m_shown)
            hide();
        setWindowOpacity(1.0);
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
    painter.drawPixmap(21, 5, applicationIcon().pixmap(32, 32));

    painter.setFont(popupFont(15, true));
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(50, 10), QPoint(width() - 1, 44)),
                     Qt::AlignCenter | Qt::TextSingleLine, m_title);
    painter.setFont(popupFont(13, false));
    painter.setPen(QColor(0, 0, 225));
    painter.drawText(QRect(QPoint(25, 50), QPoint(width() - 8, height() - 8)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_body);
    painter.setPen(Qt::black);
    painter.drawText(ignoreArea(size()), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("忽略"));
}

void CallerPopup::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool ignore = ignoreArea(size()).contains(event->position().toPoint());
    Hide(true);
    if (ignore)
        Q_EMIT ignored();
    else
        Q_EMIT answered();
}

} // namespace dpx
