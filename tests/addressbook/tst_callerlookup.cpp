// SPDX-License-Identifier: GPL-3.0-or-later
// The caller lookup (exact, digits, suffix), the number index that serves it and the
// phone-book tree read.

#include "AddressTestSupport.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>

using namespace dpx;
using namespace dpx::test;
using namespace Qt::StringLiterals;

namespace {

// One contact of a case: "name|column|number", further "|column|number" pairs allowed.
ContactRecord contactFrom(const QString &line)
{
    const QStringList parts = line.split(u'|');
    ContactRecord record;
    record.setText(ContactColumn::Name, parts.value(0));
    for (qsizetype i = 1; i + 1 < parts.size(); i += 2)
        record.setText(parts.at(i), parts.at(i + 1));
    return record;
}

// address_book's numbers as the index must hold them: (contact, slot, number, digits).
Rows expectedIndex(const QString &path)
{
    QString columns;
    for (ContactColumn column : kCallerNumberColumns)
        columns += u", "_s + QString(columnName(column));
    Rows expected;
    for (const QVariantList &row : rawQuery(path, u"SELECT rowid"_s + columns + u" FROM address_book ORDER BY rowid"_s)) {
        for (int slot = 0; slot < int(kCallerNumberColumns.size()); ++slot) {
            const QVariant value = row.at(slot + 1);
            if (value.isNull() || value.toString().isEmpty())
                continue;
            expected.append({row.at(0).toLongLong(), slot, value.toString(), numberDigits(value.toString())});
        }
    }
    return expected;
}

Rows storedIndex(const QString &path)
{
    Rows stored = rawQuery(path, u"SELECT contact, slot, number, digits FROM contact_number ORDER BY contact, slot"_s);
    for (QVariantList &row : stored)
        row = {row.at(0).toLongLong(), row.at(1).toInt(), row.at(2).toString(), row.at(3).toString()};
    return stored;
}

// The file as the schema before the number index left it.
void removeNumberIndex(const QString &path)
{
    for (const char *statement : {"DROP TRIGGER contact_number_after_insert", "DROP TRIGGER contact_number_after_delete",
                                  "DROP TRIGGER contact_number_after_update", "DROP TABLE contact_number",
                                  "DROP TABLE contact_number_position", "PRAGMA user_version = 1"})
        rawQuery(path, QString::fromLatin1(statement));
}

QStringList schemaObjects(const QString &path)
{
    QStringList names;
    for (const QVariantList &row : rawQuery(path, u"SELECT name FROM sqlite_master ORDER BY name"_s))
        names.append(row.first().toString());
    return names;
}

// Another program's write lock for as long as it lives, so that nothing can be built on open.
class WriteLock {
public:
    explicit WriteLock(const QString &path)
    {
        m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"caller-lookup-lock"_s);
        m_db.setDatabaseName(path);
        m_locked = m_db.open() && QSqlQuery(m_db).exec(u"BEGIN IMMEDIATE"_s);
    }
    ~WriteLock()
    {
        QSqlQuery(m_db).exec(u"ROLLBACK"_s);
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"caller-lookup-lock"_s);
    }
    bool isLocked() const { return m_locked; }

private:
    QSqlDatabase m_db;
    bool m_locked = false;
};

// Opens an old file (no number index) while it is locked, so the lookups read row by row.
std::unique_ptr<AddressDatabase> openWithoutIndex(const QString &path, const QString &connection)
{
    removeNumberIndex(path);
    WriteLock lock(path);
    if (!lock.isLocked())
        return nullptr;
    auto db = std::make_unique<AddressDatabase>(path, connection);
    db->setBusyTimeout(0);
    if (!db->Open() || db->hasNumberIndex())
        return nullptr;
    return db;
}

bool isWritable(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite);
}

QString describe(const std::optional<CallerMatch> &match)
{
    if (!match)
        return u"no match"_s;
    return match->contact.name() + u" kind "_s + QString::number(int(match->kind)) + u" column "_s
        + QString(columnName(match->column)) + u" suffix "_s + QString::number(match->suffixLength);
}

} // namespace

