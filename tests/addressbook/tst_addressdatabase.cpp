// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, creating and failing: the connection side of the address database.

#include "AddressTestSupport.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>

using namespace dpx;
using namespace dpx::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isWritable(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite);
}

} // namespace

class TestAddressDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshDatabaseHasBothTablesAndOneSeedRow();
    void createNeverReplacesAFile();
    void missingFileFailsSilentlyAndCreatesNothing();
    void foreignFileFailsWithErrorAndStaysUntouched_data();
    void foreignFileFailsWithErrorAndStaysUntouched();
    void opensAnyFolderNameInWriteAheadMode_data();
    void opensAnyFolderNameInWriteAheadMode();
    void writesWhileClosedFailWithError_data();
    void writesWhileClosedFailWithError();
    void connectionNameInUseIsRefused();
    void readOnlyFileRefusesWritesAndKeepsData();
};

void TestAddressDatabase::freshDatabaseHasBothTablesAndOneSeedRow()
{
    FreshDatabase fresh;
    QVERIFY(fresh.created);

    QStringList columns;
    for (const QVariantList &row : rawQuery(fresh.path, QStringLiteral("PRAGMA table_info(address_book)")))
        columns.append(row.at(1).toString());
    QStringList expected;
    for (QLatin1StringView column : kContactColumns)
        expected.append(column);
    QCOMPARE(columns, expected);

    const Rows settings = rawQuery(fresh.path, QStringLiteral(
        "SELECT skin, linecode, phonetype, bshowinfo, coring, icmring, bvksring FROM phone_setting"));
    QCOMPARE(settings.size(), 1);
    const QVariantList row = settings.first();
    QCOMPARE(row.at(0).toInt(), 0);
    QCOMPARE(row.at(1).toString(), QStringLiteral("0"));
    QCOMPARE(row.at(2).toString(), QStringLiteral("DX"));
    QCOMPARE(row.at(3).toInt(), 1);
    QVERIFY(row.at(4).isNull());
    QVERIFY(row.at(5).isNull());
    QCOMPARE(row.at(6).toInt(), 0);

    const QString plan = rawQuery(fresh.path, QStringLiteral(
        "EXPLAIN QUERY PLAN SELECT * FROM address_book ORDER BY name")).first().last().toString();
    QVERIFY2(plan.contains(u"INDEX"_s), qPrintable(plan));

    // No work file is left beside it.
    QCOMPARE(QDir(fresh.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Address.db")});
}

void TestAddressDatabase::createNeverReplacesAFile()
{
    FreshDatabase fresh;
    QVERIFY(rawQuery(fresh.path, QStringLiteral("INSERT INTO address_book (name) VALUES ('kept')")).isEmpty());
    const QByteArray before = fileBytes(fresh.path);
    QString error;
    QVERIFY(!createAddressDatabase(fresh.path, &error));
    QVERIFY(error.contains(u"already exists"_s));
    QCOMPARE(fileBytes(fresh.path), before);
}

void TestAddressDatabase::missingFileFailsSilentlyAndCreatesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Address.db"));
    AddressDatabase db(path, QStringLiteral("missing"));
    QVERIFY(!db.Open());
    QVERIFY(!db.IsOpen());
    QCOMPARE(db.lastError(), QString());
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // The readers then keep their defaults.
    const PhoneSettings settings = db.ReadSettingsRow();
    QVERIFY(!settings.rowRead);
    QCOMPARE(settings, PhoneSettings());
    QCOMPARE(settings.phoneType, PhoneType::DX);
    QVERIFY(settings.showCallerCard);
    QCOMPARE(settings.skin, 6);
}

void TestAddressDatabase::foreignFileFailsWithErrorAndStaysUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("garbage bytes") << QByteArray("This is not a database at all.\x01\x02\xff", 33).repeated(200);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("sqlite header then junk")
        << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f');
}

void TestAddressDatabase::foreignFileFailsWithErrorAndStaysUntouched()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Address.db"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    AddressDatabase db(path, QStringLiteral("foreign"));
    QVERIFY(!db.Open());
    QVERIFY(!db.IsOpen());
    QVERIFY2(!db.lastError().isEmpty(), "a foreign file needs a message");
    QVERIFY2(db.lastError().contains(path), qPrintable(db.lastError()));
    QCOMPARE(fileBytes(path), content);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Address.db")});
    QVERIFY(!db.insertContact(ContactRecord()));
}

void TestAddressDatabase::opensAnyFolderNameInWriteAheadMode_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << u"data"_s;
    QTest::newRow("blanks") << u"My Documents"_s;
    QTest::newRow("uri characters") << u"a#b?c%20d&mode=ro"_s;
    QTest::newRow("chinese") << u"通訊錄"_s;
}

