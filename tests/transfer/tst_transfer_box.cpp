// SPDX-License-Identifier: GPL-3.0-or-later
// The worker body against the simulated box: slot writes, refusals that leave the box alone,
// the reply faults, verify, the factory default and image backup/restore.
#include "TransferTestSupport.h"

#include "transfer/AudioSourceFile.h"
#include "transfer/EepromLayout.h"
#include "transfer/TransferPlans.h"
#include "transfer/TransferTexts.h"

#include <QElapsedTimer>
#include <QTest>

#include <sys/resource.h>

#include <thread>

using namespace dpx;
using namespace dpx::test;

namespace {

// Count of output reports that are EraseBlock frames (01 26 01 ...).
int erasesSent(const SimulatedBox &box)
{
    return framesSent(box, "012601");
}

// While it lives, no file can be opened in this process (the open fails as on a file another
// program holds); the test's own files are open already.
class NoFileOpens {
public:
    NoFileOpens()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        rlimit none = m_saved;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_NOFILE, &none);
    }
    ~NoFileOpens() { setrlimit(RLIMIT_NOFILE, &m_saved); }

private:
    rlimit m_saved{};
};

} // namespace

class TransferBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileLandsInItsSlot_data();
    void fileLandsInItsSlot();
    void refusedFilesLeaveTheRegion_data();
    void refusedFilesLeaveTheRegion();
    void fileThatCannotBeOpened();
    void tableProblemsEraseNothing_data();
    void tableProblemsEraseNothing();
    void repliesLostLateOrRefused_data();
    void repliesLostLateOrRefused();
    void eventDuringEraseIsPassedOn();
    void pulledBoxFailsAtOnce();
    void verifyMendsWhatTheBoxGotWrong_data();
    void verifyMendsWhatTheBoxGotWrong();
    void factoryDefaultChecksFirst();
    void factoryDefaultFillsABlankBox();
    void backupRestoreRoundTrip();
};

void TransferBoxTest::fileLandsInItsSlot_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("stored"); // bytes kept after the cut
    QByteArray small = shippedTable();
    for (int n = 1; n <= 5; ++n)
        small[56 + 4 * n] = char(2 + n); // 3, 4, 5, 6, 7: one block per slot
    QTest::newRow("300 bytes: a page and a 44-byte block") << shippedTable() << 1 << 300 << 300;
    QTest::newRow("a multiple of 256") << shippedTable() << 4 << 1024 << 1024;
    QTest::newRow("ring slot") << shippedTable() << 0 << 777 << 777;
    QTest::newRow("cut above the region less three pages") << small << 0 << Block << Block - 768;
    QTest::newRow("just under the cut stays whole") << small << 2 << Block - 769 << Block - 769;
}

void TransferBoxTest::fileLandsInItsSlot()
{
    QFETCH(QByteArray, table);
    QFETCH(int, slot);
    QFETCH(int, size);
    QFETCH(int, stored);
    BoxFixture f;
    f.box.setEepromBytes(Block, table);
    const InfoTable before(table);
    const auto region = before.region(slot);
    QVERIFY(region);
    f.box.setEepromBytes(region->firstBlock * Block, QByteArray(region->bytes(), 0x11)); // old content
    const QByteArray data = pattern(size, slot + 3);

    const TransferOutcome outcome = f.load({{f.file(QStringLiteral("tune.raw"), data), slot, {}}});
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.region(region->firstBlock, stored), data.left(stored));
    QCOMPARE(f.region(region->firstBlock, region->bytes()).mid(stored),
             QByteArray(region->bytes() - stored, char(0xFF)));
    const InfoTable after(f.table());
    if (slot > 0) {
        QCOMPARE(after.bytes().mid(56 + 4 * slot, 4).toHex(),
                 (QByteArray(1, char(region->firstBlock)) + char(0) + char((stored + 255) / 256 >> 8)
                  + char((stored + 255) / 256 & 0xFF)).toHex());
    }
    QCOMPARE(after.bytes().left(60), before.bytes().left(60)); // entries 0..14 never change
    QVERIFY(f.statuses.contains(QStringLiteral("tune.raw;傳輸:100%")));
    QVERIFY(!f.box.linkOn());
    QVERIFY(!f.box.eepromAccessOn());
}

void TransferBoxTest::refusedFilesLeaveTheRegion_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QStringLiteral("empty.raw") << QByteArray() << QStringLiteral("傳輸 empty.raw 錯誤");
    QTest::newRow("mp3") << QStringLiteral("song.mp3") << QByteArray("ID3\x03") << QStringLiteral("程式不支持這種格式!");
    QTest::newRow("PCM wave") << QStringLiteral("pcm.wav")
                              << QByteArray::fromHex("52494646240000005741564566")
                              << QStringLiteral("程式不支持這種格式!");
}