class TestCallerLookup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void digitsAreStoredAsTheLookupComputesThem_data();
    void digitsAreStoredAsTheLookupComputesThem();
    void randomTextsGiveTheSameDigitsOnBothSides();
    void lookupRules_data();
    void lookupRules();
    void noDigitsNoLookup();
    void indexFollowsEveryWrite();
    void indexOutOfStepIsNoticedAndRebuilt();
    void oldFileGetsTheIndexOnOpen();
    void readOnlyOldFileIsStillSearched();
    void indexedAndRowByRowLookupsAgree();
    void closedConnectionOpensForTheLookup();
    void phoneBookTreeIsNameOrderWithFiveColumns();
};

void TestCallerLookup::digitsAreStoredAsTheLookupComputesThem_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("digits");
    QTest::newRow("dashes") << u"02-2345-6789"_s << u"0223456789"_s;
    QTest::newRow("brackets and blanks") << u"(02) 2345 6789"_s << u"0223456789"_s;
    QTest::newRow("dots") << u"02.2345.6789"_s << u"0223456789"_s;
    QTest::newRow("international") << u"+886 2 2345 6789"_s << u"886223456789"_s;
    QTest::newRow("full-width digits") << u"０２－２３４５－６７８９"_s << u"0223456789"_s;
    QTest::newRow("letters and extension") << u"Tel: 02 2345-6789 ext. 12#"_s << u"022345678912"_s;
    QTest::newRow("no digits") << u"sip:desk"_s << QString();
    QTest::newRow("other scripts' digits are not digits") << u"٠١٢ ०१२ 3"_s << u"3"_s;
    QTest::newRow("characters outside the BMP") << u"😀1😀2"_s << u"12"_s;
    QTest::newRow("a NUL ends the text") << u"12"_s + QChar(0) + u"34"_s << u"12"_s;
    QTest::newRow("the first 256 characters count")
        << u"1"_s + QString(250, u'x') + u"2-3-45"_s + QString(3000, u'6') << u"1234"_s; // 5 is the 257th
    QTest::newRow("a pair of surrogates is one character")
        << u"😀"_s.repeated(250) + u"12345678"_s << u"123456"_s;
    QTest::newRow("a long plain number is cut alike") << QString(300, u'7') << QString(256, u'7');
    // Work bounded by the 256 characters: taking a long text apart must not take long.
    QTest::newRow("a pasted megabyte") << u"0"_s + QString(1 << 20, u'x') + u'1' << u"0"_s;
}

void TestCallerLookup::digitsAreStoredAsTheLookupComputesThem()
{
    QFETCH(QString, value);
    QFETCH(QString, digits);
    QCOMPARE(numberDigits(value), digits);
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"digits"_s);
    QVERIFY(db.Open());
    QVERIFY(db.hasNumberIndex());
    QVERIFY(db.insertContact(contactFrom(u"A|networkphonenumber|"_s + value)));
    QCOMPARE(rawValue(fresh.path, u"SELECT digits FROM contact_number"_s).toString(), digits);
}

void TestCallerLookup::randomTextsGiveTheSameDigitsOnBothSides()
{
    // The triggers compute digits in SQL, the lookup in C++: any difference loses callers.
    const QString alphabet = u"0123456789 -()+./#*,;xX０５９٣🎉\t\u00a0"_s;
    QRandomGenerator random(20240611);
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"random-digits"_s);
    QVERIFY(db.Open());
    QVERIFY(db.Execute(u"BEGIN"_s));
    for (int i = 0; i < 400; ++i) {
        QString value;
        const int length = int(random.bounded(1, i % 50 == 0 ? 3000 : 30));
        while (value.size() < length) {
            const qsizetype at = random.bounded(alphabet.size());
            value += alphabet.at(at).isHighSurrogate() ? alphabet.mid(at, 2) : alphabet.mid(at, 1);
            if (value.back().isHighSurrogate())
                value.chop(1);
        }
        QVERIFY(db.insertContact(contactFrom(u"R|hometelephonenumber|"_s + value)));
    }
    QVERIFY(db.Execute(u"COMMIT"_s));
    QCOMPARE(storedIndex(fresh.path), expectedIndex(fresh.path));
}

