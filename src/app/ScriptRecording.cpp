// SPDX-License-Identifier: GPL-3.0-or-later
// The script's side of recordings: the record button and the answers to save dialogs.
#include "app/MainPhoneWindow.h"
#include "app/ScriptRunner.h"
#include "ui/FileChooser.h"
#include "ui/KeyButton.h"

namespace dpx {

ScriptRunner::~ScriptRunner()
{
    setFileAnswerHook({});
}

void ScriptRunner::answerFileDialogs()
{
    // A script runs headless: a save dialog takes the answer queued by answer-save, and
    // without one it is cancelled and the script fails, rather than wait for a user.
    setFileAnswerHook([this](const FileRequest &request) -> std::optional<QStringList> {
        if (request.mode != FileRequest::Mode::Save)
            return std::nullopt;
        if (m_saveAnswers.isEmpty()) {
            if (m_unansweredDialog.isEmpty())
                m_unansweredDialog = QStringLiteral("a save dialog opened (proposing \"%1\") with no "
                                                    "answer-save queued")
                                         .arg(request.fileName);
            return QStringList();
        }
        const QString answer = m_saveAnswers.takeFirst();
        return answer.isEmpty() ? QStringList() : QStringList{answer};
    });
}

QString ScriptRunner::actOnRecording(const ScriptCommand &command)
{
    if (command.kind == ScriptCommand::AnswerSave) {
        m_saveAnswers.append(command.flag ? QString() : command.text);
        return {};
    }
    KeyButton *button = m_window.keyButton(1046);
    if (!button)
        return QStringLiteral("the window has no record button");
    button->click(); // a second press saves at once, through the queued answers
    return std::exchange(m_unansweredDialog, QString());
}

} // namespace dpx
