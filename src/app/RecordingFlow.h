// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace dpx {

class MainPhoneWindow;
class SoundRecorder;

// The record button's flow: the first press records the box's sound card into the unsaved
// recordings folder of the data folder, the next press (or a recording that ends by itself)
// asks where to keep it and moves it there. A recording not saved (the program ended, or
// crashed) is offered again at the next start. The window only forwards the button.
class RecordingFlow : public QObject {
    Q_OBJECT
  public:
    // A Yes/No question (caption, text); true for Yes.
    using Question = std::function<bool(const QString &caption, const QString &text)>;

    // `dataFolder` empty: recording is not possible (the start says "error #01").
    RecordingFlow(MainPhoneWindow &window, QString dataFolder, QObject *parent = nullptr);
    ~RecordingFlow() override; // a recording still running is finished and kept

    // The record button.
    void toggle();
    bool isRecording() const;
    // Offers each recording an earlier run left unsaved: Yes saves it, No deletes it.
    void offerUnsaved();
    // Replaces the message boxes that ask Yes/No (scripts, tests).
    void setQuestion(Question question) { m_question = std::move(question); }
    // The folder the next save dialog opens in.
    QString saveFolder() const;
    SoundRecorder &recorder() { return *m_recorder; }

  private:
    void start();
    void stop(const QString &reason);
    void save(const QString &path);
    void showIdle();
    bool ask(const QString &caption, const QString &text);

    MainPhoneWindow &m_window;
    QString m_dataFolder;
    SoundRecorder *m_recorder = nullptr;
    Question m_question;
    QString m_lastFolder;
};

} // namespace dpx
