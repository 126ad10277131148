// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QSettings;
class QWidget;

namespace dpx {

class ChatClientLauncher;

// The window side of the chat-client launcher: its messages go to the owner's message boxes;
// when no client is found, the box also offers "瀏灠..." to pick the program, which is kept
// for later launches and started at once.
class ChatClientPrompt : public QObject {
    Q_OBJECT
public:
    // `showMessage` shows a text; `noteMessage` records a text shown by the prompt's own box.
    ChatClientPrompt(QWidget *owner, std::function<void(const QString &)> showMessage,
                     std::function<void(const QString &)> noteMessage);
    ~ChatClientPrompt() override;

    bool start();
    ChatClientLauncher &launcher() { return *m_launcher; }

private:
    void offerToChoose(const QString &text);

    QWidget *m_owner;
    std::function<void(const QString &)> m_noteMessage;
    QSettings *m_settings;
    ChatClientLauncher *m_launcher;
};

} // namespace dpx
