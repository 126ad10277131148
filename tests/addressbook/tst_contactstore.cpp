// SPDX-License-Identifier: GPL-3.0-or-later
// Contacts: records, inserts, identity deletes, the duplicate test, the cursor and replaces.

#include "AddressTestSupport.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"

#include <QtTest>

using namespace dpx;
using namespace dpx::test;
using namespace Qt::StringLiterals;

namespace {

ContactRecord contact(const QString &name, const QString &nickname = {}, const QString &mobile = {})
{
    ContactRecord record;
    record.setText(ContactColumn::Name, name);
    record.setText(ContactColumn::NickName, nickname);
    record.setText(ContactColumn::MobileTelephoneNumber, mobile);
    return record;
}

QStringList namesInOrder(AddressDatabase &db)
{
    QStringList names;
    ContactCursor cursor(db);
    if (!cursor.QueryContacts())
        return {u"<failed>"_s};
    for (; !cursor.IsEOF(); cursor.MoveNext())
        names.append(cursor.GetText(u"name"_s));
    return names;
}

} // namespace

class TestContactStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void recordColumnsByIndexAndName();
    void emptyContactIsStoredAsTextNameAndNulls();
    void valuesRoundTripVerbatim_data();
    void valuesRoundTripVerbatim();
    void identityDeleteMatchesEmptyAndNullExactly();
    void identityDeleteRemovesAllDuplicates();
    void duplicateTestComparesSixColumns_data();
    void duplicateTestComparesSixColumns();
    void cursorReadsInNameOrder();
    void cursorIsClosedByEveryWrite();
    void cursorOnEmptyTableIsAtEndAtOnce();
    void cursorMayOutliveItsDatabase();
    void replaceIsAllOrNothing();
    void callerLookupFindsFirstInNameOrder();

private:
    std::unique_ptr<FreshDatabase> m_fresh;
    std::unique_ptr<AddressDatabase> m_db;
};

void TestContactStore::init()
{
    m_fresh = std::make_unique<FreshDatabase>();
    QVERIFY(m_fresh->created);
    m_db = std::make_unique<AddressDatabase>(m_fresh->path, u"contacts"_s);
    QVERIFY(m_db->Open());
}

void TestContactStore::cleanup()
{
    m_db.reset();
    m_fresh.reset();
}

void TestContactStore::recordColumnsByIndexAndName()
{
    QCOMPARE(contactColumnIndex(u"name"_s), 0);
    QCOMPARE(contactColumnIndex(u"IMMDIATENUMBER"_s), columnIndex(ContactColumn::ImmdiateNumber));
    QCOMPARE(contactColumnIndex(u"assitantextension"_s), 20);
    QCOMPARE(contactColumnIndex(u"remark"_s), 30);
    QCOMPARE(contactColumnIndex(u"ishavepicture"_s), 31);
    QCOMPARE(contactColumnIndex(u"assistantextension"_s), -1); // the correct spelling is not a column

    ContactRecord record;
    QVERIFY(record.setText(u"MobileTelephoneNumber"_s, u"0912"_s));
    QCOMPARE(record.text(ContactColumn::MobileTelephoneNumber), u"0912"_s);
    QCOMPARE(record.text(11), u"0912"_s);
    QVERIFY(!record.setText(u"nosuchcolumn"_s, u"x"_s));
    QCOMPARE(record.text(u"ishavepicture"_s), u"0"_s);
    QVERIFY(record.setText(u"ishavepicture"_s, u"2"_s));
    QVERIFY(record.hasPicture());
    QCOMPARE(record.text(u"ishavepicture"_s), u"1"_s);
    QVERIFY(record.setText(u"ishavepicture"_s, u"-1"_s)); // below 1: no picture
    QVERIFY(!record.hasPicture());
    record.setText(31, u"ignored"_s);
    record.setText(-1, u"ignored"_s);
    QCOMPARE(record.text(31), QString());
}