void TransferBoxTest::refusedFilesLeaveTheRegion()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    BoxFixture f;
    const QByteArray old = pattern(Block, 7);
    f.box.setEepromBytes(20 * Block, old);
    const TransferOutcome outcome = f.load({{f.file(name, bytes), 2, {}}});
    QVERIFY(!outcome.ok);
    QCOMPARE(f.messages, QStringList{message});
    QCOMPARE(erasesSent(f.box), 0);
    QCOMPARE(f.region(20, Block), old);

    // The same bytes under an upper-case .RAW are taken as raw audio.
    BoxFixture g;
    QVERIFY(g.load({{g.file(QStringLiteral("UP.RAW"), pattern(600)), 2, {}}}).ok);
    QCOMPARE(g.region(20, 600), pattern(600));
}

// A raw file that cannot be opened is tried again and again: the retries end with the
// program's message, and a cancel ends them at once, before anything is erased and silently.
void TransferBoxTest::fileThatCannotBeOpened()
{
    BoxFixture f;
    const QString path = f.file(QStringLiteral("held.raw"), pattern(600));
    {
        NoFileOpens held;
        const AudioSourceFile source(path, 2, 10);
        QVERIFY(!source.isOpen() && !source.wasCancelled());
        QCOMPARE(source.error(), QString::fromUtf8(AudioSourceFile::FileLocked));
    }
    QElapsedTimer clock;
    clock.start();
    std::thread canceller([&f] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        f.abort.store(true);
    });
    TransferOutcome outcome;
    {
        NoFileOpens held;
        outcome = f.load({{path, 2, {}}});
    }
    canceller.join();
    QVERIFY(!outcome.ok);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed()))); // not 120 retries
    QCOMPARE(f.messages, QStringList());
    QCOMPARE(erasesSent(f.box), 0);
}

void TransferBoxTest::tableProblemsEraseNothing_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<bool>("dropReplies");
    QTest::addColumn<QString>("message");
    QTest::newRow("never initialized") << QByteArray(256, char(0xFF)) << false
                                       << transfer_text::tableNotInitialized();
    QByteArray shortIni = shippedTable();
    shortIni.replace(64, 16, QByteArray(16, char(0xFF))); // B2..B5 missing: an info.ini of few values
    QTest::newRow("0xFF start blocks") << shortIni << false
                                       << QStringLiteral("The box's info table does not lay out the six slots: "
                                                         "write the factory table first.");
    QTest::newRow("table unreadable") << shippedTable() << true << transfer_text::tableReadFailed();
}

void TransferBoxTest::tableProblemsEraseNothing()
{
    QFETCH(QByteArray, table);
    QFETCH(bool, dropReplies);
    QFETCH(QString, message);
    BoxFixture f;
    f.box.setEepromBytes(Block, table);
    const QString path = f.file(QStringLiteral("a.raw"), pattern(500));
    TransferPlan plan;
    plan.jobs = {{path, 0, {}}};
    const TransferOutcome outcome = f.run(plan, [&](TransferRun &) {
        if (dropReplies)
            f.box.setFaults({.corruptNextDataBlocks = 1000});
    });
    QVERIFY(!outcome.ok);
    QCOMPARE(f.messages, QStringList{message});
    QCOMPARE(erasesSent(f.box), 0);
    QCOMPARE(f.table(), table);
}

void TransferBoxTest::repliesLostLateOrRefused_data()
{
    QTest::addColumn<SimulatedBox::Faults>("faults");
    QTest::addColumn<bool>("ok");
    // A lost check reply means the box stored the block; the resends store it again, and
    // the read-back finds and mends it.
    QTest::newRow("29 lost check replies") << SimulatedBox::Faults{.dropNextReplies = 29} << true;
    QTest::newRow("replies lost for good: 30 sends, then failure") << SimulatedBox::Faults{.dropReplies = true} << false;
    QTest::newRow("a late reply answers nothing else") << SimulatedBox::Faults{.delayNextReplyMs = 120} << true;
    QTest::newRow("corrupt replies") << SimulatedBox::Faults{.corruptReplies = true} << false;
    QTest::newRow("corrupt read data is asked again") << SimulatedBox::Faults{.corruptNextDataBlocks = 3} << true;
    QTest::newRow("read data corrupt 4 times fails") << SimulatedBox::Faults{.corruptNextDataBlocks = 4} << false;
}

