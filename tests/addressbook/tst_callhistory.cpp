// SPDX-License-Identifier: GPL-3.0-or-later
// The call history table of the address database, on real SQLite files.
#include "AddressTestSupport.h"

using namespace dpx;
using namespace dpx::test;

namespace {

CallRecord call(qint64 startMs, CallDirection direction, const QString &number, bool answered = false,
                int talk = 0)
{
    CallRecord c;
    c.started = QDateTime::fromMSecsSinceEpoch(startMs, Qt::UTC);
    c.direction = direction;
    c.number = number;
    c.answered = answered;
    c.talkSeconds = talk;
    return c;
}

Rows tableColumns(const QString &path, const QString &table)
{
    return rawQuery(path, u"SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?)"_s, {table});
}

} // namespace

class TestCallHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oldFileGainsTheTableAndKeepsItsContacts()
    {
        FreshDatabase fresh;
        {
            AddressDatabase db(fresh.path, u"writer"_s);
            QVERIFY(db.Open());
            for (int i = 0; i < 20; ++i)
                QVERIFY(db.insertContact(filledContact(QString::number(i))));
        }
        // Back to a file from before the history (fresh files gain it on their first open too).
        rawQuery(fresh.path, u"DROP TABLE call_history"_s);
        rawQuery(fresh.path, u"PRAGMA user_version = 2"_s);
        const Rows contactsBefore = rawQuery(fresh.path, u"SELECT * FROM address_book ORDER BY rowid"_s);
        const Rows bookColumns = tableColumns(fresh.path, u"address_book"_s);
        const Rows settingColumns = tableColumns(fresh.path, u"phone_setting"_s);

        AddressDatabase db(fresh.path, u"upgrade"_s);
        QVERIFY2(db.Open(), qPrintable(db.lastError()));
        QVERIFY(db.hasCallHistory());
        QCOMPARE(db.countCalls(), 0);
        QCOMPARE(rawQuery(fresh.path, u"PRAGMA user_version"_s).value(0).value(0).toInt(), 3);
        QCOMPARE(rawQuery(fresh.path, u"SELECT * FROM address_book ORDER BY rowid"_s), contactsBefore);
        QCOMPARE(tableColumns(fresh.path, u"address_book"_s), bookColumns);
        QCOMPARE(tableColumns(fresh.path, u"phone_setting"_s), settingColumns);
        QCOMPARE(contactsBefore.size(), 20);
    }

    void callsRoundTripNewestFirstAsData()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"history"_s);
        QVERIFY(db.Open());
        // Numbers are kept exactly as captured: quotes, letters and SQL are just text.
        CallRecord odd = call(3000, CallDirection::Outgoing, u"02'); DROP TABLE call_history;--"_s, true, 61);
        odd.name = u"=HYPERLINK(\"x\")"_s;
        odd.interrupted = true;
        const QList<CallRecord> written{call(1000, CallDirection::Incoming, u"0912-345-678"_s),
                                        call(5000, CallDirection::Intercom, u"203"_s, true, 7), odd,
                                        call(5000, CallDirection::Incoming, u"ABC 123"_s)};
        QList<qint64> ids;
        for (const CallRecord &c : written) {
            ids << db.recordCall(c);
            QVERIFY2(ids.last() > 0, qPrintable(db.lastError()));
        }
        const auto read = db.readCalls();
        QVERIFY(read);
        // Newest start first; two calls of the same moment in the order they were kept, newest first.
        QList<CallRecord> expected{written[3], written[1], written[2], written[0]};
        const QList<qint64> expectedIds{ids[3], ids[1], ids[2], ids[0]};
        for (int i = 0; i < expected.size(); ++i)
            expected[i].id = expectedIds[i];
        QCOMPARE(*read, expected);
        QCOMPARE(read->first().started.timeSpec(), Qt::UTC);
        QCOMPARE(rawQuery(fresh.path, u"SELECT started_ms, direction FROM call_history WHERE id = ?"_s, {ids[1]}),
                 (Rows{{5000, u"intercom"_s}}));

        QCOMPARE(db.deleteCalls({ids[0], ids[2], 999999}), 2);
        QCOMPARE(db.countCalls(), 2);
        QVERIFY(db.clearCalls());
        QCOMPARE(db.countCalls(), 0);
    }

    void keepsTheNewestTenThousand()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"trim"_s);
        QVERIFY(db.Open());
        // 9 999 older calls, written by another program at once.
        rawQuery(fresh.path, u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9999) "
                             "INSERT INTO call_history (started_ms, direction, number, answered) "
                             "SELECT i * 1000, 'in', 'old ' || i, 0 FROM n"_s);
        QVERIFY(db.recordCall(call(20'000'000, CallDirection::Incoming, u"a"_s)) > 0);
        QCOMPARE(db.countCalls(), kCallHistoryLimit);
        QVERIFY(db.recordCall(call(20'000'001, CallDirection::Outgoing, u"b"_s)) > 0);
        QCOMPARE(db.countCalls(), kCallHistoryLimit);
        QCOMPARE(rawQuery(fresh.path, u"SELECT count(*) FROM call_history WHERE started_ms = 1000"_s),
                 (Rows{{0}})); // the oldest went in the same write
        const auto read = db.readCalls();
        QVERIFY(read && read->size() == kCallHistoryLimit);
        QCOMPARE(read->first().number, u"b"_s);
        QCOMPARE(read->last().number, u"old 2"_s);
    }

    void readOnlyFilesReadButRefuseToKeep()
    {
        FreshDatabase fresh;
        {
            AddressDatabase db(fresh.path, u"seed"_s);
            QVERIFY(db.Open() && db.recordCall(call(1000, CallDirection::Incoming, u"kept"_s)) > 0);
        }
        FreshDatabase old;
        rawQuery(old.path, u"INSERT INTO address_book (name) VALUES ('Old')"_s);
        for (const QString *path : {&fresh.path, &old.path}) {
            const ReadOnlyFile readOnly{*path};
            if (readOnly.isWritable())
                QSKIP("cannot make a file read-only for this user");
            AddressDatabase db(*path, u"read-only"_s);
            QVERIFY(db.Open());
            QCOMPARE(db.recordCall(call(2000, CallDirection::Incoming, u"lost"_s)), 0);
            QVERIFY2(!db.lastError().isEmpty(), "a refused write says why");
            const auto read = db.readCalls();
            QVERIFY(read);
            QCOMPARE(read->size(), path == &fresh.path ? 1 : 0);
            QVERIFY(db.lookUpCaller(u"0223456789"_s) == std::nullopt); // contacts still read
        }
    }
};

QTEST_GUILESS_MAIN(TestCallHistory)
#include "tst_callhistory.moc"