void TestContactStore::emptyContactIsStoredAsTextNameAndNulls()
{
    QVERIFY(m_db->insertContact(ContactRecord()));
    QString types;
    for (QLatin1StringView column : kContactColumns)
        types += u"typeof("_s + QString(column) + u"), "_s;
    types.chop(2);
    const QVariantList row = rawQuery(m_fresh->path, u"SELECT "_s + types + u" FROM address_book"_s).first();
    QCOMPARE(row.size(), kContactColumnCount);
    QCOMPARE(row.first().toString(), u"text"_s);
    for (int column = 1; column < kContactTextColumnCount; ++column)
        QCOMPARE(row.at(column).toString(), u"null"_s);
    QCOMPARE(row.last().toString(), u"integer"_s);
    QCOMPARE(rawValue(m_fresh->path, u"SELECT ishavepicture FROM address_book"_s).toInt(), 0);

    // Found again by its identity with name = '' and the rest IS NULL.
    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, ContactRecord()));
    QVERIFY(!cursor.IsEOF());
    QCOMPARE(cursor.record(), ContactRecord());
    QCOMPARE(m_db->deleteContact(ContactRecord()), 1);
    QCOMPARE(contactCount(m_fresh->path), 0);
}

void TestContactStore::valuesRoundTripVerbatim_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << u"O'Brien"_s;
    QTest::newRow("statement") << u"'); DROP TABLE address_book; --"_s;
    QTest::newRow("double quotes") << u"\"quoted\" \\ back"_s;
    QTest::newRow("wildcards") << u"%_*?[a]"_s;
    QTest::newRow("chinese") << u"王小明 公司統編"_s;
    QTest::newRow("lines and blanks") << u"  first line\r\nsecond\tline  "_s;
}

void TestContactStore::valuesRoundTripVerbatim()
{
    QFETCH(QString, value);
    QVERIFY(m_db->insertContact(contact(u"Other"_s, u"x"_s)));
    ContactRecord record;
    for (int column = 0; column < kContactTextColumnCount; ++column)
        record.setText(column, value);
    record.setHasPicture(true);
    QVERIFY2(m_db->insertContact(record), qPrintable(m_db->lastError()));

    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, record));
    QVERIFY(!cursor.IsEOF());
    QCOMPARE(cursor.record(), record);
    QCOMPARE(cursor.GetText(u"remark"_s), value);
    QCOMPARE(cursor.GetText(u"ishavepicture"_s), u"1"_s);
    cursor.MoveNext();
    QVERIFY(cursor.IsEOF());

    QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, record));
    QVERIFY(!cursor.IsEOF());

    QCOMPARE(m_db->deleteContact(record), 1);
    QCOMPARE(namesInOrder(*m_db), QStringList{u"Other"_s});
    QCOMPARE(m_db->ReadSettingsRow().lineCode, u"0"_s);
}

void TestContactStore::identityDeleteMatchesEmptyAndNullExactly()
{
    // Rows written behind the program's back: a NULL name and an empty-text nickname.
    rawQuery(m_fresh->path, u"INSERT INTO address_book (name, nickname) VALUES (NULL, NULL), ('', '')"_s);
    QVERIFY(m_db->insertContact(ContactRecord()));                     // name '' , nickname NULL
    QVERIFY(m_db->insertContact(contact(QString(), u"Nick"_s)));       // name '' , nickname 'Nick'
    ContactRecord withJob = contact(QString());
    withJob.setText(ContactColumn::JobTitle, u"Boss"_s);
    QVERIFY(m_db->insertContact(withJob));
    ContactRecord withRemark = contact(QString());
    withRemark.setText(ContactColumn::Remark, u"not part of the identity"_s);
    QVERIFY(m_db->insertContact(withRemark));
    QCOMPARE(contactCount(m_fresh->path), 6);

    // name = '' and every listed column IS NULL: the empty contact and the one that differs only
    // in its remark; not the NULL name, not the '' nickname, not 'Nick' or 'Boss'.
    QCOMPARE(m_db->deleteContact(ContactRecord()), 2);
    QCOMPARE(contactCount(m_fresh->path), 4);
    QCOMPARE(rawValue(m_fresh->path, u"SELECT count(*) FROM address_book WHERE name IS NULL"_s).toInt(), 1);
    QCOMPARE(rawValue(m_fresh->path, u"SELECT count(*) FROM address_book WHERE nickname = ''"_s).toInt(), 1);
    QCOMPARE(m_db->deleteContact(withJob), 1);
    QCOMPARE(m_db->deleteContact(contact(QString(), u"Nick"_s)), 1);
    QCOMPARE(m_db->deleteContact(contact(QString(), u"Nick"_s)), 0);
}

