// SPDX-License-Identifier: GPL-3.0-or-later
// Contacts: the empty and NULL rules of a contact's identity, the duplicate test and replaces.

#include "AddressTestSupport.h"

using namespace dpx;
using namespace dpx::test;

namespace {
ContactRecord contact(const QString &name, ContactColumn column = ContactColumn::NickName, const QString &value = {})
{
    ContactRecord record;
    record.setText(ContactColumn::Name, name);
    record.setText(column, value);
    return record;
}
} // namespace

class TestContactStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fresh = std::make_unique<FreshDatabase>();
        m_db = std::make_unique<AddressDatabase>(m_fresh->path, u"contacts"_s);
        QVERIFY(m_db->Open());
    }
    void cleanup()
    {
        m_db.reset();
        m_fresh.reset();
    }

    void emptyNameAndNullColumnsMatchExactly()
    {
        // Rows written behind the program's back: a NULL name and an empty-text nickname.
        rawQuery(m_fresh->path, u"INSERT INTO address_book (name, nickname) VALUES (NULL, NULL), ('', '')"_s);
        QVERIFY(m_db->insertContact(ContactRecord()));
        QCOMPARE(rawQuery(m_fresh->path, u"SELECT typeof(name), typeof(nickname), typeof(remark), ishavepicture "
                                         "FROM address_book WHERE rowid = 3"_s),
                 (Rows{{u"text"_s, u"null"_s, u"null"_s, 0}}));
        QVERIFY(m_db->insertContact(contact({}, ContactColumn::NickName, u"Nick"_s)));
        QVERIFY(m_db->insertContact(contact({}, ContactColumn::JobTitle, u"Boss"_s)));
        QVERIFY(m_db->insertContact(contact({}, ContactColumn::Remark, u"not part of the identity"_s)));
        ContactCursor cursor(*m_db);
        QVERIFY(cursor.QueryContacts(ContactQuery::Identity, ContactRecord()));
        QCOMPARE(cursor.record(), ContactRecord());
        // name = '' and the rest IS NULL: the empty contact and the one differing in its remark only.
        QCOMPARE(m_db->deleteContact(ContactRecord()), 2);
        QCOMPARE(rawQuery(m_fresh->path, u"SELECT quote(name), quote(nickname), quote(jobtitle) FROM address_book"_s),
                 (Rows{{u"NULL"_s, u"NULL"_s, u"NULL"_s}, {u"''"_s, u"''"_s, u"NULL"_s},
                       {u"''"_s, u"'Nick'"_s, u"NULL"_s}, {u"''"_s, u"NULL"_s, u"'Boss'"_s}}));
    }

    void identityDeleteRemovesAllDuplicates()
    {
        const ContactRecord twin = filledContact(u"twin"_s);
        ContactRecord otherMobile = twin;
        otherMobile.setText(ContactColumn::MobileTelephoneNumber, u"0999"_s);
        QVERIFY(m_db->insertContact(twin) && m_db->insertContact(twin) && m_db->insertContact(otherMobile));
        QCOMPARE(m_db->deleteContact(twin), 2);
        QCOMPARE(rawQuery(m_fresh->path, u"SELECT mobiletelephonenumber FROM address_book"_s), (Rows{{u"0999"_s}}));
    }

    void duplicateTestComparesSixColumns_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("duplicate");
        const auto row = [](const char *name, ContactColumn column, const QString &value, bool duplicate) {
            QTest::newRow(name) << columnIndex(column) << value << duplicate;
        };
        row("other job title", ContactColumn::JobTitle, u"Chief"_s, true);
        row("empty department", ContactColumn::Department, u""_s, true);
        row("name in other case", ContactColumn::Name, u"Name-S"_s, false);
        row("other nickname", ContactColumn::NickName, u"nick"_s, false);
        row("empty mobile", ContactColumn::MobileTelephoneNumber, u""_s, false);
    }
    void duplicateTestComparesSixColumns()
    {
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(bool, duplicate);
        QVERIFY(m_db->insertContact(filledContact(u"s"_s)));
        ContactRecord candidate = filledContact(u"s"_s);
        candidate.setText(column, value);
        ContactCursor cursor(*m_db);
        QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, candidate));
        QCOMPARE(!cursor.IsEOF(), duplicate);
        // An empty value matches a stored NULL.
        if (value.isEmpty() && !duplicate) {
            QVERIFY(m_db->replaceContact(filledContact(u"s"_s), candidate));
            QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, candidate) && !cursor.IsEOF());
        }
    }

    void valuesRoundTripVerbatim_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("apostrophe") << u"O'Brien"_s;
        QTest::newRow("statement") << u"'); DROP TABLE address_book; --"_s;
        QTest::newRow("quotes and wildcards") << u"\"quoted\" \\ %_*?[a]"_s;
        QTest::newRow("chinese, lines and blanks") << u"  王小明\r\nsecond\tline  "_s;
    }
    void valuesRoundTripVerbatim()
    {
        QFETCH(QString, value);
        QVERIFY(m_db->insertContact(contact(u"Other"_s)));
        ContactRecord record;
        for (int column = 0; column < kContactTextColumnCount; ++column)
            record.setText(column, value);
        record.setHasPicture(true);
        QVERIFY2(m_db->insertContact(record), qPrintable(m_db->lastError()));
        ContactCursor cursor(*m_db);
        QVERIFY(cursor.QueryContacts(ContactQuery::Identity, record));
        QCOMPARE(cursor.record(), record);
        QVERIFY(cursor.QueryContacts(ContactQuery::Duplicate, record) && !cursor.IsEOF());
        QCOMPARE(m_db->deleteContact(record), 1);
        QCOMPARE(rawQuery(m_fresh->path, u"SELECT name FROM address_book"_s), (Rows{{u"Other"_s}}));
    }

    void replaceKeepsTheOldRowWhenTheInsertFails()
    {
        QVERIFY(m_db->Execute(u"CREATE TRIGGER refuse_marker BEFORE INSERT ON address_book "_s
                              "WHEN NEW.remark = 'REFUSE' BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
        const ContactRecord old = filledContact(u"old"_s);
        QVERIFY(m_db->insertContact(old) && m_db->insertContact(old) && m_db->insertContact(contact(u"Bystander"_s)));
        ContactRecord refused = filledContact(u"new"_s);
        refused.setText(ContactColumn::Remark, u"REFUSE"_s);
        QVERIFY(!m_db->replaceContact(old, refused));
        QVERIFY2(m_db->lastError().contains(u"refused"_s), qPrintable(m_db->lastError()));
        QCOMPARE(contactCount(m_fresh->path), 3);

        // A replace that succeeds removes every row of the old identity and adds one.
        QVERIFY2(m_db->replaceContact(old, filledContact(u"new"_s)), qPrintable(m_db->lastError()));
        QCOMPARE(rawQuery(m_fresh->path, u"SELECT name FROM address_book ORDER BY name"_s),
                 (Rows{{u"Bystander"_s}, {u"name-new"_s}}));
    }

private:
    std::unique_ptr<FreshDatabase> m_fresh;
    std::unique_ptr<AddressDatabase> m_db;
};

QTEST_GUILESS_MAIN(TestContactStore)
#include "tst_contactstore.moc"
