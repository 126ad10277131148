// SPDX-License-Identifier: GPL-3.0-or-later
// The caller lookup (exact, digits, longest common ending) and the number index that serves it.

#include "AddressTestSupport.h"

using namespace dpx;
using namespace dpx::test;

namespace {
// One contact: "name|column|number", further "|column|number" pairs allowed.
ContactRecord contactFrom(const QString &line)
{
    const QStringList parts = line.split(u'|');
    ContactRecord record;
    record.setText(ContactColumn::Name, parts.value(0));
    for (qsizetype i = 1; i + 1 < parts.size(); i += 2)
        record.setText(parts.at(i), parts.at(i + 1));
    return record;
}

// Leaves the file as it was before the number index existed.
void removeNumberIndex(const QString &path)
{
    for (const char *statement : {"DROP TRIGGER contact_number_after_insert", "DROP TRIGGER contact_number_after_delete",
                                  "DROP TRIGGER contact_number_after_update", "DROP TABLE contact_number",
                                  "DROP TABLE contact_number_position", "PRAGMA user_version = 1"})
        rawQuery(path, QString::fromLatin1(statement));
}

// Whether the number index holds exactly the numbers of address_book: (row, slot, number, digits).
bool indexInStep(const QString &path)
{
    QString columns;
    for (ContactColumn column : kCallerNumberColumns)
        columns += u", "_s + QString(columnName(column));
    Rows expected;
    for (const QVariantList &row : rawQuery(path, u"SELECT rowid"_s + columns + u" FROM address_book ORDER BY rowid"_s)) {
        for (int slot = 0; slot + 1 < row.size(); ++slot) {
            if (const QString number = row.at(slot + 1).toString(); !number.isEmpty())
                expected.append({row.at(0).toLongLong(), slot, number, numberDigits(number)});
        }
    }
    Rows stored = rawQuery(path, u"SELECT contact, slot, number, digits FROM contact_number ORDER BY contact, slot"_s);
    for (QVariantList &row : stored)
        row = {row.at(0).toLongLong(), row.at(1).toInt(), row.at(2).toString(), row.at(3).toString()};
    return stored == expected;
}

QString nameFound(AddressDatabase &db, const QString &number)
{
    const std::optional<CallerMatch> match = db.lookUpCaller(number);
    return match ? match->contact.name() : QString();
}
} // namespace

