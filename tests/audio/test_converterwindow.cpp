// SPDX-License-Identifier: GPL-3.0-or-later
// The converter window offscreen on the test services' sound server: its list buttons and
// file, Play without a click, captures ended by Stop and by the end of the file (converted
// through the save flow answered in the dialog's place), and the volume buttons.
#include "AudioTestSupport.h"

#include "audio/MasterOutputVolume.h"
#include "audio/SegmentPreview.h"
#include "audio/SoundFilePlayer.h"
#include "audio/window/AudioConverterWindow.h"
#include "audio/window/WaveformSlider.h"
#include "ui/FileChooser.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>

using namespace dpx;
using namespace dpx::test;

class ConverterWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_short = m_dir.filePath(QStringLiteral("short.wav")); // 6 s, 22.05 kHz
    QString m_long = m_dir.filePath(QStringLiteral("long.wav"));   // 20 s, 48 kHz stereo
    QStringList m_messages;
    QStringList m_questions;
    bool m_overwrite = true;

    std::unique_ptr<AudioConverterWindow> makeWindow(MasterOutputVolume *volume = nullptr)
    {
        AudioConverterWindow::Services s;
        s.dataFolder = m_dir.path();
        s.volume = volume;
        s.showMessage = [this](const QString &text) { m_messages << text; };
        s.confirm = [this](const QString &text) {
            m_questions << text;
            return m_overwrite;
        };
        auto window = std::make_unique<AudioConverterWindow>(std::move(s));
        window->show();
        return window;
    }

    static void answerSaves(QStringList answers)
    {
        setFileAnswerHook([answers](const FileRequest &request) mutable -> std::optional<QStringList> {
            if (request.mode != FileRequest::Mode::Save || answers.isEmpty())
                return QStringList();
            if (request.defaultSuffix != QLatin1String("raw"))
                return QStringList(); // a cancel fails the test
            return QStringList{answers.takeFirst()};
        });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeTone(m_short, 6.0, 22050, 1));
        QVERIFY(writeTone(m_long, 20.0, 48000, 2));
    }

    void init()
    {
        m_messages.clear();
        m_questions.clear();
        m_overwrite = true;
        QFile::remove(m_dir.filePath(QStringLiteral("MPlayer.mdr")));
    }
    void cleanup() { setFileAnswerHook({}); }

    void listButtonsKeepTheListFile()
    {
        const QString list = m_dir.filePath(QStringLiteral("MPlayer.mdr"));
        QVERIFY(test::writeFile(list, "/m/0.wav\r\n/m/1.wav\r\n/m/2.wav\r\n/m/3.wav\r\n/m/4.wav\r\n----"));
        auto window = makeWindow();
        QCOMPARE(window->list()->count(), 5);
        window->list()->item(1)->setSelected(true);
        window->list()->item(3)->setSelected(true);
        window->deleteSelected();
        QCOMPARE(window->paths(), QStringList({"/m/0.wav", "/m/2.wav", "/m/4.wav"}));
        QCOMPARE(test::fileBytes(list), QByteArray("/m/0.wav\r\n/m/2.wav\r\n/m/4.wav\r\n----")); // at once

        // Dropped sound files are added; anything else is not.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_short), QUrl::fromLocalFile(list),
                      QUrl(QStringLiteral("https://example.com/x.mp3"))});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window->list()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(window->list()->viewport(), &drop);
        QCOMPARE(window->paths(), QStringList({"/m/0.wav", "/m/2.wav", "/m/4.wav", m_short}));

        // Hiding the list keeps the top-left corner.
        window->move(120, 80);
        window->toggleList();
        QCOMPARE(window->size(), QSize(249, 88));
        QCOMPARE(window->pos(), QPoint(120, 80));
        window->toggleList();
        QCOMPARE(window->size(), QSize(249, 283));
    }

    void playWithoutAClickPlaysTheFirstOnTheDefaultSink()
    {
        REQUIRE_TEST_SERVER();
        auto window = makeWindow();
        window->addPaths({m_long, m_short});
        window->play();
        QCOMPARE(window->player()->file(), m_long);
        QTRY_COMPARE(ownSinkInputs().size(), 1);
        QCOMPARE(ownSinkInputs().first().sinkName, QStringLiteral("speakers"));
        QTRY_VERIFY(window->timeText().startsWith(QLatin1String("Play 00:0")));
        window->seekToPercent(50); // 10 s of 20
        QCOMPARE(window->timeText(), QStringLiteral("00:10"));
        window->stop();
        QCOMPARE(window->timeText(), QStringLiteral("Play 00:00"));
        QTRY_COMPARE(ownSinkInputs().size(), 0);

        // A renamed text file: no playback and no message, the entry greyed with the reason.
        const QString fake = m_dir.filePath(QStringLiteral("fake.mp3"));
        QVERIFY(test::writeFile(fake, "not a sound\n"));
        window->addPaths({fake});
        window->playRow(2);
        QVERIFY(!window->player()->isPlaying());
        QVERIFY(!window->list()->item(2)->toolTip().isEmpty());
        QVERIFY(m_messages.isEmpty());
    }

    // A capture ended by Stop: "temp" is refused, an existing target is asked about, and the
    // part is written in the box's format.
    void captureEndedByStopIsConverted()
    {
        REQUIRE_TEST_SERVER();
        auto window = makeWindow();
        window->addPaths({m_long});
        window->play();
        QTest::qWait(500);
        window->convertPressed();
        QVERIFY(window->capture().isCapturing());
        QCOMPARE(window->convertButton()->tipText(), QStringLiteral("停止轉換"));
        const qint64 start = window->capture().startUs();
        // Long enough that dragging the stop mark back below shortens it by more than a second,
        // however slowly a busy machine plays.
        QTRY_VERIFY_WITH_TIMEOUT(window->player()->positionUs() - start >= 2'500'000, 15000);
        QTRY_VERIFY(!window->slider()->waveform().isEmpty());

        const QString target = m_dir.filePath(QStringLiteral("part.raw"));
        QVERIFY(test::writeFile(target, "old"));
        answerSaves({m_dir.filePath(QStringLiteral("TEMP.raw")), target});
        QSignalSpy done(window.get(), &AudioConverterWindow::conversionFinished);
        const qint64 stopAtLeast = window->player()->positionUs();
        window->stop(); // ends the capture as a second press does
        QCOMPARE(m_messages, QStringList{QStringLiteral("這個音檔正在被使用.\n 請另取個名字!")});
        QCOMPARE(m_questions, QStringList{QStringLiteral("這個音檔已經存在. \n 你想覆蓋這個音檔嗎?")});
        QCOMPARE(window->convertButton()->tipText(), QStringLiteral("轉換"));
        QTRY_COMPARE(done.count(), 1);
        const qint64 bytes = done.first().first().toLongLong();
        QCOMPARE(QFileInfo(target).size(), bytes);
        QVERIFY2(bytes >= (stopAtLeast - start) * 16000 / 1000000 && bytes <= 5 * 16000,
                 qPrintable(QString::number(bytes)));

        // The marked part again from the waveform's menu: heard as the box plays it, and
        // converted once more to another name.
        QVERIFY(window->lastSegment());
        window->previewSegment();
        QTRY_VERIFY(window->preview() && window->preview()->isPlaying());
        QTRY_COMPARE(ownSinkInputs().size(), 1);
        // Dragging the stop mark back 20 px of the 20 s file's waveform shortens the part.
        WaveformSlider *slider = window->slider();
        QVERIFY(slider->hasMarks());
        const QPoint stopMark(slider->xForFraction(slider->markTo()), 8);
        QTest::mousePress(slider, Qt::LeftButton, {}, stopMark);
        QTest::mouseMove(slider, stopMark - QPoint(20, 0));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, stopMark - QPoint(20, 0));
        QCOMPARE(window->sliderPosition(), 0); // the thumb stayed
        const double length = *window->lastSegment()->lengthSeconds;
        QVERIFY2(length > 0 && length < double(bytes) / 16000 - 1.0, qPrintable(QString::number(length)));
        const QString again = m_dir.filePath(QStringLiteral("again.raw"));
        answerSaves({again});
        window->convertAgain();
        QTRY_COMPARE(done.count(), 2);
        QCOMPARE(QFileInfo(again).size(), qint64(std::floor(length * 16000 + 1e-6)));
    }

    void captureEndedByTheFileEndRunsToTheDecodersEnd()
    {
        REQUIRE_TEST_SERVER();
        auto window = makeWindow();
        window->addPaths({m_short});
        window->play();
        QTest::qWait(300);
        window->convertPressed();
        const qint64 start = window->capture().startUs();
        const QString target = m_dir.filePath(QStringLiteral("tail.raw"));
        answerSaves({target});
        QSignalSpy done(window.get(), &AudioConverterWindow::conversionFinished);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 15000);
        QVERIFY(m_messages.isEmpty());
        const qint64 startFrame = std::llround(double(start) / 1e6 * 22050);
        QCOMPARE(done.first().first().toLongLong(), (6 * 22050 - startFrame) * 16000 / 22050);
        QCOMPARE(window->timeText(), QStringLiteral("Play 00:00"));
        QCOMPARE(window->sliderPosition(), 0);
        QVERIFY(!window->player()->isPlaying());
    }

    void volumeButtons()
    {
        REQUIRE_TEST_SERVER();
        MasterOutputVolume volume;
        QTRY_VERIFY(volume.GetMaxVolume() > 0);
        const int maximum = volume.GetMaxVolume();
        auto window = makeWindow(&volume);
        const auto press = [&](bool up, int from) {
            volume.SetVolume(from);
            QTRY_COMPARE(volume.GetVolume(), from);
            up ? window->volumeUp() : window->volumeDown();
        };
        press(false, 5);
        QTRY_COMPARE(volume.GetVolume(), 0);
        press(true, maximum - 10);
        QTRY_COMPARE(volume.GetVolume(), maximum);
        press(false, maximum);
        QTRY_COMPARE(volume.GetVolume(), maximum - maximum / 10);
        // Above 100 % (set from outside) Up leaves it alone.
        QVERIFY(pactl({"set-sink-volume", "@DEFAULT_SINK@", "150%"}));
        QTRY_VERIFY(volume.GetVolume() > maximum);
        const int loud = volume.GetVolume();
        window->volumeUp();
        QTest::qWait(200);
        QCOMPARE(volume.GetVolume(), loud);
        volume.SetVolume(maximum);
    }
};

QTEST_MAIN(ConverterWindowTest)
#include "test_converterwindow.moc"