void TestContactStore::identityDeleteRemovesAllDuplicates()
{
    const ContactRecord twin = filledContact(u"twin"_s);
    ContactRecord otherMobile = twin;
    otherMobile.setText(ContactColumn::MobileTelephoneNumber, u"0999"_s);
    QVERIFY(m_db->insertContact(twin));
    QVERIFY(m_db->insertContact(twin));
    QVERIFY(m_db->insertContact(otherMobile));
    QCOMPARE(m_db->deleteContact(twin), 2);
    QCOMPARE(contactCount(m_fresh->path), 1);
    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts());
    QCOMPARE(cursor.record(), otherMobile);
}

void TestContactStore::duplicateTestComparesSixColumns_data()
{
    QTest::addColumn<int>("changedColumn");
    QTest::addColumn<QString>("newValue");
    QTest::addColumn<bool>("present");
    const auto row = [](const char *name, ContactColumn column, const QString &value, bool present) {
        QTest::newRow(name) << columnIndex(column) << value << present;
    };
    row("same", ContactColumn::Name, u"name-s"_s, true);
    row("other job title", ContactColumn::JobTitle, u"Chief"_s, true);
    row("other company", ContactColumn::Company, u"Elsewhere"_s, true);
    row("other department", ContactColumn::Department, u""_s, true);
    row("other remark", ContactColumn::Remark, u"changed"_s, true);
    row("other name", ContactColumn::Name, u"Name-S"_s, false);
    row("empty name", ContactColumn::Name, u""_s, false);
    row("other nickname", ContactColumn::NickName, u"nick"_s, false);
    row("empty mobile", ContactColumn::MobileTelephoneNumber, u""_s, false);
    row("other business", ContactColumn::BusinessTelephoneNumber, u"1"_s, false);
    row("other home", ContactColumn::HomeTelephoneNumber, u"2"_s, false);
    row("other fax", ContactColumn::BusinessFaxNumber, u"3"_s, false);
}

void TestContactStore::duplicateTestComparesSixColumns()
{
    QFETCH(int, changedColumn);
    QFETCH(QString, newValue);
    QFETCH(bool, present);
    QVERIFY(m_db->insertContact(filledContact(u"s"_s)));
    ContactRecord candidate = filledContact(u"s"_s);
    candidate.setText(changedColumn, newValue);

    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, candidate));
    QCOMPARE(!cursor.IsEOF(), present);

    // An empty value matches a stored NULL: clear the same column in the stored row.
    if (!present && newValue.isEmpty() && changedColumn != 0) {
        QVERIFY(m_db->replaceContact(filledContact(u"s"_s), candidate));
        QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, candidate));
        QVERIFY(!cursor.IsEOF());
    }
}

void TestContactStore::cursorReadsInNameOrder()
{
    for (const QString &name : {u"Carol"_s, u"alice"_s, u"Bob"_s, u"陳"_s, u""_s, u"Bob"_s})
        QVERIFY(m_db->insertContact(contact(name, name.isEmpty() ? QString() : name + u"-nick"_s)));
    QCOMPARE(namesInOrder(*m_db), (QStringList{u""_s, u"Bob"_s, u"Bob"_s, u"Carol"_s, u"alice"_s, u"陳"_s}));

    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts());
    QCOMPARE(cursor.GetText(u"nickname"_s), QString());  // NULL reads empty
    QCOMPARE(cursor.GetText(u"ishavepicture"_s), u"0"_s);
    QCOMPARE(cursor.GetText(u"nosuchcolumn"_s), QString());
    cursor.MoveNext();
    QCOMPARE(cursor.GetText(u"NICKNAME"_s), u"Bob-nick"_s);
    while (!cursor.IsEOF())
        cursor.MoveNext();
    QCOMPARE(cursor.GetText(u"name"_s), QString());
    cursor.MoveNext(); // past the end stays at the end
    QVERIFY(cursor.IsEOF());
}