void TestCallerLookup::lookupRules_data()
{
    QTest::addColumn<QStringList>("contacts");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name"); // empty: no match
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("suffix");
    const int exact = int(CallerMatchKind::Exact);
    const int digits = int(CallerMatchKind::Digits);
    const int suffix = int(CallerMatchKind::Suffix);

    for (const char *mode : {"indexed", "row by row"}) {
        const auto row = [mode](const char *name) {
            return &QTest::newRow(qPrintable(QString::fromLatin1(mode) + u": "_s + QString::fromLatin1(name)));
        };
        *row("exact beats a digits match on an earlier name")
            << QStringList{u"Amy|businesstelephonenumber|02-2345-6789"_s, u"Zed|hometelephonenumber|0223456789"_s}
            << u"0223456789"_s << u"Zed"_s << exact << u"hometelephonenumber"_s << 0;
        *row("two exact matches: first in name order")
            << QStringList{u"Bob|mobiletelephonenumber|0912345678"_s, u"Al|networkphonenumber|0912345678"_s}
            << u"0912345678"_s << u"Al"_s << exact << u"networkphonenumber"_s << 0;
        *row("exact ignores ASCII letter case")
            << QStringList{u"Desk|networkphonenumber|sip:Desk7"_s} << u"SIP:desk7"_s << u"Desk"_s << exact
            << u"networkphonenumber"_s << 0;
        *row("first number column in order within a contact")
            << QStringList{u"Cho|networkextension|200|businessextension|200"_s} << u"200"_s << u"Cho"_s << exact
            << u"businessextension"_s << 0;
        *row("digits across dashes")
            << QStringList{u"Dee|businessfaxnumber|02-2345-6789"_s} << u"0223456789"_s << u"Dee"_s << digits
            << u"businessfaxnumber"_s << 0;
        *row("digits across brackets and blanks")
            << QStringList{u"Dee|homeextension|(02) 2345 6789"_s} << u"0223456789"_s << u"Dee"_s << digits
            << u"homeextension"_s << 0;
        *row("digits across dots")
            << QStringList{u"Dee|businessfaxextension|02.2345.6789"_s} << u"0223456789"_s << u"Dee"_s << digits
            << u"businessfaxextension"_s << 0;
        *row("digits of a caller number with separators")
            << QStringList{u"Eve|mobiletelephonenumber|0912345678"_s} << u"0912-345-678"_s << u"Eve"_s << digits
            << u"mobiletelephonenumber"_s << 0;
        *row("digits beat a longer suffix on an earlier name")
            << QStringList{u"Ann|hometelephonenumber|+886 2 2345 6789"_s, u"Ken|hometelephonenumber|02 2345 6789"_s}
            << u"0223456789"_s << u"Ken"_s << digits << u"hometelephonenumber"_s << 0;
        *row("digits matches: first in name order")
            << QStringList{u"Yu|hometelephonenumber|02-2345-6789"_s, u"Xi|mobiletelephonenumber|(02)23456789"_s}
            << u"0223456789"_s << u"Xi"_s << digits << u"mobiletelephonenumber"_s << 0;
        *row("suffix: international form against the display")
            << QStringList{u"Fay|businesstelephonenumber|+886 2 2345 6789"_s} << u"0223456789"_s << u"Fay"_s
            << suffix << u"businesstelephonenumber"_s << 9;
        *row("suffix: stored without area code")
            << QStringList{u"Gus|hometelephonenumber|2345-6789"_s} << u"0223456789"_s << u"Gus"_s << suffix
            << u"hometelephonenumber"_s << 8;
        *row("suffix: caller without area code")
            << QStringList{u"Gus|hometelephonenumber|02-2345-6789"_s} << u"23456789"_s << u"Gus"_s << suffix
            << u"hometelephonenumber"_s << 8;
        *row("suffix: exactly seven digits")
            << QStringList{u"Hal|hometelephonenumber|345-6789"_s} << u"0223456789"_s << u"Hal"_s << suffix
            << u"hometelephonenumber"_s << 7;
        *row("six common digits are no match")
            << QStringList{u"Ivy|hometelephonenumber|02-2845-6789"_s, u"Jo|mobiletelephonenumber|456789"_s}
            << u"0223456789"_s << QString() << 0 << QString() << 0;
        *row("a six-digit caller number never matches by suffix")
            << QStringList{u"Ivy|hometelephonenumber|02-2845-6789"_s} << u"456789"_s << QString() << 0
            << QString() << 0;
        *row("longest suffix wins over name order")
            << QStringList{u"Amy|hometelephonenumber|(03) 2345 6789"_s, u"Zed|mobiletelephonenumber|+886 2 2345 6789"_s}
            << u"0223456789"_s << u"Zed"_s << suffix << u"mobiletelephonenumber"_s << 9;
        *row("equal suffixes: first in name order")
            << QStringList{u"Bob|hometelephonenumber|886-2-2345-6789"_s, u"Al|homeextension|+886 (2) 23456789"_s,
                           u"Cy|hometelephonenumber|(03) 2345 6789"_s}
            << u"0223456789"_s << u"Al"_s << suffix << u"homeextension"_s << 9;
        *row("longest suffix within one contact")
            << QStringList{u"Lu|businesstelephonenumber|(03) 2345 6789|mobiletelephonenumber|+886 2 2345 6789"_s}
            << u"0223456789"_s << u"Lu"_s << suffix << u"mobiletelephonenumber"_s << 9;
        *row("nothing alike")
            << QStringList{u"Mo|hometelephonenumber|0277778888"_s} << u"0223456789"_s << QString() << 0
            << QString() << 0;
    }
}

