// SPDX-License-Identifier: GPL-3.0-or-later
// The call history: keeping a call as it ends (with the 10 000-row trim) next to the same insert
// in a flushed transaction of its own with a trim that counts every row (and that reference
// again without the flush, to show where the time goes); and opening the history window
// on 10 000 calls (names looked up for the rows shown) next to a QTableWidget with one item per
// cell and a lookup for every row, each to its first paint offscreen.

#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "history/CallHistoryWindow.h"

#include "../app/BenchTiming.h"

#include <QApplication>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace dpx;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRounds = 200;
constexpr int kWindowRounds = 7;

// The median of `rounds` runs of work(round), in milliseconds.
double median(int rounds, const std::function<void(int)> &work)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i)
        times.append(bench::timeMs([&] { work(i); }));
    return bench::median(times);
}

QString numberOf(int i)
{
    return u"09%1"_s.arg(10000000 + (i * 7919) % 90000000);
}

// A fresh address book with `contacts` contacts and a full history (the 10 000 newest calls).
QString prepare(const QTemporaryDir &dir, const QString &name, int contacts)
{
    const QString path = dir.filePath(name);
    createAddressDatabase(path);
    AddressDatabase db(path, u"prepare-"_s + name);
    db.Open(); // adds the history table
    QSqlDatabase raw = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"raw-"_s + name);
    raw.setDatabaseName(path);
    raw.open();
    QSqlQuery q(raw);
    q.exec(u"BEGIN"_s);
    q.prepare(u"INSERT INTO address_book (name, mobiletelephonenumber) VALUES (?, ?)"_s);
    for (int i = 0; i < contacts; ++i) {
        q.addBindValue(u"Contact %1"_s.arg(i));
        q.addBindValue(numberOf(i * 2)); // every other caller is in the phone book
        q.exec();
    }
    q.prepare(u"INSERT INTO call_history (started_ms, direction, number, answered, talk_seconds) "
              "VALUES (?, ?, ?, ?, ?)"_s);
    for (int i = 0; i < kCallHistoryLimit; ++i) {
        q.addBindValue(qint64(1'700'000'000'000) + qint64(i) * 60'000);
        q.addBindValue(i % 3 ? u"in"_s : u"out"_s);
        q.addBindValue(numberOf(i % 5000));
        q.addBindValue(i % 4 ? 1 : 0);
        q.addBindValue(i % 300);
        q.exec();
    }
    q.exec(u"COMMIT"_s);
    q = QSqlQuery();
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"raw-"_s + name);
    return path;
}

CallRecord endedCall(int i)
{
    CallRecord call;
    call.started = QDateTime::fromMSecsSinceEpoch(qint64(1'800'000'000'000) + i, Qt::UTC);
    call.number = numberOf(i);
    call.answered = true;
    call.talkSeconds = 42;
    return call;
}

void benchRecording(const QTemporaryDir &dir)
{
    const QString ours = prepare(dir, u"ours.db"_s, 1000);
    const QString theirs = prepare(dir, u"reference.db"_s, 1000);
    AddressDatabase db(ours, u"bench-ours"_s);
    db.Open();
    const double keep = median(kRounds, [&](int i) { db.recordCall(endedCall(i)); });

    AddressDatabase other(theirs, u"bench-reference"_s);
    other.Open();
    const auto reference = [&](int i) {
        const CallRecord call = endedCall(i);
        other.Execute(u"BEGIN IMMEDIATE"_s);
        other.Execute(u"INSERT INTO call_history (started_ms, direction, number, name, answered, "
                      "talk_seconds, interrupted) VALUES (?, 'in', ?, '', 1, ?, 0)"_s,
                      {call.started.toMSecsSinceEpoch(), call.number, call.talkSeconds});
        QSqlQuery count(QSqlDatabase::database(u"bench-reference"_s));
        count.exec(u"SELECT count(*) FROM call_history"_s);
        count.next();
        const int excess = count.value(0).toInt() - kCallHistoryLimit;
        count.finish();
        if (excess > 0)
            other.Execute(u"DELETE FROM call_history WHERE id IN (SELECT id FROM call_history "
                          "ORDER BY id LIMIT ?)"_s, {excess});
        other.Execute(u"COMMIT"_s);
    };
    const double flushed = median(kRounds, reference);
    QSqlQuery(QSqlDatabase::database(u"bench-reference"_s)).exec(u"PRAGMA synchronous = NORMAL"_s);
    const double unflushed = median(kRounds, reference);
    std::printf("call kept as it ends (10 000 kept): median %.3f ms"
                "  | reference, own transaction and trim by counting every row: %.3f ms"
                " (%.3f ms without flushing each commit, as ours)\n",
                keep, flushed, unflushed);
    std::printf("  rows kept: %d and %d\n", db.countCalls(), other.countCalls());
}

void benchWindow(const QTemporaryDir &dir)
{
    const QString path = prepare(dir, u"window.db"_s, 10000);
    AddressDatabase db(path, u"bench-window"_s);
    db.Open();
    const double ours = median(kWindowRounds, [&](int) {
        CallHistoryWindow window(&db);
        window.show();
        window.grab();
    });
    const double reference = median(kWindowRounds, [&](int) {
        const auto calls = db.readCalls();
        QTableWidget table(int(calls->size()), 5);
        for (int row = 0; row < calls->size(); ++row) {
            const CallRecord &call = calls->at(row);
            const auto match = db.lookUpCaller(call.number);
            table.setItem(row, 0, new QTableWidgetItem(call.started.toLocalTime().toString(u"yyyy/MM/dd HH:mm:ss"_s)));
            table.setItem(row, 1, new QTableWidgetItem(match ? match->contact.name() : call.name));
            table.setItem(row, 2, new QTableWidgetItem(call.number));
            table.setItem(row, 3, new QTableWidgetItem(CallHistoryModel::resultText(call)));
            table.setItem(row, 4, new QTableWidgetItem(CallHistoryModel::talkText(call)));
        }
        table.resize(560, 588);
        table.show();
        table.grab();
    });
    std::printf("history window on 10 000 calls to first paint: median %.1f ms"
                "  | reference, QTableWidget with a lookup for every row: %.1f ms\n",
                ours, reference);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    benchRecording(dir);
    benchWindow(dir);
    return 0;
}