void TestContactStore::cursorIsClosedByEveryWrite()
{
    QVERIFY(m_db->insertContact(contact(u"A"_s)));
    ContactCursor shared(*m_db);
    ContactCursor other(*m_db);
    const std::function<bool()> writes[] = {
        [&] { return m_db->insertContact(contact(u"B"_s)); },
        [&] { return m_db->deleteContact(contact(u"B"_s)) == 1; },
        [&] { return m_db->replaceContact(contact(u"A"_s), contact(u"A"_s, u"n"_s)); },
        [&] { return m_db->updateSkin(2); },
        [&] { return m_db->Execute(u"UPDATE address_book SET remark = ?"_s, {u"r"_s}); },
    };
    for (const auto &write : writes) {
        QVERIFY(shared.QueryContacts());
        QVERIFY(other.QueryContacts());
        QVERIFY(shared.IsOpen() && !shared.IsEOF());
        QVERIFY2(write(), qPrintable(m_db->lastError()));
        QVERIFY(!shared.IsOpen());
        QVERIFY(!other.IsOpen());
        QVERIFY(shared.IsEOF());
        QCOMPARE(shared.GetText(u"name"_s), QString());
    }
    QVERIFY(shared.QueryContacts());
    QCOMPARE(shared.record().text(ContactColumn::Remark), u"r"_s);

    // A closed database cannot be queried, and closing it closes its cursors.
    m_db->Close();
    QVERIFY(!shared.IsOpen());
    QVERIFY(!shared.QueryContacts());
    QVERIFY(m_db->lastError().contains(u"not open"_s));
}

void TestContactStore::cursorOnEmptyTableIsAtEndAtOnce()
{
    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts());
    QVERIFY(cursor.IsOpen());
    QVERIFY(cursor.IsEOF());
    QCOMPARE(cursor.GetText(u"name"_s), QString());
    QCOMPARE(cursor.record(), ContactRecord());
}

void TestContactStore::cursorMayOutliveItsDatabase()
{
    QVERIFY(m_db->insertContact(contact(u"A"_s)));
    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts());
    m_db.reset();
    QVERIFY(!cursor.IsOpen());
    QVERIFY(!cursor.QueryContacts());
    QCOMPARE(cursor.GetText(u"name"_s), QString());
}

void TestContactStore::replaceIsAllOrNothing()
{
    QVERIFY(m_db->Execute(u"CREATE TRIGGER refuse_marker BEFORE INSERT ON address_book "_s
                          "WHEN NEW.remark = 'REFUSE' BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    const ContactRecord old = filledContact(u"old"_s, true);
    QVERIFY(m_db->insertContact(old));
    QVERIFY(m_db->insertContact(old));
    QVERIFY(m_db->insertContact(contact(u"Bystander"_s)));

    ContactRecord refused = filledContact(u"new"_s);
    refused.setText(ContactColumn::Remark, u"REFUSE"_s);
    QVERIFY(!m_db->replaceContact(old, refused));
    QVERIFY2(m_db->lastError().contains(u"refused"_s), qPrintable(m_db->lastError()));
    QCOMPARE(contactCount(m_fresh->path), 3);
    ContactCursor cursor(*m_db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, old));
    QCOMPARE(cursor.record(), old);

    // A replace that succeeds removes every row of the old identity and adds one.
    const ContactRecord updated = filledContact(u"new"_s);
    QVERIFY2(m_db->replaceContact(old, updated), qPrintable(m_db->lastError()));
    QVERIFY(m_db->lastError().isEmpty());
    QCOMPARE(contactCount(m_fresh->path), 2);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, updated));
    QCOMPARE(cursor.record(), updated);
    QCOMPARE(namesInOrder(*m_db), (QStringList{u"Bystander"_s, u"name-new"_s}));
}

void TestContactStore::callerLookupFindsFirstInNameOrder()
{
    ContactRecord zed = contact(u"Zed"_s, {}, u"0911"_s);
    ContactRecord amy = contact(u"Amy"_s);
    amy.setText(ContactColumn::NetworkExtension, u"0911"_s);
    amy.setHasPicture(true);
    ContactRecord letters = contact(u"Sip"_s);
    letters.setText(ContactColumn::NetworkPhoneNumber, u"sip:Desk"_s);
    for (const ContactRecord &record : {zed, amy, letters})
        QVERIFY(m_db->insertContact(record));

    QCOMPARE(m_db->findContactByNumber(u"0911"_s), std::optional(amy));
    QCOMPARE(m_db->findContactByNumber(u"SIP:desk"_s), std::optional(letters));
    QCOMPARE(m_db->findContactByNumber(u"091"_s), std::nullopt);
    QVERIFY(m_db->lastError().isEmpty());
    QCOMPARE(m_db->findContactByNumber(QString()), std::nullopt);

    QVERIFY(m_db->deleteContact(amy) == 1);
    QCOMPARE(m_db->findContactByNumber(u"0911"_s), std::optional(zed));
}

QTEST_GUILESS_MAIN(TestContactStore)
#include "tst_contactstore.moc"