void TestCallerLookup::lookupRules()
{
    QFETCH(QStringList, contacts);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, column);
    QFETCH(int, suffix);
    const bool rowByRow = QString::fromLatin1(QTest::currentDataTag()).startsWith(u"row by row"_s);

    FreshDatabase fresh;
    std::unique_ptr<AddressDatabase> db;
    {
        AddressDatabase writer(fresh.path, u"writer"_s);
        QVERIFY(writer.Open());
        for (const QString &line : contacts) {
            ContactRecord record = contactFrom(line);
            record.setText(ContactColumn::Remark, u"remark of "_s + record.name());
            record.setHasPicture(record.name().startsWith(u'A'));
            QVERIFY(writer.insertContact(record));
        }
        QVERIFY(writer.insertContact(contactFrom(u"Noise|hometelephonenumber|0911111111"_s)));
    }
    if (rowByRow) {
        db = openWithoutIndex(fresh.path, u"lookup"_s);
        QVERIFY2(db, "could not open the file without its index");
    } else {
        db = std::make_unique<AddressDatabase>(fresh.path, u"lookup"_s);
        QVERIFY(db->Open());
        QVERIFY(db->hasNumberIndex());
    }

    const std::optional<CallerMatch> match = db->lookUpCaller(number);
    QVERIFY2(db->lastError().isEmpty(), qPrintable(db->lastError()));
    if (name.isEmpty()) {
        QVERIFY2(!match, qPrintable(describe(match)));
        return;
    }
    QVERIFY2(match, "no match");
    QCOMPARE(match->contact.name(), name);
    QCOMPARE(int(match->kind), kind);
    QCOMPARE(QString(columnName(match->column)), column);
    QCOMPARE(match->suffixLength, suffix);
    // The whole row comes back.
    QCOMPARE(match->contact.text(ContactColumn::Remark), u"remark of "_s + name);
    QCOMPARE(match->contact.hasPicture(), name.startsWith(u'A'));
    QCOMPARE(match->contact.text(column), contactFrom(
        *std::find_if(contacts.cbegin(), contacts.cend(), [&](const QString &line) {
            return line.startsWith(name + u'|');
        })).text(column));
}

void TestCallerLookup::noDigitsNoLookup()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"no-digits"_s);
    QVERIFY(db.Open());
    QVERIFY(db.insertContact(contactFrom(u"Desk|networkphonenumber|sip:desk"_s)));
    QVERIFY(db.insertContact(contactFrom(u"Blank|hometelephonenumber| "_s)));
    QCOMPARE(db.lookUpCaller(u"sip:desk"_s), std::nullopt);
    QCOMPARE(db.lookUpCaller(u" "_s), std::nullopt);
    QCOMPARE(db.lookUpCaller(QString()), std::nullopt);
    QVERIFY(db.lastError().isEmpty());
    // The exact-only lookup still finds texts without digits.
    QCOMPARE(db.findContactByNumber(u"SIP:Desk"_s)->name(), u"Desk"_s);
}