void TransferBoxTest::repliesLostLateOrRefused()
{
    QFETCH(SimulatedBox::Faults, faults);
    QFETCH(bool, ok);
    BoxFixture f;
    const QByteArray data = pattern(2000, 5);
    UsbHidDevice device(f.box);
    int checksBefore = -1;
    TransferReport report;
    // Armed once the first page is in: the handshake and the table read have passed.
    report.status = [&](const QString &t) {
        if (checksBefore < 0 && t.contains(QStringLiteral("傳輸:"))) {
            checksBefore = framesSent(f.box, "012405");
            f.box.setFaults(faults);
        }
    };
    report.message = [&](const QString &t) { f.messages.append(t); };
    TransferRun run(device, f.abort, report);
    run.link().setLimits(shortLimits());
    TransferPlan plan;
    plan.jobs = {{f.file(QStringLiteral("x.raw"), data), 3, {}}};
    const TransferOutcome outcome = run.run(plan);
    QCOMPARE(outcome.ok, ok);
    if (ok)
        QCOMPARE(f.region(30, data.size()), data);
    else
        QCOMPARE(f.messages, QStringList{QStringLiteral("傳輸 x.raw 錯誤")});
    if (faults.dropReplies)
        QCOMPARE(framesSent(f.box, "012405") - checksBefore, 30);
}

void TransferBoxTest::eventDuringEraseIsPassedOn()
{
    BoxFixture f;
    f.box.setEraseTimeMs(30);
    QList<std::pair<quint8, quint8>> events;
    UsbHidDevice device(f.box);
    device.setEventSink([&](quint8 c, quint8 v) { events.append({c, v}); });
    TransferReport report;
    report.status = [&](const QString &t) {
        if (t.endsWith(QStringLiteral(";擦除EEPROM...")))
            f.box.sendEvent({{0x90, 0x01}});
    };
    TransferRun run(device, f.abort, report);
    run.link().setLimits(shortLimits());
    TransferPlan plan;
    const QByteArray data = pattern(900);
    f.box.setEepromBytes(20 * Block, QByteArray(Block, 0));
    plan.jobs = {{f.file(QStringLiteral("e.raw"), data), 2, {}}};
    QVERIFY(run.run(plan).ok);
    QCOMPARE(events, (QList<std::pair<quint8, quint8>>{{0x90, 0x01}}));
    QCOMPARE(erasesSent(f.box), 10 + 1); // the region's blocks (no resend) and the table's
    QCOMPARE(f.region(20, data.size()), data);
}

void TransferBoxTest::pulledBoxFailsAtOnce()
{
    BoxFixture f;
    UsbHidDevice device(f.box);
    TransferReport report;
    bool armed = false;
    report.status = [&](const QString &t) {
        if (!armed && t.contains(QStringLiteral("傳輸:"))) {
            armed = true;
            f.box.setFaults({.unplugAfterOutputReports = 3}); // inside the next data block
        }
    };
    report.message = [&](const QString &t) { f.messages.append(t); };
    TransferRun run(device, f.abort, report);
    run.link().setLimits(EepromLink::Limits{}); // the box's own long limits: a wait would show
    TransferPlan plan;
    plan.jobs = {{f.file(QStringLiteral("p.raw"), pattern(5000)), 1, {}}};
    QElapsedTimer clock;
    clock.start();
    const TransferOutcome outcome = run.run(plan);
    QVERIFY(!outcome.ok);
    QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()));
    QCOMPARE(f.messages, QStringList{QStringLiteral("傳輸 p.raw 錯誤")});
}

void TransferBoxTest::verifyMendsWhatTheBoxGotWrong_data()
{
    QTest::addColumn<SimulatedBox::Faults>("faults");
    QTest::addColumn<bool>("verify");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("intact");
    // The box stored the block but its reply was lost: the block goes out again and is stored twice.
    const SimulatedBox::Faults lostCheck{.dropNextReplies = 1};
    QTest::newRow("lost check reply, verify off: duplicated block") << lostCheck << false << false << false;
    QTest::newRow("lost check reply, verify on") << lostCheck << true << true << true;
    QTest::newRow("erase claimed, not done") << SimulatedBox::Faults{.skipNextErase = true} << true << true << true;
    QTest::newRow("a bit flipped in flash") << SimulatedBox::Faults{.flipBitInNextStoredBlock = true} << true << true << true;
}

