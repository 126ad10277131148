// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChatClientPrompt.h"

#include "app/ChatClientLauncher.h"
#include "ui/FileChooser.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace dpx {

ChatClientPrompt::ChatClientPrompt(QWidget *owner, std::function<void(const QString &)> showMessage,
                                   std::function<void(const QString &)> noteMessage)
    : QObject(owner),
      m_owner(owner),
      m_noteMessage(std::move(noteMessage)),
      m_settings(new QSettings(this)),
      m_launcher(new ChatClientLauncher(*m_settings, this))
{
    connect(m_launcher, &ChatClientLauncher::messageRequested, this, std::move(showMessage));
    connect(m_launcher, &ChatClientLauncher::clientMissing, this, &ChatClientPrompt::offerToChoose);
}

ChatClientPrompt::~ChatClientPrompt() = default;

bool ChatClientPrompt::start()
{
    return m_launcher->launch();
}

void ChatClientPrompt::offerToChoose(const QString &text)
{
    if (m_noteMessage)
        m_noteMessage(text);
    auto *box = new QMessageBox(QMessageBox::NoIcon, m_owner ? m_owner->windowTitle() : QString(),
                                text, QMessageBox::Ok, m_owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *browse = box->addButton(tr("瀏灠..."), QMessageBox::ActionRole);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString program = chooseFiles(m_owner, {}).value(0);
        if (program.isEmpty())
            return;
        m_launcher->choose(program);
        m_launcher->launch();
    });
    box->open(); // never blocks the telephone
}

} // namespace dpx