void TestCallerLookup::indexFollowsEveryWrite()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"writes"_s);
    QVERIFY(db.Open());
    const auto inStep = [&] { return storedIndex(fresh.path) == expectedIndex(fresh.path); };
    const auto found = [&](const QString &number) {
        const std::optional<CallerMatch> match = db.lookUpCaller(number);
        return match ? match->contact.name() : QString();
    };

    const ContactRecord amy = contactFrom(u"Amy|hometelephonenumber|02-2345-6789|mobiletelephonenumber|0911 222 333"_s);
    const ContactRecord bob = contactFrom(u"Bob|businesstelephonenumber|(03) 555 1234"_s);
    QVERIFY(db.insertContact(amy));
    QVERIFY(db.insertContact(bob));
    QVERIFY(db.insertContact(amy)); // a duplicate row of its own
    QVERIFY(inStep());
    QCOMPARE(storedIndex(fresh.path).size(), 5);
    QCOMPARE(found(u"0223456789"_s), u"Amy"_s);

    QCOMPARE(db.deleteContact(amy), 2); // by identity, duplicates included
    QVERIFY(inStep());
    QCOMPARE(found(u"0223456789"_s), QString());

    ContactRecord bobMoved = bob;
    bobMoved.setText(ContactColumn::BusinessTelephoneNumber, QString());
    bobMoved.setText(ContactColumn::NetworkExtension, u"(03) 555 9999"_s);
    QVERIFY(db.replaceContact(bob, bobMoved));
    QVERIFY(inStep());
    QCOMPARE(found(u"035551234"_s), QString());
    QCOMPARE(found(u"035559999"_s), u"Bob"_s);

    // Statements of any kind, through Execute and from another program's connection.
    QVERIFY(db.Execute(u"UPDATE address_book SET hometelephonenumber = ? WHERE name = 'Bob'"_s, {u"07-123 4567"_s}));
    QVERIFY(inStep());
    QCOMPARE(found(u"071234567"_s), u"Bob"_s);
    QVERIFY(db.Execute(u"UPDATE address_book SET rowid = rowid + 100"_s));
    QVERIFY(inStep());
    QVERIFY(db.Execute(u"UPDATE address_book SET remark = 'not a number'"_s));
    QVERIFY(inStep());
    rawQuery(fresh.path, u"INSERT INTO address_book (name, mobiletelephonenumber) VALUES ('Cat', '0988-776-655')"_s);
    QVERIFY(inStep());
    QCOMPARE(found(u"0988776655"_s), u"Cat"_s);
    QVERIFY(db.Execute(u"DELETE FROM address_book WHERE name = ?"_s, {u"Bob"_s}));
    QVERIFY(inStep());
    QCOMPARE(found(u"071234567"_s), QString());
    QCOMPARE(found(u"0988776655"_s), u"Cat"_s);
    QVERIFY(db.Execute(u"DELETE FROM address_book"_s));
    QVERIFY(inStep());
    QVERIFY(storedIndex(fresh.path).isEmpty());
    QCOMPARE(found(u"0988776655"_s), QString());
    QVERIFY(db.hasNumberIndex());
}

void TestCallerLookup::indexOutOfStepIsNoticedAndRebuilt()
{
    // Entries that point at other rows, as when a tool rewrote the rows with new rowids.
    FreshDatabase fresh;
    {
        AddressDatabase writer(fresh.path, u"writer"_s);
        QVERIFY(writer.Open());
        for (int i = 0; i < 30; ++i)
            QVERIFY(writer.insertContact(contactFrom(
                u"C%1|hometelephonenumber|02-2000-%2"_s.arg(i, 2, 10, QChar(u'0')).arg(1000 + i))));
    }
    rawQuery(fresh.path, u"UPDATE contact_number SET contact = -contact"_s);
    rawQuery(fresh.path, u"UPDATE contact_number SET contact = 31 + contact"_s); // row k now points at 31 - k
    QVERIFY(storedIndex(fresh.path) != expectedIndex(fresh.path));

    AddressDatabase db(fresh.path, u"out-of-step"_s);
    QVERIFY(db.Open());
    const std::optional<CallerMatch> match = db.lookUpCaller(u"0220001025"_s);
    QVERIFY(match);
    QCOMPARE(match->contact.name(), u"C25"_s);
    QCOMPARE(match->kind, CallerMatchKind::Digits);
    QVERIFY(db.hasNumberIndex());
    QCOMPARE(storedIndex(fresh.path), expectedIndex(fresh.path));
    QCOMPARE(db.lookUpCaller(u"02-2000-1003"_s)->contact.name(), u"C03"_s);
}

