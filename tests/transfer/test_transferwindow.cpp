// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer window offscreen against the simulated box: adding files, the slot chooser,
// the refusals before a start, sorting then transferring, the running state, its picture.
#include "TransferTestSupport.h"

#include "transfer/TransferSession.h"
#include "transfer/window/AudioTransferWindow.h"
#include "ui/ReportListCtrl.h"
#include "ui/SkinBitmapButton.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;
using namespace dpx::test;

Q_DECLARE_METATYPE(dpx::TransferOutcome)

class TransferWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void addTakesRawAndRefusesOthers();
    void refusalsBeforeAStart_data();
    void refusalsBeforeAStart();
    void slotChooserWritesTheCell();
    void sortThenTransferSendsEachRowsFile();
    void closingTheWindowCancelsItsRun();

private:
    std::unique_ptr<BoxFixture> f;
    std::unique_ptr<TransferSession> session;
    std::unique_ptr<AudioTransferWindow> window;
    QStringList messages;
    bool boxPresent = true;
};

void TransferWindowTest::init()
{
    qRegisterMetaType<TransferOutcome>();
    f = std::make_unique<BoxFixture>();
    TransferSession::Hooks hooks;
    hooks.transport = &f->box;
    session = std::make_unique<TransferSession>(hooks);
    session->setLimits(shortLimits());
    messages.clear();
    boxPresent = true;
    AudioTransferWindow::Services s;
    s.session = session.get();
    s.dataFolder = f->dir.path();
    s.isBoxPresent = [this] { return boxPresent; };
    s.showMessage = [this](const QString &t) { messages << t; };
    s.confirm = [](const QString &) { return true; };
    window = std::make_unique<AudioTransferWindow>(s);
    window->show();
}

void TransferWindowTest::cleanup()
{
    window.reset();
    session.reset();
    f.reset();
}

void TransferWindowTest::addTakesRawAndRefusesOthers()
{
    QVERIFY(!window->addFile(f->file(QStringLiteral("song.mp3"), QByteArray("ID3"))));
    QCOMPARE(messages, QStringList{QStringLiteral("程式不支持這種格式!")});
    QCOMPARE(window->list()->rowCount(), 0);
    const QString upper = f->file(QStringLiteral("BELL.RAW"), pattern(100));
    QVERIFY(window->addFile(upper));
    QVERIFY(window->addFile(upper)); // the same file twice is two rows
    const ReportListModel *rows = window->list()->listModel();
    QCOMPARE(rows->rowCount(), 2);
    QCOMPARE(rows->cell(0, 0), QStringLiteral("BELL.RAW"));
    QCOMPARE(rows->cell(0, 1), QString());
    QVERIFY(rows->isChecked(0));
    QCOMPARE(window->pathOf(1), upper);
    QCOMPARE(window->lastBrowseFolder(), f->dir.path());
    window->list()->selectRow(0);
    window->deleteSelected();
    QCOMPARE(rows->rowCount(), 1);
}

void TransferWindowTest::refusalsBeforeAStart_data()
{
    QTest::addColumn<int>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("no box") << 0 << QStringLiteral("USB設備錯誤!");
    QTest::newRow("nothing checked") << 1 << QStringLiteral("請選擇傳輸音檔!");
    QTest::newRow("a checked row without a slot") << 2 << QStringLiteral("請選擇歌曲second.raw的傳輸位置!");
}

void TransferWindowTest::refusalsBeforeAStart()
{
    QFETCH(int, situation);
    QFETCH(QString, message);
    window->addFile(f->file(QStringLiteral("first.raw"), pattern(100)));
    window->addFile(f->file(QStringLiteral("second.raw"), pattern(100)));
    window->setSlot(0, 1);
    boxPresent = situation != 0;
    if (situation == 1) {
        window->list()->listModel()->setChecked(0, false);
        window->list()->listModel()->setChecked(1, false);
    }
    f->box.clearOutputReports();
    window->transferOrCancel();
    QCOMPARE(messages, QStringList{message});
    QVERIFY(!session->isRunning());
    QVERIFY(f->box.outputReports().isEmpty()); // nothing reached the box
}

