// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingFlow.h"

#include "app/MainPhoneWindow.h"
#include "audio/RecordingFiles.h"
#include "audio/SoundRecorder.h"
#include "audio/WavFileWriter.h"
#include "ui/FileChooser.h"
#include "ui/GifAnimation.h"
#include "ui/KeyButton.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace dpx {

namespace {

constexpr int RecordButton = 1046;
constexpr int RecordIndicator = 1112;
constexpr int RecordingImage = 509;
constexpr int IdleImage = 510;

} // namespace

RecordingFlow::RecordingFlow(MainPhoneWindow &window, QString dataFolder, QObject *parent)
    : QObject(parent), m_window(window), m_dataFolder(std::move(dataFolder)),
      m_recorder(new SoundRecorder(this))
{
    connect(m_recorder, &SoundRecorder::interrupted, this, [this](const QString &reason) {
        // The recorder has finished the file already; the flow goes on as after a press.
        stop(reason);
    });
}

RecordingFlow::~RecordingFlow()
{
    m_recorder->stop(); // the file stays in the unsaved folder for the next start
}

bool RecordingFlow::isRecording() const
{
    return m_recorder->isRecording();
}

void RecordingFlow::toggle()
{
    if (m_window.isRecording())
        stop(QString());
    else
        start();
}

QString RecordingFlow::saveFolder() const
{
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    return QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
}

bool RecordingFlow::ask(const QString &caption, const QString &text)
{
    if (m_question)
        return m_question(caption, text);
    return QMessageBox::question(&m_window, caption, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void RecordingFlow::showIdle()
{
    if (GifAnimation *indicator = m_window.lamp(-RecordIndicator)) {
        indicator->LoadFromResource(IdleImage);
        indicator->Play();
    }
}

void RecordingFlow::start()
{
    const QList<QAudioDevice> devices = SoundRecorder::captureDevices();
    QStringList names;
    for (const QAudioDevice &device : devices)
        names << device.description();
    const qsizetype chosen = FindUsbSoundCard(names);
    if (chosen < 0) {
        m_window.showMessage(tr("沒有找到USB聲卡!"));
        return;
    }
    m_window.ShowStatusText(tr("錄音..."));
    if (GifAnimation *indicator = m_window.lamp(-RecordIndicator)) {
        indicator->LoadFromResource(RecordingImage);
        indicator->Play();
    }
    const QString folder = unsavedRecordingsFolder(m_dataFolder);
    QString path = QDir(folder).filePath(recordingStamp(QDateTime::currentDateTime()) + QStringLiteral(".wav"));
    for (int n = 2; QFileInfo::exists(path); ++n) // two recordings within one second
        path = QDir(folder).filePath(recordingStamp(QDateTime::currentDateTime())
                                     + QStringLiteral("-%1.wav").arg(n));
    const bool made = !m_dataFolder.isEmpty() && QDir().mkpath(folder);
    if (!made || !m_recorder->start(devices.at(chosen), path)) {
        showIdle();
        if (made && m_recorder->deviceRefused())
            m_window.showCaptionedMessage(tr("提示"), tr("创建directsound 失败！"));
        m_window.showMessage(tr("error #01"));
        return;
    }
    if (KeyButton *button = m_window.keyButton(RecordButton))
        button->SetSkin(QStringLiteral("327"), QStringLiteral("330"), QStringLiteral("327"), QStringLiteral("327"));
    m_window.setRecording(true);
}

void RecordingFlow::stop(const QString &reason)
{
    m_window.setRecording(false);
    m_window.ShowStatusText(tr("錄音停止..."));
    showIdle();
    m_recorder->stop();
    if (KeyButton *button = m_window.keyButton(RecordButton))
        button->SetSkin(QStringLiteral("328"), QStringLiteral("330"), QStringLiteral("329"), QStringLiteral("328"));
    if (!reason.isEmpty())
        m_window.showMessage(reason);
    save(m_recorder->path());
}

void RecordingFlow::save(const QString &path)
{
    const QFileInfo recording(path);
    if (path.isEmpty() || !recording.exists() || recording.size() <= RecordingWav::HeaderSize) {
        QFile::remove(path);
        m_window.showMessage(tr("error Can not save"));
        return;
    }
    for (;;) {
        FileRequest request;
        request.mode = FileRequest::Mode::Save;
        request.directory = saveFolder();
        request.fileName = recordingStamp(QDateTime::currentDateTime());
        request.filters = {QStringLiteral("WAV File (*.wav)")};
        request.defaultSuffix = QStringLiteral("wav");
        const QStringList chosen = chooseFiles(&m_window, request);
        if (chosen.isEmpty()) {
            QFile::remove(path); // cancelled: the recording is discarded
            return;
        }
        QString target = chosen.first();
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".wav");
        m_lastFolder = QFileInfo(target).absolutePath();
        if (QFileInfo::exists(target) && !ask(QStringLiteral("Warning"), tr("文檔已經存在,是否覆蓋?")))
            continue; // asked again, under a fresh name
        QString error;
        if (!moveRecording(path, target, &error))
            m_window.showMessage(tr("錄音無法儲存:%1\n它保留在資料夾中,下次啟動時會再詢問。").arg(error));
        return;
    }
}

void RecordingFlow::offerUnsaved()
{
    for (const QString &path : unsavedRecordings(m_dataFolder)) {
        if (m_recorder->isRecording() && path == m_recorder->path())
            continue;
        qint64 length = 0;
        QString error;
        if (!repairRecording(path, &length, &error) || length == 0) {
            QFile::remove(path); // nothing in it that could be played
            continue;
        }
        if (ask(m_window.windowTitle(), tr("有未保存的錄音 %1, 是否保存?").arg(QFileInfo(path).fileName())))
            save(path);
        else
            QFile::remove(path);
    }
}

} // namespace dpx