void TestAddressDatabase::opensAnyFolderNameInWriteAheadMode()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    const QString path = dir.filePath(folder + u"/Address.db"_s);
    QString error;
    QVERIFY2(createAddressDatabase(path, &error), qPrintable(error));
    AddressDatabase db(path, u"folders"_s);
    QVERIFY2(db.Open(), qPrintable(db.lastError()));
    QVERIFY(db.Open()); // already open: stays open
    QVERIFY(db.insertContact(filledContact(u"a"_s)));
    QCOMPARE(contactCount(path), 1);
    QCOMPARE(rawValue(path, u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
    QVERIFY(db.lastError().isEmpty());
}

void TestAddressDatabase::writesWhileClosedFailWithError_data()
{
    QTest::addColumn<int>("operation");
    const char *names[] = {"insert", "delete", "replace", "execute", "skin", "line code", "co ring"};
    for (int i = 0; i < int(std::size(names)); ++i)
        QTest::newRow(names[i]) << i;
}

void TestAddressDatabase::writesWhileClosedFailWithError()
{
    QFETCH(int, operation);
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, QStringLiteral("closed"));
    QVERIFY(db.Open());
    db.Close();
    QVERIFY(!db.IsOpen());

    const ContactRecord contact = filledContact(QStringLiteral("x"));
    bool ok = true;
    switch (operation) {
    case 0: ok = db.insertContact(contact); break;
    case 1: ok = db.deleteContact(contact) >= 0; break;
    case 2: ok = db.replaceContact(contact, contact); break;
    case 3: ok = db.Execute(QStringLiteral("DELETE FROM address_book")); break;
    case 4: ok = db.updateSkin(3); break;
    case 5: ok = db.updateLineCode(QStringLiteral("9")); break;
    case 6: ok = db.updateCoRing(QStringLiteral("/tmp/ring.mp3")); break;
    }
    QVERIFY(!ok);
    QVERIFY2(db.lastError().contains(u"not open"_s), qPrintable(db.lastError()));
    QCOMPARE(contactCount(fresh.path), 0);
    QCOMPARE(rawValue(fresh.path, QStringLiteral("SELECT skin FROM phone_setting")).toInt(), 0);
}

void TestAddressDatabase::connectionNameInUseIsRefused()
{
    FreshDatabase fresh;
    AddressDatabase first(fresh.path, QStringLiteral("same-name"));
    AddressDatabase second(fresh.path, QStringLiteral("same-name"));
    QVERIFY(first.Open());
    QVERIFY(!second.Open());
    QVERIFY(second.lastError().contains(u"same-name"_s));
    second.Close(); // must not take the first one's connection away
    QVERIFY(first.IsOpen());
    QVERIFY(first.insertContact(filledContact(QStringLiteral("a"))));

    const std::unique_ptr<AddressDatabase> other = first.clone(QStringLiteral("other-name"));
    QVERIFY(other->Open());
    QCOMPARE(other->filePath(), first.filePath());
    ContactCursor cursor(*other);
    QVERIFY(cursor.QueryContacts());
    QCOMPARE(cursor.GetText(u"name"_s), QStringLiteral("name-a"));
}

void TestAddressDatabase::readOnlyFileRefusesWritesAndKeepsData()
{
    FreshDatabase fresh;
    {
        AddressDatabase setup(fresh.path, QStringLiteral("setup"));
        QVERIFY(setup.Open());
        QVERIFY(setup.insertContact(filledContact(QStringLiteral("kept"))));
    }
    QVERIFY(QFile::setPermissions(fresh.path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    bool immutable = false;
    auto restore = qScopeGuard([&] {
        if (immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), fresh.path});
        QFile::setPermissions(fresh.path, QFile::ReadOwner | QFile::WriteOwner);
    });
    if (isWritable(fresh.path)) { // the superuser ignores permissions; make the file immutable
        immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), fresh.path}) == 0;
        if (!immutable || isWritable(fresh.path))
            QSKIP("cannot make a file read-only for this user");
    }

    AddressDatabase db(fresh.path, QStringLiteral("read-only"));
    QVERIFY(db.Open());
    ContactCursor cursor(db);
    QVERIFY(cursor.QueryContacts());
    QCOMPARE(cursor.record(), filledContact(QStringLiteral("kept")));

    QVERIFY(!db.insertContact(filledContact(QStringLiteral("new"))));
    QVERIFY2(db.lastError().contains(u"read-only"_s), qPrintable(db.lastError()));
    QCOMPARE(db.deleteContact(filledContact(QStringLiteral("kept"))), -1);
    QVERIFY(!db.replaceContact(filledContact(QStringLiteral("kept")), filledContact(QStringLiteral("new"))));
    QVERIFY(!db.updateSkin(5));
    QVERIFY(!db.lastError().isEmpty());

    QCOMPARE(db.ReadSettingsRow().skin, 0);
    QVERIFY(cursor.QueryContacts());
    QCOMPARE(cursor.record(), filledContact(QStringLiteral("kept")));
    cursor.MoveNext();
    QVERIFY(cursor.IsEOF());
}

QTEST_GUILESS_MAIN(TestAddressDatabase)
#include "tst_addressdatabase.moc"