void TestCallerLookup::oldFileGetsTheIndexOnOpen()
{
    FreshDatabase fresh;
    const QStringList fullSchema = schemaObjects(fresh.path);
    removeNumberIndex(fresh.path);
    QCOMPARE(schemaObjects(fresh.path), (QStringList{u"address_book"_s, u"address_book_by_name"_s, u"phone_setting"_s}));
    for (int i = 0; i < 50; ++i)
        rawQuery(fresh.path, u"INSERT INTO address_book (name, mobiletelephonenumber, homeextension) VALUES (?, ?, ?)"_s,
                 {u"Old %1"_s.arg(i, 2, 10, QChar(u'0')), u"0912-000-%1"_s.arg(100 + i), u"ext %1"_s.arg(i)});

    AddressDatabase db(fresh.path, u"upgrade"_s);
    QVERIFY2(db.Open(), qPrintable(db.lastError()));
    QVERIFY(db.hasNumberIndex());
    QCOMPARE(schemaObjects(fresh.path), fullSchema);
    QCOMPARE(rawValue(fresh.path, u"PRAGMA user_version"_s).toInt(), 2);
    QCOMPARE(storedIndex(fresh.path).size(), 100);
    QCOMPARE(storedIndex(fresh.path), expectedIndex(fresh.path));
    const std::optional<CallerMatch> match = db.lookUpCaller(u"+886 912 000 142"_s);
    QVERIFY(match);
    QCOMPARE(match->contact.name(), u"Old 42"_s);
    QCOMPARE(match->kind, CallerMatchKind::Suffix);
    QCOMPARE(match->suffixLength, 9);

    // Opening again finds it in place and changes nothing.
    db.Close();
    QVERIFY(db.Open());
    QCOMPARE(storedIndex(fresh.path), expectedIndex(fresh.path));
}

