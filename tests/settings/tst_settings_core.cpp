// SPDX-License-Identifier: GPL-3.0-or-later
// The settings draft and its save over a real database file and data folder, the ring
// installation and the skin check mark.

#include "../addressbook/AddressTestSupport.h"
#include "../support/TestFiles.h"

#include "settings/RingInstall.h"
#include "settings/SettingsSave.h"
#include "settings/SkinTable.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

using namespace dpx;
using namespace dpx::test;

namespace {

// A database with a stored row, a data folder with an installed CO ring and a source folder
// with ring files of the user's.
struct SaveBench {
    FreshDatabase fresh;
    QTemporaryDir sources;
    AddressDatabase db{fresh.path, u"settings-save"_s};
    RingTargets targets{fresh.dir.filePath(u"co.mp3"_s), fresh.dir.filePath(u"icm.mp3"_s)};
    QStringList events; // what happened in which order

    SaveBench()
    {
        db.Open();
        rawQuery(fresh.path, u"UPDATE phone_setting SET linecode = '9', coring = ?, icmring = NULL"_s,
                 {source(u"old.mp3"_s)});
        writeFile(source(u"old.mp3"_s), "old ring");
        writeFile(targets.co, "old ring");
        writeFile(source(u"new.mp3"_s), "new ring bytes");
        writeFile(source(u"Don't.mp3"_s), "apostrophe");
    }
    QString source(const QString &name) const { return sources.filePath(name); }
    Rows row() const
    {
        return rawQuery(fresh.path,
                        u"SELECT skin, linecode, phonetype, bshowinfo, coring, icmring, bvksring "
                        "FROM phone_setting"_s);
    }
    SettingsSaveResult save(const SettingsDraft &draft)
    {
        return saveSettingsDraft(&db, draft, targets, [this] {
            events << u"release:"_s + QString::fromLatin1(fileBytes(targets.co, "<missing>"));
        }, u"no database"_s);
    }
};

using Edit = std::function<void(SaveBench &, SettingsDraft &)>;
using Kind = SettingsSaveResult::Kind;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestSettingsCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineCodeRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << u""_s << true;
        QTest::newRow("digits and pause letters") << u"0P9p"_s << true;
        QTest::newRow("eight") << u"12345678"_s << true;
        QTest::newRow("ninth character") << u"123456789"_s << false;
        QTest::newRow("pasted letters") << u"12ab"_s << false;
        QTest::newRow("space") << u"1 2"_s << false;
        QTest::newRow("wide digit") << u"１"_s << false;
        QTest::newRow("plus") << u"+886"_s << false;
    }
    void lineCodeRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(isValidLineCode(text), accepted);
        PhoneSettings stored;
        stored.lineCode = u"5"_s;
        SettingsDraft draft(stored);
        QCOMPARE(draft.setLineCode(text), accepted);
        QCOMPARE(draft.current().lineCode, accepted ? text : u"5"_s);
    }

    // Each case edits a draft of the stored row and saves it; the whole row, both ring files
    // and the order of events are compared afterwards.
    void save_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("row");      // linecode, phonetype, bshowinfo, coring, icmring
        QTest::addColumn<QByteArray>("coFile");
        QTest::addColumn<QByteArray>("icmFile");
        QTest::addColumn<QString>("message");      // start of the message

        const QString old = u"old.mp3"_s;
        QTest::newRow("nothing changed") << Edit([](SaveBench &, SettingsDraft &) {})
            << int(Kind::NothingToSave) << QStringList{u"9"_s, u"DX"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << QString();
        QTest::newRow("type only") << Edit([](SaveBench &, SettingsDraft &d) { d.setPhoneType(PhoneType::SD); })
            << int(Kind::Saved) << QStringList{u"9"_s, u"SD"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << QString();
        QTest::newRow("line code emptied") << Edit([](SaveBench &, SettingsDraft &d) { d.setLineCode({}); })
            << int(Kind::Saved) << QStringList{u"0"_s, u"DX"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << QString();
        QTest::newRow("caller card off, ICM chosen")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   d.setShowCallerCard(false);
                   d.chooseRing(RingKind::Icm, b.source(u"new.mp3"_s));
               })
            << int(Kind::Saved) << QStringList{u"9"_s, u"DX"_s, u"0"_s, old, u"new.mp3"_s}
            << QByteArray("old ring") << QByteArray("new ring bytes") << QString();
        QTest::newRow("CO deleted") << Edit([](SaveBench &, SettingsDraft &d) { d.clearRing(RingKind::Co); })
            << int(Kind::Saved) << QStringList{u"9"_s, u"DX"_s, u"1"_s, u""_s, u""_s}
            << QByteArray("<missing>") << QByteArray("<missing>") << QString();
        QTest::newRow("chosen, deleted, re-chosen")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   d.chooseRing(RingKind::Co, b.source(u"new.mp3"_s));
                   d.clearRing(RingKind::Co);
                   d.chooseRing(RingKind::Co, b.source(u"Don't.mp3"_s));
               })
            << int(Kind::Saved) << QStringList{u"9"_s, u"DX"_s, u"1"_s, u"Don't.mp3"_s, u""_s}
            << QByteArray("apostrophe") << QByteArray("<missing>") << QString();
        QTest::newRow("co.mp3 itself, icm.mp3 from it")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   d.chooseRing(RingKind::Co, b.targets.co);
                   d.chooseRing(RingKind::Icm, b.targets.co);
               })
            << int(Kind::Saved) << QStringList{u"9"_s, u"DX"_s, u"1"_s, u"co.mp3"_s, u"co.mp3"_s}
            << QByteArray("old ring") << QByteArray("old ring") << QString();
        QTest::newRow("icm.mp3 for CO, ICM deleted")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   writeFile(b.targets.icm, "icm bytes");
                   d.chooseRing(RingKind::Co, b.targets.icm);
                   d.clearRing(RingKind::Icm);
               })
            << int(Kind::Saved) << QStringList{u"9"_s, u"DX"_s, u"1"_s, u"icm.mp3"_s, u""_s}
            << QByteArray("icm bytes") << QByteArray("<missing>") << QString();
        QTest::newRow("vanished source keeps everything")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   d.setLineCode(u"1"_s);
                   d.chooseRing(RingKind::Co, b.source(u"new.mp3"_s));
                   QFile::remove(b.source(u"new.mp3"_s));
               })
            << int(Kind::Failed) << QStringList{u"9"_s, u"DX"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << u"找不到文件:"_s;
        QTest::newRow("line code only after the ring's source went")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   QFile::remove(b.source(u"old.mp3"_s));
                   d.setLineCode(u"0P"_s);
               })
            << int(Kind::Saved) << QStringList{u"0P"_s, u"DX"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << QString();
        QTest::newRow("unreadable source (a folder)")
            << Edit([](SaveBench &b, SettingsDraft &d) {
                   QDir(b.sources.path()).mkdir(u"folder.mp3"_s);
                   d.chooseRing(RingKind::Co, b.source(u"folder.mp3"_s));
               })
            << int(Kind::Failed) << QStringList{u"9"_s, u"DX"_s, u"1"_s, old, u""_s}
            << QByteArray("old ring") << QByteArray("<missing>") << u"鈴聲文件複製失敗:"_s;
    }
    void save()
    {
        QFETCH(Edit, edit);
        QFETCH(int, kind);
        QFETCH(QStringList, row);
        QFETCH(QByteArray, coFile);
        QFETCH(QByteArray, icmFile);
        QFETCH(QString, message);

        SaveBench bench;
        QVERIFY(bench.db.IsOpen());
        const QDateTime before = QFileInfo(bench.fresh.path).lastModified();
        SettingsDraft draft(bench.db.ReadSettingsRow());
        edit(bench, draft);
        const SettingsSaveResult result = bench.save(draft);
        QCOMPARE(int(result.kind), kind);
        QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
        if (result.kind == Kind::Saved)
            QCOMPARE(result.written, draft.change());

        // Paths are compared by file name: the folders are temporary.
        const QVariantList stored = bench.row().value(0);
        QCOMPARE(stored.size(), 7);
        QCOMPARE(stored[0].toInt(), 0);
        QCOMPARE(stored[6].toInt(), 0);
        QStringList actual{stored[1].toString(), stored[2].toString(), stored[3].toString(),
                           QFileInfo(stored[4].toString()).fileName(),
                           QFileInfo(stored[5].toString()).fileName()};
        QCOMPARE(actual, row);
        QCOMPARE(stored[5].isNull(), row[4].isEmpty());
        QCOMPARE(fileBytes(bench.targets.co, "<missing>"), coFile);
        QCOMPARE(fileBytes(bench.targets.icm, "<missing>"), icmFile);
        // The player lets the files go only once every copy is ready, before any replace.
        const bool touchesFiles = QTest::currentDataTag() != QByteArray("type only")
            && QTest::currentDataTag() != QByteArray("line code emptied")
            && QTest::currentDataTag() != QByteArray("line code only after the ring's source went")
            && kind == int(Kind::Saved);
        QCOMPARE(bench.events, touchesFiles ? QStringList{u"release:old ring"_s} : QStringList{});
        if (kind == int(Kind::NothingToSave))
            QCOMPARE(QFileInfo(bench.fresh.path).lastModified(), before);
        // Only the ring files are ever written into the data folder.
        const QStringList left = QDir(bench.fresh.dir.path()).entryList(QDir::Files);
        for (const QString &name : left)
            QVERIFY2(QStringList({u"Address.db"_s, u"Address.db-wal"_s, u"Address.db-shm"_s,
                                  u"co.mp3"_s, u"icm.mp3"_s}).contains(name), qPrintable(name));
    }

    void readOnlyDataFolderKeepsTheOldRing()
    {
        SaveBench bench;
        SettingsDraft draft(bench.db.ReadSettingsRow());
        draft.chooseRing(RingKind::Co, bench.source(u"new.mp3"_s));
        const QString folder = bench.fresh.dir.path();
        QVERIFY(QProcess::execute(u"chattr"_s, {u"+i"_s, folder}) == 0);
        const SettingsSaveResult result = bench.save(draft);
        QProcess::execute(u"chattr"_s, {u"-i"_s, folder});
        QCOMPARE(result.kind, Kind::Failed);
        QVERIFY2(result.message.startsWith(u"鈴聲文件複製失敗:"_s + bench.source(u"new.mp3"_s) + u'\n'),
                 qPrintable(result.message));
        QVERIFY(result.message.size() > (u"鈴聲文件複製失敗:"_s + bench.source(u"new.mp3"_s)).size() + 1);
        QCOMPARE(fileBytes(bench.targets.co, "<missing>"), QByteArray("old ring"));
        QCOMPARE(bench.db.ReadSettingsRow().coRing, bench.source(u"old.mp3"_s));
    }

    void closedDatabaseSaysSoAndWritesNothing()
    {
        SaveBench bench;
        SettingsDraft draft(bench.db.ReadSettingsRow());
        draft.chooseRing(RingKind::Co, bench.source(u"new.mp3"_s));
        bench.db.Close();
        const SettingsSaveResult result = bench.save(draft);
        QCOMPARE(result.kind, Kind::Failed);
        QCOMPARE(result.message, u"no database"_s);
        QCOMPARE(fileBytes(bench.targets.co, "<missing>"), QByteArray("old ring"));
        QVERIFY(bench.events.isEmpty());
    }

    void ringSourceChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("audio") << u"ring.wav"_s << QString();
        QTest::newRow("missing") << u"gone.wav"_s << u"找不到文件:"_s;
        QTest::newRow("folder") << u"folder"_s << u"鈴聲文件必須是一般文件:"_s;
        QTest::newRow("fifo") << u"fifo"_s << u"鈴聲文件必須是一般文件:"_s;
        QTest::newRow("device") << u"/dev/zero"_s << u"鈴聲文件必須是一般文件:"_s;
        QTest::newRow("too big") << u"big.wav"_s << u"鈴聲文件太大"_s;
        QTest::newRow("not audio") << u"text.mp3"_s << u"無法播放此鈴聲文件:"_s;
    }
    void ringSourceChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        writeFile(dir.filePath(u"ring.wav"_s), "RIFF");
        writeFile(dir.filePath(u"text.mp3"_s), "hello");
        QDir(dir.path()).mkdir(u"folder"_s);
        QProcess::execute(u"mkfifo"_s, {dir.filePath(u"fifo"_s)});
        QFile big(dir.filePath(u"big.wav"_s));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(kMaxRingSourceBytes + 1));
        big.close();
        const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
        const QString found = ringSourceProblem(path, [](const QString &p) { return p.endsWith(u".wav"_s); });
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.startsWith(problem + (problem.endsWith(u':') ? path : QString())),
                 qPrintable(found));
    }

    void skinCheckMark_data()
    {
        QTest::addColumn<QString>("stored"); // "closed", "no row" or the column's text
        QTest::addColumn<int>("checked");    // -1: no mark
        QTest::newRow("Kromo") << u"2"_s << 2;
        QTest::newRow("outside the table") << u"9"_s << -1;
        QTest::newRow("negative") << u"-1"_s << -1;
        QTest::newRow("no number") << u"abc"_s << 0;
        QTest::newRow("closed database") << u"closed"_s << 6;
        QTest::newRow("missing row") << u"no row"_s << 6;
    }
    void skinCheckMark()
    {
        QFETCH(QString, stored);
        QFETCH(int, checked);
        FreshDatabase fresh;
        if (stored == u"no row"_s)
            rawQuery(fresh.path, u"DELETE FROM phone_setting"_s);
        else if (stored != u"closed"_s)
            rawQuery(fresh.path, u"UPDATE phone_setting SET skin = ?"_s, {stored});
        AddressDatabase db(fresh.path, u"skin-mark"_s);
        if (stored != u"closed"_s)
            QVERIFY(db.Open());
        QCOMPARE(checkedSkin(storedSkinValue(&db)).value_or(-1), checked);
    }

    void skinTableKeepsItsTexts()
    {
        QStringList texts;
        for (const SkinEntry &entry : skinTable()) {
            texts << QString::fromLatin1(entry.menuText);
            QCOMPARE(skinForCommand(entry.command), &entry);
        }
        QCOMPARE(texts, (QStringList{u"XPblue"_s, u"Corona"_s, u"Kromo"_s, u"XPgrean"_s,
                                     u"XPplus"_s, u"XPsteel"_s, u"Devior"_s}));
        QCOMPARE(skinTable()[kStartupSkin].resourceName, "DEVIOR");
    }
};

QTEST_GUILESS_MAIN(TestSettingsCore)
#include "tst_settings_core.moc"