class TestCallerLookup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupRules_data()
    {
        QTest::addColumn<QStringList>("contacts");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("match"); // name kind column suffix; empty: none
        for (const char *mode : {"indexed", "read-only old file"}) {
            const auto row = [mode](const char *name, const QStringList &contacts, const QString &number,
                                    const QString &match) {
                QTest::addRow("%s: %s", mode, name) << contacts << number << match;
            };
            row("exact beats digits on an earlier name",
                {u"Amy|businesstelephonenumber|02-2345-6789"_s, u"Zed|hometelephonenumber|0223456789"_s},
                u"0223456789"_s, u"Zed exact hometelephonenumber 0"_s);
            row("two exact: first in name order",
                {u"Bob|mobiletelephonenumber|0912345678"_s, u"Al|networkphonenumber|0912345678"_s}, u"0912345678"_s,
                u"Al exact networkphonenumber 0"_s);
            // The index takes a number's digits apart in SQL, the lookup in C++: both must agree.
            row("digits across separators", {u"Dee|businessfaxnumber|(02)\u00a02345-6789\t#"_s}, u"02.2345.6789"_s,
                u"Dee digits businessfaxnumber 0"_s);
            row("full-width digits", {u"Fu|homeextension|０２－２３４５－６７８９"_s}, u"0223456789"_s,
                u"Fu digits homeextension 0"_s);
            row("other scripts' digits are no digits", {u"Ot|hometelephonenumber|٠١٢ ०१२ 0223456789"_s}, u"0223456789"_s,
                u"Ot digits hometelephonenumber 0"_s);
            row("a NUL ends the text", {u"Nu|hometelephonenumber|0223456789"_s + QChar(0) + u"99"_s}, u"0223456789"_s,
                u"Nu digits hometelephonenumber 0"_s);
            row("the first 256 characters count", {u"Lo|hometelephonenumber|1"_s + QString(250, u'x') + u"2-3-45"_s
                + QString(3000, u'6')}, u"1234"_s, u"Lo digits hometelephonenumber 0"_s); // 5 is the 257th
            row("a pair of surrogates is one character", {u"Em|hometelephonenumber|"_s + u"😀"_s.repeated(250)
                + u"12345678"_s}, u"123456"_s, u"Em digits hometelephonenumber 0"_s);
            row("no digits, no lookup", {u"Desk|networkphonenumber|sip:desk"_s}, u"sip:desk"_s, {});
            row("digits beat a longer suffix on an earlier name",
                {u"Ann|hometelephonenumber|+886 2 2345 6789"_s, u"Ken|hometelephonenumber|02 2345 6789"_s},
                u"0223456789"_s, u"Ken digits hometelephonenumber 0"_s);
            row("+886 against the display", {u"Fay|businesstelephonenumber|+886 2 2345 6789"_s}, u"0223456789"_s,
                u"Fay suffix businesstelephonenumber 9"_s);
            row("exactly seven common digits", {u"Hal|hometelephonenumber|345-6789"_s}, u"0223456789"_s,
                u"Hal suffix hometelephonenumber 7"_s);
            row("six common digits are no match",
                {u"Ivy|hometelephonenumber|02-2845-6789"_s, u"Jo|mobiletelephonenumber|456789"_s}, u"0223456789"_s, {});
            row("a six-digit caller never matches by suffix", {u"Ivy|hometelephonenumber|02-2845-6789"_s},
                u"456789"_s, {});
            // The shorter number, leading zeros dropped, must be the whole ending of the longer.
            row("another area code is another line", {u"Amy|hometelephonenumber|03-2345-6789"_s}, u"0223456789"_s, {});
            row("a stored local number", {u"Lin|hometelephonenumber|2345-6789"_s}, u"0223456789"_s,
                u"Lin suffix hometelephonenumber 8"_s);
            row("a local caller", {u"Lin|hometelephonenumber|02-2345-6789"_s}, u"23456789"_s,
                u"Lin suffix hometelephonenumber 8"_s);
            row("a shared ending is not enough", {u"Max|hometelephonenumber|9123456789"_s}, u"0823456789"_s, {});
            row("longest suffix beats name order",
                {u"Amy|hometelephonenumber|(03) 2345 6789"_s, u"Zed|mobiletelephonenumber|+886 2 2345 6789"_s},
                u"0223456789"_s, u"Zed suffix mobiletelephonenumber 9"_s);
            row("equal suffixes: first in name order",
                {u"Bob|hometelephonenumber|886-2-2345-6789"_s, u"Al|homeextension|+886 (2) 23456789"_s,
                 u"Cy|hometelephonenumber|(03) 2345 6789"_s},
                u"0223456789"_s, u"Al suffix homeextension 9"_s);
        }
    }
    void lookupRules()
    {
        QFETCH(QStringList, contacts);
        QFETCH(QString, number);
        QFETCH(QString, match);
        FreshDatabase fresh;
        {
            AddressDatabase writer(fresh.path, u"writer"_s);
            QVERIFY(writer.Open());
            for (const QString &line : contacts) {
                ContactRecord record = contactFrom(line);
                record.setText(ContactColumn::Remark, record.name());
                QVERIFY(writer.insertContact(record));
            }
        }
        std::optional<ReadOnlyFile> readOnly;
        if (QString::fromLatin1(QTest::currentDataTag()).startsWith(u"read-only"_s)) {
            removeNumberIndex(fresh.path);
            if (readOnly.emplace(fresh.path).isWritable())
                QSKIP("cannot make a file read-only for this user");
        }
        AddressDatabase db(fresh.path, u"lookup"_s);
        QVERIFY(db.Open());
        QCOMPARE(db.hasNumberIndex(), !readOnly);

        const std::optional<CallerMatch> found = db.lookUpCaller(number);
        QVERIFY2(db.lastError().isEmpty(), qPrintable(db.lastError()));
        const QStringList kinds{u"exact"_s, u"digits"_s, u"suffix"_s};
        // The name is read from the remark: the whole row must come back.
        const QString described = found ? found->contact.text(ContactColumn::Remark) + u' ' + kinds.at(int(found->kind)) + u' '
                + QString(columnName(found->column)) + u' ' + QString::number(found->suffixLength) : QString();
        QCOMPARE(described, match);
    }

    void indexFollowsEveryWrite()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"writes"_s);
        QVERIFY(db.Open());
        const ContactRecord amy = contactFrom(u"Amy|hometelephonenumber|02-2345-6789|mobiletelephonenumber|0911 222 333"_s);
        const ContactRecord bob = contactFrom(u"Bob|businesstelephonenumber|(03) 555 1234"_s);
        QVERIFY(db.insertContact(amy) && db.insertContact(bob) && db.insertContact(amy));
        QVERIFY(indexInStep(fresh.path));
        QCOMPARE(db.deleteContact(amy), 2); // duplicates included
        QVERIFY(indexInStep(fresh.path));
        QVERIFY(db.replaceContact(bob, contactFrom(u"Bob|networkextension|(03) 555 9999"_s)));
        QVERIFY(indexInStep(fresh.path));
        // Statements of any kind, through Execute and from another program's connection.
        QVERIFY(db.Execute(u"UPDATE address_book SET hometelephonenumber = ?, rowid = rowid + 100"_s, {u"07-123 4567"_s}));
        QVERIFY(indexInStep(fresh.path));
        QCOMPARE(nameFound(db, u"071234567"_s), u"Bob"_s);
        rawQuery(fresh.path, u"INSERT INTO address_book (name, mobiletelephonenumber) VALUES ('Cat', '0988-776-655')"_s);
        QVERIFY(db.Execute(u"DELETE FROM address_book WHERE name = ?"_s, {u"Bob"_s}));
        QVERIFY(indexInStep(fresh.path));
        QCOMPARE(nameFound(db, u"035559999"_s), QString());
        QCOMPARE(nameFound(db, u"0988776655"_s), u"Cat"_s);
    }

    // An index that fell out of step behind the triggers' back (rows renumbered, a number
    // changed) is found on the first lookup that meets a stale entry and built anew, so later
    // lookups are served by the index again; a file that cannot be written is read row by row.
    void staleIndexIsRebuilt_data()
    {
        QTest::addColumn<QString>("change");   // run with the update trigger gone
        QTest::addColumn<QString>("number");   // looked up first: meets the stale entry
        QTest::addColumn<QString>("expected"); // its answer
        QTest::addColumn<QString>("later");    // then found through the rebuilt index
        QTest::addColumn<QString>("laterName");
        QTest::addColumn<bool>("readOnly");
        const QString renumber = u"UPDATE address_book SET rowid = rowid + 100"_s;
        const QString changeNumber = u"UPDATE address_book SET hometelephonenumber = '0933 444 555' WHERE name = 'Amy'"_s;
        QTest::newRow("rows renumbered") << renumber << u"0223456789"_s << u"Amy"_s << u"0911222333"_s << u"Bob"_s << false;
        QTest::newRow("number changed") << changeNumber << u"0223456789"_s << QString() << u"0933444555"_s << u"Amy"_s << false;
        QTest::newRow("number changed, read-only file")
            << changeNumber << u"0223456789"_s << QString() << u"0933444555"_s << u"Amy"_s << true;
    }
    void staleIndexIsRebuilt()
    {
        QFETCH(QString, change);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        QFETCH(QString, later);
        QFETCH(QString, laterName);
        QFETCH(bool, readOnly);
        FreshDatabase fresh;
        {
            AddressDatabase writer(fresh.path, u"writer"_s);
            QVERIFY(writer.Open());
            QVERIFY(writer.insertContact(contactFrom(u"Amy|hometelephonenumber|02-2345-6789"_s)));
            QVERIFY(writer.insertContact(contactFrom(u"Bob|mobiletelephonenumber|0911 222 333"_s)));
        }
        // Another program's edit made while the update trigger was gone.
        const QString trigger = u"contact_number_after_update"_s;
        const Rows saved = rawQuery(fresh.path, u"SELECT sql FROM sqlite_master WHERE name = ?"_s, {trigger});
        QCOMPARE(saved.size(), 1);
        rawQuery(fresh.path, u"DROP TRIGGER "_s + trigger);
        rawQuery(fresh.path, change);
        rawQuery(fresh.path, saved.at(0).at(0).toString());
        std::optional<ReadOnlyFile> file;
        if (readOnly && file.emplace(fresh.path).isWritable())
            QSKIP("cannot make a file read-only for this user");
        AddressDatabase db(fresh.path, u"stale"_s);
        QVERIFY(db.Open());
        QVERIFY(db.hasNumberIndex()); // every object of the index is there
        QVERIFY(!indexInStep(fresh.path));

        QCOMPARE(nameFound(db, number), expected);
        QCOMPARE(nameFound(db, later), laterName);
        QVERIFY2(db.lastError().isEmpty(), qPrintable(db.lastError()));
        QCOMPARE(db.hasNumberIndex(), !readOnly);
        QCOMPARE(indexInStep(fresh.path), !readOnly);
    }

    void oldFileGetsTheIndexOnOpen()
    {
        FreshDatabase fresh;
        removeNumberIndex(fresh.path);
        for (int i = 0; i < 50; ++i)
            rawQuery(fresh.path, u"INSERT INTO address_book (name, mobiletelephonenumber, homeextension) VALUES (?, ?, ?)"_s,
                     {u"Old %1"_s.arg(i, 2, 10, QChar(u'0')), u"0912-000-%1"_s.arg(100 + i), u"ext %1"_s.arg(i)});
        AddressDatabase db(fresh.path, u"upgrade"_s);
        QVERIFY2(db.Open(), qPrintable(db.lastError()));
        QVERIFY(db.hasNumberIndex());
        const std::optional<CallerMatch> match = db.lookUpCaller(u"+886 912 000 142"_s);
        QVERIFY(match && match->kind == CallerMatchKind::Suffix && match->suffixLength == 9);
        QCOMPARE(match->contact.name(), u"Old 42"_s);
        QVERIFY(indexInStep(fresh.path));
    }
};

QTEST_GUILESS_MAIN(TestCallerLookup)
#include "tst_callerlookup.moc"