void TestCallerLookup::readOnlyOldFileIsStillSearched()
{
    FreshDatabase fresh;
    removeNumberIndex(fresh.path);
    rawQuery(fresh.path, u"INSERT INTO address_book (name, hometelephonenumber) VALUES ('Kept', '02-2345-6789')"_s);
    rawQuery(fresh.path, u"INSERT INTO address_book (name, mobiletelephonenumber) VALUES ('Also', '+886 912 345 678')"_s);
    QVERIFY(QFile::setPermissions(fresh.path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    bool immutable = false;
    auto restore = qScopeGuard([&] {
        if (immutable)
            QProcess::execute(u"chattr"_s, {u"-i"_s, fresh.path});
        QFile::setPermissions(fresh.path, QFile::ReadOwner | QFile::WriteOwner);
    });
    if (isWritable(fresh.path)) { // the superuser ignores permissions; make the file immutable
        immutable = QProcess::execute(u"chattr"_s, {u"+i"_s, fresh.path}) == 0;
        if (!immutable || isWritable(fresh.path))
            QSKIP("cannot make a file read-only for this user");
    }

    AddressDatabase db(fresh.path, u"read-only"_s);
    QVERIFY(db.Open());
    QVERIFY(!db.hasNumberIndex());
    QCOMPARE(db.lookUpCaller(u"02-2345-6789"_s)->kind, CallerMatchKind::Exact);
    QCOMPARE(db.lookUpCaller(u"0223456789"_s)->contact.name(), u"Kept"_s);
    QCOMPARE(db.lookUpCaller(u"0912345678"_s)->contact.name(), u"Also"_s);
    QCOMPARE(db.lookUpCaller(u"0912345678"_s)->suffixLength, 9);
    QCOMPARE(db.lookUpCaller(u"0277778888"_s), std::nullopt);
    QVERIFY(db.lastError().isEmpty());
    QVERIFY(!schemaObjects(fresh.path).contains(u"contact_number"_s));
}

void TestCallerLookup::indexedAndRowByRowLookupsAgree()
{
    // Many numbers that share endings, in many forms: both ways of looking up give one answer.
    QRandomGenerator random(77);
    FreshDatabase fresh;
    const auto digitsOf = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(u'0' + int(random.bounded(3))); // few digits: many shared endings
        return text;
    };
    const auto dressed = [&](const QString &digits) {
        switch (random.bounded(4)) {
        case 0: return digits;
        case 1: return u"+886 "_s + digits.mid(1);
        case 2: return u'(' + digits.left(2) + u") "_s + digits.mid(2, 4) + u'-' + digits.mid(6);
        default: return digits.left(3) + u'.' + digits.mid(3);
        }
    };
    {
        AddressDatabase writer(fresh.path, u"writer"_s);
        QVERIFY(writer.Open());
        QVERIFY(writer.Execute(u"BEGIN"_s));
        for (int i = 0; i < 300; ++i) {
            ContactRecord record;
            record.setText(ContactColumn::Name, u"P"_s + QString::number(random.bounded(60)));
            for (ContactColumn column : kCallerNumberColumns) {
                if (random.bounded(3) == 0)
                    record.setText(column, dressed(digitsOf(int(random.bounded(5, 12)))));
            }
            QVERIFY(writer.insertContact(record));
        }
        QVERIFY(writer.Execute(u"COMMIT"_s));
    }
    const QString copy = fresh.dir.filePath(u"copy.db"_s);
    QVERIFY(QFile::copy(fresh.path, copy));
    AddressDatabase indexed(fresh.path, u"indexed"_s);
    QVERIFY(indexed.Open());
    QVERIFY(indexed.hasNumberIndex());
    const std::unique_ptr<AddressDatabase> scanning = openWithoutIndex(copy, u"scanning"_s);
    QVERIFY(scanning);

    int kinds[3] = {};
    for (int i = 0; i < 400; ++i) {
        const QString number = dressed(digitsOf(int(random.bounded(5, 12))));
        const std::optional<CallerMatch> fast = indexed.lookUpCaller(number);
        const std::optional<CallerMatch> slow = scanning->lookUpCaller(number);
        QVERIFY2(fast == slow, qPrintable(number + u": "_s + describe(fast) + u" / "_s + describe(slow)));
        if (fast)
            ++kinds[int(fast->kind)];
    }
    // The data reaches every kind of match.
    QVERIFY(kinds[0] > 0 && kinds[1] > 0 && kinds[2] > 0);
    QVERIFY(!scanning->hasNumberIndex());
}

void TestCallerLookup::closedConnectionOpensForTheLookup()
{
    FreshDatabase fresh;
    {
        AddressDatabase writer(fresh.path, u"writer"_s);
        QVERIFY(writer.Open());
        QVERIFY(writer.insertContact(contactFrom(u"Amy|hometelephonenumber|0223456789"_s)));
    }
    AddressDatabase db(fresh.path, u"lazy"_s);
    QVERIFY(!db.IsOpen());
    QCOMPARE(db.lookUpCaller(u"0223456789"_s)->contact.name(), u"Amy"_s);
    QVERIFY(db.IsOpen());

    AddressDatabase missing(fresh.dir.filePath(u"none.db"_s), u"missing"_s);
    QCOMPARE(missing.lookUpCaller(u"0223456789"_s), std::nullopt);
    QVERIFY(missing.lastError().isEmpty());
    QVERIFY(!QFile::exists(fresh.dir.filePath(u"none.db"_s)));
}

void TestCallerLookup::phoneBookTreeIsNameOrderWithFiveColumns()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"tree"_s);
    QVERIFY(!db.readPhoneBookTree());
    QVERIFY(db.lastError().contains(u"not open"_s));
    QVERIFY(db.Open());
    QCOMPARE(db.readPhoneBookTree(), std::optional(QList<PhoneBookTreeEntry>{}));

    for (const QString &tag : {u"b"_s, u"a"_s, u"c"_s})
        QVERIFY(db.insertContact(filledContact(tag)));
    QVERIFY(db.insertContact(ContactRecord())); // empty name, every other column NULL
    const std::optional<QList<PhoneBookTreeEntry>> tree = db.readPhoneBookTree();
    QVERIFY(tree);
    QCOMPARE(tree->size(), 4);
    QCOMPARE(tree->first(), PhoneBookTreeEntry());
    QCOMPARE(tree->at(1), (PhoneBookTreeEntry{u"name-a"_s, u"hometelephonenumber-a"_s, u"mobiletelephonenumber-a"_s,
                                              u"businesstelephonenumber-a"_s, u"nickname-a"_s}));
    QCOMPARE(tree->at(3).name, u"name-c"_s);
    // The same rows, in the same order, as the cursor's full read.
    ContactCursor cursor(db);
    QVERIFY(cursor.QueryContacts());
    for (const PhoneBookTreeEntry &entry : *tree) {
        QCOMPARE(entry.name, cursor.GetText(ContactColumn::Name));
        QCOMPARE(entry.businessTelephoneNumber, cursor.GetText(ContactColumn::BusinessTelephoneNumber));
        cursor.MoveNext();
    }
    QVERIFY(cursor.IsEOF());
}

QTEST_GUILESS_MAIN(TestCallerLookup)
#include "tst_callerlookup.moc"