void TransferWindowTest::slotChooserWritesTheCell()
{
    window->addFile(f->file(QStringLiteral("a.raw"), pattern(100)));
    ReportListCtrl *list = window->list();
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, cell.center());
    QComboBox *chooser = list->choiceEditor();
    QVERIFY(chooser);
    QCOMPARE(chooser->count(), 6);
    QCOMPARE(chooser->itemText(0), QStringLiteral("一般鈴聲"));
    QCOMPARE(chooser->itemText(5), QStringLiteral("音樂5"));
    chooser->setCurrentIndex(3);
    // The choice is committed when the list closes: here by the start of a transfer.
    QSignalSpy finished(session.get(), &TransferSession::finished);
    window->transferOrCancel();
    QCOMPARE(list->listModel()->cell(0, 1), QStringLiteral("音樂3"));
    QVERIFY(!list->choiceEditor());
    QVERIFY(finished.wait(10000));
}

void TransferWindowTest::sortThenTransferSendsEachRowsFile()
{
    const QByteArray b = pattern(700, 2);
    const QByteArray a = pattern(900, 1);
    window->addFile(f->file(QStringLiteral("b.raw"), b));
    window->addFile(f->file(QStringLiteral("a.raw"), a));
    window->addFile(f->file(QStringLiteral("0.raw"), pattern(500, 3)));
    window->setSlot(0, 1);
    window->setSlot(1, 2);
    window->setSlot(2, 3);
    window->list()->listModel()->setChecked(2, false);
    const QByteArray slot3 = f->region(30, 500);
    window->list()->clickHeading(0); // 0.raw, a.raw, b.raw: each path, slot and check with its row
    QVERIFY(!window->list()->listModel()->isChecked(0));
    window->list()->listModel()->removeRow(0);
    QCOMPARE(window->list()->listModel()->cell(0, 0), QStringLiteral("a.raw"));
    QCOMPARE(window->pathOf(0), f->dir.filePath(QStringLiteral("a.raw")));
    QSignalSpy finished(session.get(), &TransferSession::finished);
    window->transferOrCancel();
    QCOMPARE(window->transferButton()->text(), QStringLiteral("取消"));
    QVERIFY(!window->addButton()->isEnabled());
    QVERIFY(!window->factoryButton()->isEnabled());
    QVERIFY(window->grab().toImage().save(QStringLiteral("transfer-window.png")));
    QVERIFY(finished.wait(10000));
    QVERIFY(finished.first().first().value<TransferOutcome>().ok);
    QCOMPARE(f->region(10, b.size()), b);
    QCOMPARE(f->region(20, a.size()), a);
    QCOMPARE(f->region(30, 500), slot3); // the unchecked row was not sent
    QCOMPARE(window->transferButton()->text(), QStringLiteral("傳輸"));
    QVERIFY(window->addButton()->isEnabled());
    QVERIFY(messages.isEmpty());
}

void TransferWindowTest::closingTheWindowCancelsItsRun()
{
    f->box.setPacing(true); // long enough to be closed in the middle
    window->addFile(f->file(QStringLiteral("long.raw"), pattern(60000)));
    window->setSlot(0, 0);
    QSignalSpy finished(session.get(), &TransferSession::finished);
    QSignalSpy progress(session.get(), &TransferSession::progress);
    window->transferOrCancel();
    QVERIFY(progress.wait(5000));
    window->close();
    window.reset(); // the window goes; the session finishes its clean-up
    QVERIFY(finished.wait(5000));
    QVERIFY(finished.first().first().value<TransferOutcome>().cancelled);
    QVERIFY(!f->box.linkOn());
    QCOMPARE(framesSent(f->box, "01040000FB"), 1); // LinkOff once
}

QTEST_MAIN(TransferWindowTest)
#include "test_transferwindow.moc"
