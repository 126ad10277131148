// SPDX-License-Identifier: GPL-3.0-or-later
// The call history core: the recorder, the table model over a real file, and the CSV export.
#include "history/CallHistoryCsv.h"
#include "history/CallHistoryModel.h"
#include "history/CallHistoryRecorder.h"

#include "../addressbook/AddressTestSupport.h"

#include <QSignalSpy>

using namespace dpx;
using namespace dpx::test;

namespace {

CallRecord call(qint64 startSeconds, CallDirection direction, const QString &number, bool answered,
                const QString &name = {})
{
    CallRecord c;
    c.started = QDateTime::fromSecsSinceEpoch(startSeconds, Qt::UTC);
    c.direction = direction;
    c.number = number;
    c.answered = answered;
    c.name = name;
    c.talkSeconds = answered ? 75 : 0;
    return c;
}

ContactRecord contact(const QString &name, ContactColumn column, const QString &number)
{
    ContactRecord c;
    c.setText(ContactColumn::Name, name);
    c.setText(column, number);
    return c;
}

QStringList column(const CallHistoryModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filtersAndSearch_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("numbers");
        const auto all = CallHistoryModel::All;
        QTest::newRow("all, newest first") << int(all) << "" << QStringList{"203", "02-2345-6789", "0912345678", "0223456789"};
        QTest::newRow("missed") << int(CallHistoryModel::Missed) << "" << QStringList{"203", "0912345678"};
        QTest::newRow("incoming") << int(CallHistoryModel::Incoming) << "" << QStringList{"203", "0912345678", "0223456789"};
        QTest::newRow("outgoing") << int(CallHistoryModel::Outgoing) << "" << QStringList{"02-2345-6789"};
        QTest::newRow("digits whatever the separators") << int(all) << "(02) 2345 6789" << QStringList{"02-2345-6789", "0223456789"};
        QTest::newRow("part of a number") << int(all) << "345" << QStringList{"02-2345-6789", "0912345678", "0223456789"};
        QTest::newRow("name from the phone book") << int(all) << "chen" << QStringList{"0912345678"};
        QTest::newRow("name kept at call time") << int(all) << "desk" << QStringList{"203"};
        QTest::newRow("a name with digits is not a number") << int(all) << "chen 2" << QStringList{};
        QTest::newRow("missed and searched") << int(CallHistoryModel::Missed) << "0912" << QStringList{"0912345678"};
    }
    void filtersAndSearch()
    {
        QFETCH(int, filter);
        QFETCH(QString, search);
        QFETCH(QStringList, numbers);
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"model"_s);
        QVERIFY(db.Open());
        QVERIFY(db.insertContact(contact(u"Chen"_s, ContactColumn::MobileTelephoneNumber, u"0912-345-678"_s)));
        for (const CallRecord &c : {call(100, CallDirection::Incoming, u"0223456789"_s, true),
                                    call(300, CallDirection::Incoming, u"0912345678"_s, false),
                                    call(400, CallDirection::Outgoing, u"02-2345-6789"_s, true),
                                    call(500, CallDirection::Intercom, u"203"_s, false, u"Desk"_s)})
            QVERIFY(db.recordCall(c) > 0);
        CallHistoryModel model(&db);
        QVERIFY(model.refresh());
        model.setFilter(CallHistoryModel::Filter(filter));
        model.setSearchText(search);
        QCOMPARE(column(model, CallHistoryModel::NumberColumn), numbers);
    }

    void namesFollowThePhoneBookForShownRowsOnly()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"names"_s);
        QVERIFY(db.Open());
        QVERIFY(db.recordCall(call(100, CallDirection::Incoming, u"0223456789"_s, true, u"Old name"_s)) > 0);
        QVERIFY(db.recordCall(call(200, CallDirection::Incoming, u"0287654321"_s, false)) > 0);
        CallHistoryModel model(&db);
        QVERIFY(model.refresh());
        QCOMPARE(column(model, CallHistoryModel::NameColumn), (QStringList{u""_s, u"Old name"_s}));
        // The caller is saved after the call: the rows show the phone book's name from then on.
        QVERIFY(db.insertContact(contact(u"Lin"_s, ContactColumn::HomeTelephoneNumber, u"02-8765-4321"_s)));
        QVERIFY(db.insertContact(contact(u"Wang"_s, ContactColumn::HomeTelephoneNumber, u"0223456789"_s)));
        QVERIFY(model.refresh());
        QCOMPARE(column(model, CallHistoryModel::NameColumn), (QStringList{u"Lin"_s, u"Wang"_s}));
        QCOMPARE(model.callAt(0).number, u"0287654321"_s); // the row keeps the number

        // Names are looked up when rows are shown, once per number; refresh reads in one go.
        QStringList looked;
        model.setNameLookup([&](const QString &number) { looked << number; return QString(); });
        QVERIFY(model.refresh());
        QVERIFY(looked.isEmpty());
        model.index(1, CallHistoryModel::NameColumn).data();
        model.index(1, CallHistoryModel::NameColumn).data();
        QCOMPARE(looked, QStringList{u"0223456789"_s});
        QCOMPARE(model.shownName(1), u"Old name"_s); // no contact any more: the name at call time
    }

    void newContactColumn_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("mobile");
        QTest::newRow("mobile") << "0912345678" << true;
        QTest::newRow("mobile with separators") << "0912-345-678" << true;
        QTest::newRow("international mobile") << "+886 912 345 678" << true;
        QTest::newRow("dialled abroad") << "00886912345678" << true;
        QTest::newRow("city number") << "02-2345-6789" << false;
        QTest::newRow("too short") << "091234567" << false;
        QTest::newRow("extension") << "203" << false;
        QTest::newRow("letters") << "ABC" << false;
    }
    void newContactColumn()
    {
        QFETCH(QString, number);
        QFETCH(bool, mobile);
        QCOMPARE(CallHistoryModel::contactColumnFor(number),
                 mobile ? ContactColumn::MobileTelephoneNumber : ContactColumn::HomeTelephoneNumber);
    }

    void csvFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Chen" << "Chen";
        QTest::newRow("comma") << "Chen, Li" << "\"Chen, Li\"";
        QTest::newRow("quote") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line break") << "a\nb" << "\"a\nb\"";
        QTest::newRow("formula") << "=1+2" << "'=1+2";
        QTest::newRow("plus") << "+886 2 2345 6789" << "'+886 2 2345 6789";
        QTest::newRow("minus") << "-5" << "'-5";
        QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("formula with a comma") << "=HYPERLINK(\"x\",\"y\")" << "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\"";
        QTest::newRow("leading space") << " x" << "\" x\"";
        QTest::newRow("chinese") << "王小明" << "王小明";
    }
    void csvFields()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csvField(text, true), field);
    }

    void csvFile()
    {
        CallRecord c = call(1'700'000'000, CallDirection::Intercom, u"203"_s, true);
        c.interrupted = true;
        const QByteArray csv = callHistoryCsv({c}, {u"=cmd"_s});
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(2), QString());
        const QStringList fields = lines.at(1).split(u',');
        QCOMPARE(QDateTime::fromString(fields.at(0), Qt::ISODate).toUTC(), c.started);
        QCOMPARE(fields.mid(1), (QStringList{u"'=cmd"_s, u"203"_s, u"內線來電"_s, u"intercom-answered"_s, u"75"_s, u"1"_s}));

        QTemporaryDir dir;
        QString error;
        QVERIFY(writeCallHistoryCsv(dir.filePath(u"h.csv"_s), csv, &error));
        QCOMPARE(fileBytes(dir.filePath(u"h.csv"_s)), csv);
        QVERIFY(!writeCallHistoryCsv(dir.filePath(u"no/such/folder/h.csv"_s), csv, &error));
        QVERIFY(!error.isEmpty());
    }

    void recorderKeepsCallsAndSaysOnceWhenItCannot()
    {
        FreshDatabase fresh;
        AddressDatabase db(fresh.path, u"recorder"_s);
        CallHistoryRecorder recorder(&db);
        QSignalSpy problems(&recorder, &CallHistoryRecorder::problem);
        QSignalSpy missed(&recorder, &CallHistoryRecorder::missedCountChanged);
        qint64 now = 1'700'000'000'000;
        recorder.tracker().setClock([&] { return now; });
        auto missedCall = [&] {
            recorder.tracker().ringStarted(true);
            recorder.tracker().callerIdentified(u"0912345678"_s, {});
            recorder.tracker().ringEnded();
            now += CallTracker::AnswerGraceMs;
            recorder.tracker().settle();
        };
        missedCall();
        QCOMPARE(recorder.missedCount(), 1);
        QCOMPARE(db.countCalls(), 1);
        QCOMPARE(recorder.lastKept().resultName() + u' ' + recorder.lastKept().number, u"missed 0912345678"_s);
        {
            const ReadOnlyFile readOnly{fresh.path};
            db.Close();
            if (readOnly.isWritable())
                QSKIP("cannot make a file read-only for this user");
            missedCall();
            missedCall();
            QCOMPARE(problems.size(), 1);
            QCOMPARE(problems.at(0).at(0).toString(), QString::fromUtf8(CallHistoryRecorder::NotKeptText));
            QCOMPARE(recorder.missedCount(), 3); // the count on the icon still counts
            db.Close();
        }
        missedCall();
        QCOMPARE(db.countCalls(), 2);
        recorder.clearMissedCount();
        QCOMPARE(missed.last().at(0).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
