// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace dpx {

// What a window asks of a file dialog.
struct FileRequest {
    enum class Mode { Open, OpenMany, Save };
    Mode mode = Mode::Open;
    QString caption;
    QString directory;     // the folder it opens in; empty: the dialog's own choice
    QString fileName;      // the proposed name (Save)
    QStringList filters;   // "WAV File (*.wav)", …; patterns match in any case
    QString defaultSuffix; // added to a saved name typed without one
};

// Asks for files: the chosen paths, empty when cancelled. A save never asks about an existing
// file itself: the caller does, with its own text. Windows call this instead of QFileDialog so
// that tests and scripts can answer in the dialog's place.
QStringList chooseFiles(QWidget *parent, const FileRequest &request);

// Answers given in place of the dialog while installed: a value is the answer (an empty list
// cancels), nullopt lets the dialog open. Installing an empty function removes it.
using FileAnswerHook = std::function<std::optional<QStringList>(const FileRequest &)>;
void setFileAnswerHook(FileAnswerHook hook);

} // namespace dpx
