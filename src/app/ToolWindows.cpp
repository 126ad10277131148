// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolWindows.h"

#include <QEvent>
#include <QWidget>

namespace dpx {

ToolWindows::ToolWindows(QObject *parent) : QObject(parent) {}

ToolWindows::~ToolWindows()
{
    closeAll();
}

QString ToolWindows::toolName(Tool tool)
{
    switch (tool) {
    case Tool::AudioConverter:
        return QStringLiteral("音檔轉換");
    case Tool::AudioTransfer:
        return QStringLiteral("音檔傳輸");
    case Tool::PhoneSettings:
        return QStringLiteral("話機配置");
    case Tool::CallHistory:
        return QStringLiteral("通話記錄");
    case Tool::None:
        break;
    }
    return {};
}

void ToolWindows::setFactory(Tool tool, Factory factory)
{
    m_factories.insert(tool, std::move(factory));
}

bool ToolWindows::isAvailable(Tool tool) const
{
    return m_factories.contains(tool);
}

bool ToolWindows::open(Tool tool)
{
    QWidget *window = m_windows.value(tool);
    if (!window) {
        const Factory factory = m_factories.value(tool);
        if (!factory)
            return false;
        window = factory();
        if (!window)
            return false;
        m_windows.insert(tool, window);
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, this, [this, tool] { Q_EMIT closed(tool); });
        Q_EMIT opened(tool, window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

QWidget *ToolWindows::window(Tool tool) const
{
    return m_windows.value(tool);
}

void ToolWindows::closeAll()
{
    const auto windows = m_windows;
    m_windows.clear();
    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        disconnect(window, nullptr, this, nullptr);
        delete window.data();
    }
}

bool ToolWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        for (auto it = m_windows.cbegin(); it != m_windows.cend(); ++it)
            if (it.value() == watched)
                Q_EMIT closed(it.key());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace dpx