void TransferBoxTest::verifyMendsWhatTheBoxGotWrong()
{
    QFETCH(SimulatedBox::Faults, faults);
    QFETCH(bool, verify);
    QFETCH(bool, ok);
    QFETCH(bool, intact);
    BoxFixture f;
    f.box.setEepromBytes(40 * Block, QByteArray(3 * Block, 0)); // an erase not done shows
    const QByteArray data = pattern(2 * Block + 1000, 11);
    UsbHidDevice device(f.box);
    TransferReport report;
    bool armed = false;
    const bool beforeErase = faults.skipNextErase;
    report.status = [&](const QString &t) {
        const bool at = beforeErase ? t.endsWith(QStringLiteral(";擦除EEPROM..."))
                                    : t.contains(QStringLiteral("傳輸:"));
        if (!armed && at) {
            armed = true;
            f.box.setFaults(faults);
        }
    };
    TransferRun run(device, f.abort, report);
    run.link().setLimits(shortLimits());
    TransferPlan plan;
    plan.verify = verify;
    plan.jobs = {{f.file(QStringLiteral("v.raw"), data), 4, {}}};
    const TransferOutcome outcome = run.run(plan);
    QCOMPARE(outcome.ok, ok);
    QCOMPARE(f.region(40, data.size()) == data, intact);
}

void TransferBoxTest::factoryDefaultChecksFirst()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("info.ini"));
    QVERIFY(!TransferPlans::factoryDefault(dir.path(), true).plan);
    QCOMPARE(TransferPlans::factoryDefault(dir.path(), true).messages, QStringList{QStringLiteral("找不到默認配置文檔.")});
    QVERIFY(writeFile(ini, "[info]\naddress=0x0200\nlength=0x0800\n")); // no music slots: no layout
    QVERIFY(TransferPlans::factoryDefault(dir.path(), true).messages.first().startsWith(QStringLiteral("info.ini does not lay out")));
    QFile::remove(ini);
    QFile::copy(QStringLiteral(DPX_SOURCE_DIR "/res/defaults/info.ini"), ini);
    for (const QString &name : TransferPlans::factoryFileNames())
        if (name != QStringLiteral("L03.raw"))
            QVERIFY(writeFile(dir.filePath(name), pattern(300)));
    const PlanOrRefusal refused = TransferPlans::factoryDefault(dir.path(), true);
    QVERIFY(!refused.plan);
    QCOMPARE(refused.messages, (QStringList{QStringLiteral("歌曲文件L03.raw沒有找到!"),
                                            QStringLiteral("歌曲文件丟失﹐初始化歌曲失敗﹗")}));
}

void TransferBoxTest::factoryDefaultFillsABlankBox()
{
    BoxFixture f;
    f.box.setEeprom(QByteArray());
    QFile::copy(QStringLiteral(DPX_SOURCE_DIR "/res/defaults/info.ini"), f.dir.filePath(QStringLiteral("info.ini")));
    QList<QByteArray> files;
    for (const QString &name : TransferPlans::factoryFileNames()) {
        files.append(pattern(700 + int(files.size()) * 300, int(files.size())));
        f.file(name, files.last());
    }
    const PlanOrRefusal plan = TransferPlans::factoryDefault(f.dir.path(), true);
    QVERIFY(plan.plan);
    QVERIFY(f.run(*plan.plan).ok);
    const QByteArray expected = EepromImage::factory(InfoTable(plan.plan->factoryTable), files);
    QCOMPARE(f.box.eeprom().mid(Block) == expected.mid(Block), true);
}

void TransferBoxTest::backupRestoreRoundTrip()
{
    BoxFixture f;
    QList<QByteArray> files;
    for (int slot = 0; slot < 6; ++slot)
        files.append(pattern(1000 + slot * 4000, slot));
    const QByteArray original = EepromImage::factory(InfoTable(shippedTable()), files);
    f.box.setEeprom(original);
    const QString image = f.dir.filePath(QStringLiteral("box.img"));
    const PlanOrRefusal backup = TransferPlans::backup(image);
    QVERIFY(backup.plan);
    QVERIFY(f.run(*backup.plan).ok);
    QString error;
    QCOMPARE(EepromImage::load(image, &error) == original, true);

    f.box.setEeprom(EepromImage::factory(InfoTable(shippedTable()), {pattern(9000, 99)}));
    const PlanOrRefusal restore = TransferPlans::restore(image, true);
    QVERIFY(restore.plan);
    QVERIFY(f.run(*restore.plan).ok);
    QCOMPARE(f.box.eeprom().mid(Block) == original.mid(Block), true);

    // Refused before the box is touched: a wrong size, a table that lays nothing out.
    f.file(QStringLiteral("short.img"), QByteArray(1000, 0));
    QVERIFY(!TransferPlans::restore(f.dir.filePath(QStringLiteral("short.img")), true).plan);
    f.file(QStringLiteral("blank.img"), QByteArray(eeprom::ImageSize, char(0xFF)));
    QVERIFY(!TransferPlans::restore(f.dir.filePath(QStringLiteral("blank.img")), true).plan);
}

QTEST_GUILESS_MAIN(TransferBoxTest)
#include "tst_transfer_box.moc"
