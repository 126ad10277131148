// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileChooser.h"

#include <QDir>
#include <QFileDialog>

namespace dpx {

namespace {

FileAnswerHook &answerHook()
{
    static FileAnswerHook hook;
    return hook;
}

} // namespace

void setFileAnswerHook(FileAnswerHook hook)
{
    answerHook() = std::move(hook);
}

QStringList chooseFiles(QWidget *parent, const FileRequest &request)
{
    if (answerHook())
        if (std::optional<QStringList> answer = answerHook()(request))
            return *answer;

    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setNameFilters(request.filters);
    // Name patterns match in any case, so "SONG.MP3" shows under "*.mp3".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    switch (request.mode) {
    case FileRequest::Mode::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileRequest::Mode::OpenMany:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileRequest::Mode::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        break;
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace dpx
