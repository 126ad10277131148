// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QPropertyAnimation;

namespace dpx {

// The small window that rises from the bottom-right corner of the screen while the telephone
// rings: who is calling (the name large, the number under it), a click to answer, the "忽略"
// button to ignore. Clicks count once it has risen. It hides itself after 4 s.
class CallerPopup : public QWidget {
    Q_OBJECT
public:
    static constexpr int PopupWidth = 180;
    static constexpr int PopupHeight = 85;
    static constexpr int RiseStepPx = 3;
    static constexpr int RiseTickMs = 10;
    static constexpr int ShownMs = 4000;
    static constexpr int FadeMs = 500;
    static constexpr int FadeWhileRisingMs = 800;

    explicit CallerPopup(QWidget *parent = nullptr);

    void setCaller(const QString &title, const QString &body);
    QString title() const { return m_title; }
    QString body() const { return m_body; }

    // Starts the rise from below the screen; the popup then stays 4 s and fades away.
    void Show();
    // Hides the popup, fading out when animate is set (longer while it still rises).
    void Hide(bool animate);
    bool isShown() const { return m_shown; }
    bool isRising() const { return m_riseTimer.isActive(); }

    // The "忽略" button: a click there ignores the call.
    static QRect ignoreArea(QSize size);

Q_SIGNALS:
    void answered(); // a click anywhere else
    void ignored();  // a click on "忽略"

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void riseStep();

    QPixmap m_background;
    QString m_title;
    QString m_body;
    bool m_shown = false;
    int m_risen = 0;
    int m_startY = 0;
    QTimer m_riseTimer;
    QTimer m_stayTimer;
    QPointer<QPropertyAnimation> m_fade;
};

} // namespace dpx
