// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace dpx {

// The tools the folder bar and the tray menu open. The value is stored on each folder-bar
// item, so a click opens the item's own tool wherever the user has dragged it.
enum class Tool : quint32 {
    None = 0,
    AudioConverter = 1,
    AudioTransfer = 2,
    PhoneSettings = 3,
    CallHistory = 14,
};

// What a folder of the folder bar holds, stored as the folder's own value.
enum class FolderKind : quint32 {
    Other = 0,
    Tools = 1,
    PhoneBook = 2,
    Settings = 3,
};

// The tool windows: each opens once, a second request raises it, all close at exit. A tool
// whose window is not part of this build has no factory and is reported as not available.
class ToolWindows : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    explicit ToolWindows(QObject *parent = nullptr);
    ~ToolWindows() override;

    // The tool's name as the folder bar shows it.
    static QString toolName(Tool tool);

    void setFactory(Tool tool, Factory factory);
    bool isAvailable(Tool tool) const;
    // Opens (or raises) the tool's window; false when the tool is not available.
    bool open(Tool tool);
    QWidget *window(Tool tool) const;
    void closeAll();

Q_SIGNALS:
    // A window was made (it is shown right after): the main window docks it here.
    void opened(dpx::Tool tool, QWidget *window);
    // The tool's window was closed (or deleted).
    void closed(dpx::Tool tool);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<Tool, Factory> m_factories;
    QHash<Tool, QPointer<QWidget>> m_windows;
};

} // namespace dpx
