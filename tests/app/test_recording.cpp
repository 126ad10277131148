// SPDX-License-Identifier: GPL-3.0-or-later
// The record button's flow on the test services' sound server: recording from the box's
// microphone, the save dialog's answers and the recording offered again after an exit.
#include "../audio/AudioTestSupport.h"
#include "PhoneFixture.h"

#include "app/RecordingFlow.h"
#include "audio/RecordingFiles.h"
#include "audio/SoundRecorder.h"
#include "ui/FileChooser.h"
#include "ui/GifAnimation.h"
#include "ui/KeyButton.h"

#include <QRegularExpression>
#include <QtEndian>

using namespace dpx;

namespace {

struct Questions {
    QStringList asked;
    QList<bool> answers; // Yes when it runs out
    RecordingFlow::Question hook()
    {
        return [this](const QString &caption, const QString &text) {
            asked << caption + QLatin1Char('|') + text;
            return answers.isEmpty() ? true : answers.takeFirst();
        };
    }
};

struct SaveDialogs {
    QList<FileRequest> requests;
    QStringList answers; // empty text cancels
    SaveDialogs()
    {
        setFileAnswerHook([this](const FileRequest &request) -> std::optional<QStringList> {
            requests << request;
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            return answer.isEmpty() ? QStringList() : QStringList{answer};
        });
    }
    ~SaveDialogs() { setFileAnswerHook({}); }
};

void recordAWhile(Phone &phone)
{
    // The box's arrival has had its say on the status line.
    QTRY_COMPARE(phone.window->statusText(), QStringLiteral("Device has Detected!"));
    phone.window->keyButton(1046)->click();
    QVERIFY(phone.window->isRecording());
    QTRY_VERIFY_WITH_TIMEOUT(phone.window->recordingFlow().recorder().dataLength() > 4000, 15000);
}

qint64 savedDataLength(const QString &path)
{
    const QByteArray bytes = test::fileBytes(path);
    if (bytes.size() < 46)
        return -1;
    const quint32 riff = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const quint32 data = qFromLittleEndian<quint32>(bytes.constData() + 42);
    return riff == data + 38 && bytes.size() == 46 + qint64(data) ? qint64(data) : -2;
}

} // namespace

class RecordingFlowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void recordsAndAsksAgainWhenAnOverwriteIsDeclined()
    {
        REQUIRE_TEST_SERVER();
        Phone phone;
        Questions questions;
        phone.window->recordingFlow().setQuestion(questions.hook());
        SaveDialogs dialogs;
        const QString existing = phone.root.filePath(QStringLiteral("kept.wav"));
        const QString fresh = phone.root.filePath(QStringLiteral("fresh")); // the suffix is added
        QVERIFY(test::writeFile(existing, "mine"));
        dialogs.answers = {existing, fresh};
        questions.answers = {false};

        recordAWhile(phone);
        QCOMPARE(phone.window->statusText(), QStringLiteral("錄音..."));
        QCOMPARE(phone.window->keyButton(1046)->normalImageName(), QStringLiteral("327"));
        GifAnimation *indicator = phone.window->lamp(-1112);
        QVERIFY(indicator->isAnimated());
        QCOMPARE(indicator->frameDelayMs(0), 300);
        QTest::qWait(MainPhoneWindow::StatusTimerMs + 200);
        QCOMPARE(phone.window->statusText(), QStringLiteral("錄音...")); // kept while recording

        phone.window->keyButton(1046)->click();
        QVERIFY(!phone.window->isRecording());
        QCOMPARE(phone.window->statusText(), QStringLiteral("錄音停止..."));
        QCOMPARE(phone.window->keyButton(1046)->normalImageName(), QStringLiteral("328"));
        QVERIFY(!indicator->isAnimated());
        QCOMPARE(questions.asked, QStringList{QStringLiteral("Warning|文檔已經存在,是否覆蓋?")});
        QCOMPARE(dialogs.requests.size(), 2);
        const FileRequest &first = dialogs.requests.first();
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{14}$")).match(first.fileName).hasMatch());
        QCOMPARE(first.filters, QStringList{QStringLiteral("WAV File (*.wav)")});
        QCOMPARE(first.defaultSuffix, QStringLiteral("wav"));
        QCOMPARE(dialogs.requests.at(1).directory, phone.root.path()); // the last choice's folder
        QCOMPARE(test::fileBytes(existing), QByteArray("mine"));      // declined: untouched
        QVERIFY(savedDataLength(fresh + QStringLiteral(".wav")) > 4000);
        QVERIFY(unsavedRecordings(phone.data.path()).isEmpty());
    }

    void cancellingDiscardsTheRecording()
    {
        REQUIRE_TEST_SERVER();
        Phone phone;
        SaveDialogs dialogs; // no answer: cancel
        recordAWhile(phone);
        QCOMPARE(unsavedRecordings(phone.data.path()).size(), 1);
        phone.window->keyButton(1046)->click();
        QCOMPARE(dialogs.requests.size(), 1);
        QVERIFY(unsavedRecordings(phone.data.path()).isEmpty());
        QCOMPARE(phone.window->openMessageCount(), 0);
    }

    // An exit keeps what was recorded; the next start offers it: Yes saves, No deletes.
    void exitWhileRecordingIsOfferedAtTheNextStart_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void exitWhileRecordingIsOfferedAtTheNextStart()
    {
        REQUIRE_TEST_SERVER();
        QFETCH(bool, keep);
        Phone phone;
        recordAWhile(phone);
        phone.window.reset(); // the program ends while it records
        const QStringList left = unsavedRecordings(phone.data.path());
        QCOMPARE(left.size(), 1);
        QVERIFY(savedDataLength(left.first()) > 4000); // finished with its sizes

        PhoneServices services;
        services.dataFolder = &phone.data;
        services.database = phone.db.get();
        services.box = phone.link.get();
        phone.window = std::make_unique<MainPhoneWindow>(services);
        Questions questions;
        questions.answers = {keep};
        phone.window->recordingFlow().setQuestion(questions.hook());
        SaveDialogs dialogs;
        const QString target = phone.root.filePath(QStringLiteral("later.wav"));
        dialogs.answers = {target};
        phone.window->recordingFlow().offerUnsaved();
        QCOMPARE(questions.asked.size(), 1);
        QCOMPARE(questions.asked.first().section(QLatin1Char('|'), 1),
                 QStringLiteral("有未保存的錄音 %1, 是否保存?").arg(QFileInfo(left.first()).fileName()));
        QCOMPARE(QFileInfo::exists(target), keep);
        QVERIFY(unsavedRecordings(phone.data.path()).isEmpty());
    }
};

QTEST_MAIN(RecordingFlowTest)
#include "test_recording.moc"
