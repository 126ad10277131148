// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChatClientLauncher.h"

#include <QProcess>
#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>

#include <iterator>
#endif

namespace dpx {

ChatClientLauncher::ChatClientLauncher(QSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(CloseDelayMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &ChatClientLauncher::closeClientWindow);
}

void ChatClientLauncher::choose(const QString &program)
{
    m_settings.setValue(QLatin1String(ChatClientLocator::PathKey), program);
    m_settings.sync();
}

bool ChatClientLauncher::launch()
{
    const ChatClientLocator locator(m_settings);
    ChatClientLocation location = locator.locate();
    const QString missing = QCoreApplication::translate("ChatClient", ChatClientText::NotInstalled);
    const bool notInstalled = location.status == ChatClientLocation::Status::NotInstalled
        && !location.messages.isEmpty() && location.messages.last() == missing;
    if (notInstalled)
        location.messages.removeLast();
    for (const QString &text : std::as_const(location.messages))
        Q_EMIT messageRequested(text);
    if (notInstalled)
        Q_EMIT clientMissing(missing);
    if (location.status != ChatClientLocation::Status::Found)
        return false;

    const QStringList arguments = location.arguments + locator.userArguments();
    if (!QProcess::startDetached(location.program, arguments)) {
        Q_EMIT messageRequested(QCoreApplication::translate("ChatClient", ChatClientText::StartFailed));
        return false;
    }
    Q_EMIT started(location.program, arguments);
#ifdef Q_OS_WIN
    if (!m_closeTimer.isActive())
        m_closeTimer.start();
#endif
    return true;
}

#ifdef Q_OS_WIN
namespace {

BOOL CALLBACK findClientWindow(HWND window, LPARAM found)
{
    wchar_t caption[256] = {};
    const int length = GetWindowTextW(window, caption, int(std::size(caption)));
    const QString prefix = QString::fromUtf8(ChatClientText::WindowCaptionPrefix);
    if (length > 0 && QString::fromWCharArray(caption, length).startsWith(prefix)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void ChatClientLauncher::closeClientWindow()
{
    HWND window = nullptr;
    EnumWindows(findClientWindow, reinterpret_cast<LPARAM>(&window));
    if (!window) {
        Q_EMIT messageRequested(QCoreApplication::translate("ChatClient", ChatClientText::WindowNotFound));
        return;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
}
#else
void ChatClientLauncher::closeClientWindow() {}
#endif

} // namespace dpx
