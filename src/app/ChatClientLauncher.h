// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ChatClientLocator.h"

#include <QObject>
#include <QTimer>

class QSettings;

namespace dpx {

// Starts the chat client found by ChatClientLocator, as a separate process with an argument
// list (never through a shell), and never waits for it. On Windows, 20 s later the client's
// main window (caption starting "Skype (TM) - ") is asked to close, so that the client keeps
// running in the notification area; one close is pending at a time. Elsewhere no program may
// close another's window: the client is only started.
class ChatClientLauncher : public QObject {
    Q_OBJECT
public:
    static constexpr int CloseDelayMs = 20000;

    explicit ChatClientLauncher(QSettings &settings, QObject *parent = nullptr);

    // True when the client was started.
    bool launch();
    bool isClosePending() const { return m_closeTimer.isActive(); }
    // Keeps a program the user picked for later launches.
    void choose(const QString &program);

Q_SIGNALS:
    // A message for the user (OK button, the application title as caption), in order.
    void messageRequested(const QString &text);
    // No client was found: `text` is the "install first" message; the window may offer to
    // pick the program.
    void clientMissing(const QString &text);
    void started(const QString &program, const QStringList &arguments);

private:
    void closeClientWindow();

    QSettings &m_settings;
    QTimer m_closeTimer;
};

} // namespace dpx
