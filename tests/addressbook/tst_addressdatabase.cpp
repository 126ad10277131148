// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, failing and sharing the address database, and the phone_setting row.

#include "AddressTestSupport.h"

#include <QDir>
#include <QScopeGuard>
#include <QThread>

using namespace dpx;
using namespace dpx::test;

class TestAddressDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingFileCreatesNothingAndKeepsDefaults()
    {
        QTemporaryDir dir;
        AddressDatabase db(dir.filePath(u"Address.db"_s), u"missing"_s);
        QVERIFY(!db.Open());
        QCOMPARE(db.lastError(), QString());
        QCOMPARE(db.ReadSettingsRow(), PhoneSettings());
        QCOMPARE(db.lookUpCaller(u"0223456789"_s), std::nullopt);
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void createsInAnyFolderAndNeverReplacesAFile()
    {
        QTemporaryDir dir; // characters that mean something in a database URI must stay plain
        const QString path = dir.filePath(u"a#b?c%20d&mode=ro 通訊錄/Address.db"_s);
        QVERIFY(createAddressDatabase(path));
        AddressDatabase db(path, u"folders"_s);
        QVERIFY2(db.Open(), qPrintable(db.lastError()));
        QVERIFY(db.insertContact(filledContact(u"a"_s)));
        QCOMPARE(rawQuery(path, u"PRAGMA journal_mode"_s), (Rows{{u"wal"_s}}));
        db.Close();
        const QByteArray before = fileBytes(path);
        QString error;
        QVERIFY(!createAddressDatabase(path, &error));
        QVERIFY(error.contains(u"already exists"_s));
        QCOMPARE(fileBytes(path), before);
    }

    void foreignFileFailsWithErrorAndStaysUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("This is not a database at all.\x01\x02\xff", 33).repeated(200);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("sqlite header then junk") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f');
    }
    void foreignFileFailsWithErrorAndStaysUntouched()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Address.db"_s);
        QVERIFY(writeFile(path, content));
        AddressDatabase db(path, u"foreign"_s);
        QVERIFY(!db.Open());
        QVERIFY2(db.lastError().contains(path), qPrintable(db.lastError()));
        QCOMPARE(fileBytes(path), content);
    }

    void writesWhileClosedFailWithError()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"closed"_s);
        QVERIFY(db.Open());
        db.Close();
        QVERIFY(!db.insertContact(filledContact(u"x"_s)));
        QVERIFY2(db.lastError().contains(u"not open"_s), qPrintable(db.lastError()));
        QVERIFY(!db.Execute(u"DELETE FROM phone_setting"_s) && !db.updateSkin(3));
        QVERIFY(db.lastError().contains(u"not open"_s));
        QCOMPARE(rawQuery(fresh.path, u"SELECT count(*), skin FROM phone_setting"_s), (Rows{{1, 0}}));
        QCOMPARE(contactCount(fresh.path), 0);
    }

    void readOnlyFileRefusesWritesAndKeepsData()
    {
        FreshDatabase fresh;
        rawQuery(fresh.path, u"INSERT INTO address_book (name, hometelephonenumber) VALUES ('Kept', '0223456789')"_s);
        const ReadOnlyFile readOnly{fresh.path};
        if (readOnly.isWritable())
            QSKIP("cannot make a file read-only for this user");
        AddressDatabase db(fresh.path, u"read-only"_s);
        QVERIFY(db.Open());
        QVERIFY(!db.insertContact(filledContact(u"new"_s)));
        QVERIFY2(db.lastError().contains(u"read-only"_s), qPrintable(db.lastError()));
        QVERIFY(!db.Execute(u"DELETE FROM address_book"_s));
        QVERIFY(!db.updateSkin(5) && !db.lastError().isEmpty());
        QCOMPARE(db.ReadSettingsRow().skin, 0);
        QCOMPARE(db.lookUpCaller(u"0223456789"_s)->contact.name(), u"Kept"_s);
        QCOMPARE(rawQuery(fresh.path, u"SELECT name FROM address_book"_s), (Rows{{u"Kept"_s}}));
    }

    void lockedDatabaseFailsClearlyAndLosesNothing()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"window"_s);
        db.setBusyTimeout(150);
        QVERIFY(db.Open());
        const ContactRecord kept = filledContact(u"kept"_s);
        QVERIFY(db.insertContact(kept));
        AddressDatabase other(fresh.path, u"other program"_s); // holds the write lock
        QVERIFY(other.Open() && other.Execute(u"BEGIN IMMEDIATE"_s));
        QVERIFY(other.Execute(u"INSERT INTO address_book (name) VALUES ('held')"_s));

        QVERIFY(!db.insertContact(filledContact(u"new"_s)));
        QVERIFY2(db.lastError().contains(u"in use"_s), qPrintable(db.lastError()));
        QVERIFY(!db.replaceContact(kept, filledContact(u"new"_s)) && db.deleteContact(kept) == -1);
        ContactCursor cursor(db); // reading still works beside the other writer
        QVERIFY(cursor.QueryContacts(ContactQuery::Identity, kept));
        QCOMPARE(cursor.record(), kept);

        QVERIFY(other.Execute(u"COMMIT"_s));
        QVERIFY2(db.insertContact(filledContact(u"new"_s)), qPrintable(db.lastError()));
        const Rows names = rawQuery(fresh.path, u"SELECT name FROM address_book ORDER BY name"_s);
        QCOMPARE(names, (Rows{{u"held"_s}, {u"name-kept"_s}, {u"name-new"_s}}));
    }

    void lookupThreadSeesWholeRowsWhileWindowWrites()
    {
        FreshDatabase fresh;
        AddressDatabase window(fresh.path, u"window"_s);
        QVERIFY(window.Open());
        ContactRecord caller = filledContact(u"caller"_s);
        caller.setText(ContactColumn::HomeTelephoneNumber, u"0227001234"_s);
        caller.setText(ContactColumn::Remark, u"0"_s);
        caller.setText(ContactColumn::NickName, u"nick-0"_s);
        QVERIFY(window.insertContact(caller));

        // The reader: its own connection, opened and used on its own thread.
        const std::unique_ptr<AddressDatabase> readerDb = window.clone(u"reader"_s);
        QAtomicInt stop, lookups, faults; // faults: not found, or a torn row
        std::unique_ptr<QThread> reader(QThread::create([&] {
            while (!stop.loadRelaxed()) {
                const std::optional<CallerMatch> found = readerDb->lookUpCaller(u"0227001234"_s);
                const ContactRecord row = found ? found->contact : ContactRecord();
                if (!found || row.text(ContactColumn::NickName) != u"nick-"_s + row.text(ContactColumn::Remark))
                    faults.ref();
                lookups.ref();
            }
            readerDb->Close();
        }));
        reader->start();
        const auto join = qScopeGuard([&] { stop.storeRelaxed(1); reader->wait(); });
        QTRY_VERIFY_WITH_TIMEOUT(lookups.loadRelaxed() >= 1, 20000);

        // Nickname and remark change together in every replace.
        ContactRecord previous = caller;
        for (int i = 1; i <= 150; ++i) {
            ContactRecord next = previous;
            next.setText(ContactColumn::Remark, QString::number(i));
            next.setText(ContactColumn::NickName, u"nick-"_s + QString::number(i));
            QVERIFY2(window.replaceContact(previous, next), qPrintable(window.lastError()));
            previous = next;
        }
        QTRY_VERIFY_WITH_TIMEOUT(lookups.loadRelaxed() >= 20, 20000); // a fair share on a busy machine
        stop.storeRelaxed(1);
        QVERIFY(reader->wait(20000));
        QCOMPARE(faults.loadRelaxed(), 0);
        QCOMPARE(window.lookUpCaller(u"0227001234"_s)->contact, previous);
    }

    void settingsReaders_data()
    {
        QTest::addColumn<QVariant>("phonetype");
        QTest::addColumn<QVariant>("bshowinfo");
        QTest::addColumn<bool>("dx");
        QTest::addColumn<bool>("showCard");
        QTest::newRow("DX inside, 2") << QVariant(u"xxDXyy"_s) << QVariant(2) << true << true;
        QTest::newRow("lower case dx, -1") << QVariant(u"dx"_s) << QVariant(-1) << false << false;
        QTest::newRow("NULLs") << QVariant() << QVariant() << false << false;
        QTest::newRow("empty, text digits") << QVariant(u""_s) << QVariant(u"3x"_s) << false << true;
        QTest::newRow("DX at end, text letters") << QVariant(u"VKS-DX"_s) << QVariant(u"yes"_s) << true << false;
    }
    void settingsReaders()
    {
        QFETCH(QVariant, phonetype);
        QFETCH(QVariant, bshowinfo);
        QFETCH(bool, dx);
        QFETCH(bool, showCard);
        FreshDatabase fresh;
        rawQuery(fresh.path, u"UPDATE phone_setting SET phonetype = ?, bshowinfo = ?"_s, {phonetype, bshowinfo});
        AddressDatabase db(fresh.path, u"settings"_s);
        QVERIFY(db.Open());
        const PhoneSettings settings = db.ReadSettingsRow();
        QCOMPARE(settings.phoneType, dx ? PhoneType::DX : PhoneType::SD);
        QCOMPARE(settings.showCallerCard, showCard);
    }

    void settingsRoundTripAndRestoreAMissingRow()
    {
        FreshDatabase fresh;
        rawQuery(fresh.path, u"DELETE FROM phone_setting"_s);
        AddressDatabase db(fresh.path, u"settings"_s);
        QVERIFY(db.Open());
        QCOMPARE(db.ReadSettingsRow(), PhoneSettings()); // no row: the defaults
        QVERIFY(db.lastError().isEmpty());

        const QString ring = u"/home/u/My Rings/it's 響鈴.mp3"_s;
        QVERIFY(db.updateSkin(4) && db.updateLineCode({}) && db.updatePhoneType(PhoneType::SD));
        QVERIFY(db.updateShowCallerCard(false) && db.updateCoRing(ring) && db.updateIcmRing({}));
        const Rows stored = rawQuery(fresh.path,
            u"SELECT count(*), skin, linecode, phonetype, bshowinfo, coring, icmring IS NULL FROM phone_setting"_s);
        QCOMPARE(stored, (Rows{{1, 4, u"0"_s, u"SD"_s, 0, ring, 1}}));
    }
};

QTEST_GUILESS_MAIN(TestAddressDatabase)
#include "tst_addressdatabase.moc"
