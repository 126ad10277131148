// SPDX-License-Identifier: GPL-3.0-or-later
// Several connections to one file: a locked database and a lookup thread beside a writer.

#include "AddressTestSupport.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactCursor.h"

#include <QAtomicInt>
#include <QMutex>
#include <QThread>
#include <QtTest>

using namespace dpx;
using namespace dpx::test;
using namespace Qt::StringLiterals;

namespace {

// A second program holding the write lock: BEGIN IMMEDIATE plus an uncommitted insert.
class LockHolder {
public:
    explicit LockHolder(const QString &path)
    {
        m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"lock-holder"_s);
        m_db.setDatabaseName(path);
        m_locked = m_db.open() && QSqlQuery(m_db).exec(u"BEGIN IMMEDIATE"_s)
            && QSqlQuery(m_db).exec(u"INSERT INTO address_book (name) VALUES ('held')"_s);
    }
    ~LockHolder()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"lock-holder"_s);
    }
    bool isLocked() const { return m_locked; }
    bool commit() { return QSqlQuery(m_db).exec(u"COMMIT"_s); }

private:
    QSqlDatabase m_db;
    bool m_locked = false;
};

} // namespace

class TestAddressThreads : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lockedDatabaseFailsClearlyAndLosesNothing();
    void lookupThreadSeesWholeRowsWhileWindowWrites();
};

void TestAddressThreads::lockedDatabaseFailsClearlyAndLosesNothing()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"window"_s);
    db.setBusyTimeout(150);
    QVERIFY(db.Open());
    const ContactRecord kept = filledContact(u"kept"_s);
    QVERIFY(db.insertContact(kept));

    LockHolder other(fresh.path);
    QVERIFY(other.isLocked());

    QVERIFY(!db.insertContact(filledContact(u"new"_s)));
    QVERIFY2(db.lastError().contains(u"in use"_s), qPrintable(db.lastError()));
    QVERIFY(!db.replaceContact(kept, filledContact(u"new"_s)));
    QVERIFY(db.lastError().contains(u"in use"_s));
    QCOMPARE(db.deleteContact(kept), -1);
    QVERIFY(!db.updateSkin(4));

    // Reading still works under WAL while the other side writes.
    ContactCursor cursor(db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, kept));
    QCOMPARE(cursor.record(), kept);

    QVERIFY(other.commit());
    QVERIFY2(db.insertContact(filledContact(u"new"_s)), qPrintable(db.lastError()));
    QVERIFY(db.lastError().isEmpty());
    const Rows names = rawQuery(fresh.path, u"SELECT name FROM address_book ORDER BY name"_s);
    QCOMPARE(names, (Rows{{u"held"_s}, {u"name-kept"_s}, {u"name-new"_s}}));
    QCOMPARE(db.ReadSettingsRow().skin, 0);
}

void TestAddressThreads::lookupThreadSeesWholeRowsWhileWindowWrites()
{
    FreshDatabase fresh;
    AddressDatabase window(fresh.path, u"window"_s);
    QVERIFY(window.Open());
    for (int i = 0; i < 50; ++i)
        QVERIFY(window.insertContact(filledContact(QString::number(i))));
    ContactRecord caller = filledContact(u"caller"_s);
    caller.setText(ContactColumn::HomeTelephoneNumber, u"0227001234"_s);
    caller.setText(ContactColumn::Remark, u"0"_s);
    caller.setText(ContactColumn::NickName, u"nick-0"_s);
    QVERIFY(window.insertContact(caller));

    // The reader side: its own connection, opened and used on its own thread.
    std::unique_ptr<AddressDatabase> readerDb = window.clone(u"reader"_s);
    QAtomicInt stop;
    QAtomicInt lookups;
    QMutex faultsLock;
    QStringList faults;
    QThread *reader = QThread::create([&] {
        if (!readerDb->Open()) {
            QMutexLocker lock(&faultsLock);
            faults.append(u"open: "_s + readerDb->lastError());
            return;
        }
        while (!stop.loadRelaxed()) {
            const std::optional<ContactRecord> found = readerDb->findContactByNumber(u"0227001234"_s);
            QString fault;
            if (!found)
                fault = u"not found: "_s + readerDb->lastError();
            else if (found->text(ContactColumn::NickName) != u"nick-"_s + found->text(ContactColumn::Remark))
                fault = u"torn row: "_s + found->text(ContactColumn::NickName) + u" / "_s
                    + found->text(ContactColumn::Remark);
            if (!fault.isEmpty()) {
                QMutexLocker lock(&faultsLock);
                faults.append(fault);
            }
            lookups.fetchAndAddRelaxed(1);
        }
        readerDb->Close();
    });
    reader->start();
    QTRY_VERIFY_WITH_TIMEOUT(lookups.loadRelaxed() >= 1 || !faults.isEmpty(), 20000); // reading before writing

    // The window thread keeps replacing the caller's row: nickname and remark change together.
    ContactRecord previous = caller;
    for (int i = 1; i <= 150; ++i) {
        ContactRecord next = previous;
        next.setText(ContactColumn::Remark, QString::number(i));
        next.setText(ContactColumn::NickName, u"nick-"_s + QString::number(i));
        QVERIFY2(window.replaceContact(previous, next), qPrintable(window.lastError()));
        previous = next;
        if (i % 10 == 0)
            QVERIFY(window.insertContact(filledContact(u"more"_s + QString::number(i))));
    }
    // Give the reader a fair share even on a busy machine before stopping it.
    QTRY_VERIFY_WITH_TIMEOUT(lookups.loadRelaxed() >= 20, 20000);
    stop.storeRelaxed(1);
    QVERIFY(reader->wait(20000));
    delete reader;

    QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 5).join(u"\n"_s)));
    QCOMPARE(contactCount(fresh.path), 50 + 1 + 15);
    QCOMPARE(window.findContactByNumber(u"0227001234"_s), std::optional(previous));
}

QTEST_GUILESS_MAIN(TestAddressThreads)
#include "tst_addressthreads.moc"
