// SPDX-License-Identifier: GPL-3.0-or-later
// The call state machine, played from tables of telephone events.
#include "PhoneTestHelpers.h"

#include "phone/CallTracker.h"

#include <QSignalSpy>
#include <QTest>

using namespace dpx;
using namespace dpx::test;

namespace {

// Plays steps against a mirror and a tracker on a fake clock. A step is one of:
//   "90 02"            an event pair (hex)
//   "+1500"            the clock moves on (ms); the grace timer's check runs
//   "line2 0223456789" the telephone writes display line 2
//   "dial N"           DPX dials N;   "caller N NAME"  the capture found N (and NAME)
//   "pull"             the box is pulled (or DPX ends)
// and the result is one line per ended call: "RESULT NUMBER TALKs[ interrupted][ NAME]".
struct Player {
    DisplayModel model;
    CallTracker tracker;
    qint64 clock = 1'700'000'000'000;
    QStringList ended;
    int missed = 0;

    Player()
    {
        tracker.setClock([this] { return clock; });
        QObject::connect(&tracker, &CallTracker::ended, [this](const CallRecord &call) {
            QString line = call.resultName() + u' ' + call.number + u' '
                + QString::number(call.talkSeconds) + u's';
            if (call.interrupted)
                line += QStringLiteral(" interrupted");
            if (!call.name.isEmpty())
                line += u' ' + call.name;
            ended << line;
        });
        QObject::connect(&tracker, &CallTracker::missed, [this] { ++missed; });
    }

    void play(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QStringList w = step.split(u' ');
            if (step.startsWith(u'+')) {
                clock += step.mid(1).toInt();
                tracker.settle();
            } else if (w[0] == u"line2") {
                writeLine(model, 1, w.value(1).toLatin1().leftJustified(16, ' '));
            } else if (w[0] == u"dial") {
                tracker.dialled(w[1]);
            } else if (w[0] == u"caller") {
                tracker.callerIdentified(w[1], w.value(2));
            } else if (w[0] == u"pull") {
                tracker.closeInterrupted();
            } else {
                const auto fx = model.apply(quint8(w[0].toUInt(nullptr, 16)), quint8(w[1].toUInt(nullptr, 16)));
                tracker.observe(fx, model);
            }
        }
    }
};

} // namespace

class CallTrackerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eventTables_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("calls");
        // Ring start 90 02 (outside line) / 90 04 (intercom), ring end 90 01; call timer shown
        // 80 01, stopped 80 08 (or 80 02, or the clock 60 00).
        QTest::newRow("missed: the ring stops, nothing within the grace")
            << QStringList{"90 02", "caller 0912345678", "+4000", "90 01", "+2999"}
            << QStringList{};
        QTest::newRow("missed once the grace has run out")
            << QStringList{"90 02", "caller 0912345678 王小明", "90 01", "+3000"}
            << QStringList{"missed 0912345678 0s 王小明"};
        QTest::newRow("answered: ring off and the timer in one report")
            << QStringList{"90 02", "caller 0223456789", "90 01", "80 01", "+65400", "80 08"}
            << QStringList{"answered 0223456789 65s"};
        QTest::newRow("answered on the last ring: timer before the ring ends")
            << QStringList{"90 02", "+2000", "80 01", "90 01", "+10000", "80 08", "+5000"}
            << QStringList{"answered  10s"};
        QTest::newRow("answered after the ring stopped, within the grace")
            << QStringList{"90 02", "90 01", "+2500", "80 01", "+3000", "80 02"}
            << QStringList{"answered  3s"};
        QTest::newRow("timer after the grace: a missed call, then an outgoing one")
            << QStringList{"90 02", "caller 021", "90 01", "+3500", "line2 0287654321", "80 01", "+1000", "80 08"}
            << QStringList{"missed 021 0s", "outgoing 0287654321 1s"};
        QTest::newRow("the clock shown ends a call")
            << QStringList{"90 02", "90 01", "80 01", "+7000", "60 00"}
            << QStringList{"answered  7s"};
        QTest::newRow("outgoing dialled by DPX: the dialled number wins over the display")
            << QStringList{"dial 0223456789", "+20000", "line2 9", "80 01", "+30000", "80 08"}
            << QStringList{"outgoing 0223456789 30s"};
        QTest::newRow("a dial long ago does not name a later call")
            << QStringList{"dial 0223456789", "+61000", "line2 0912000111", "80 01", "80 08"}
            << QStringList{"outgoing 0912000111 0s"};
        QTest::newRow("outgoing on the handset: bit 2 twice shows the timer")
            << QStringList{"line2 0287654321", "80 04", "80 04", "+2000", "80 08"}
            << QStringList{"outgoing 0287654321 2s"};
        QTest::newRow("intercom answered and intercom missed")
            << QStringList{"90 04", "caller 203", "90 01", "80 01", "+4000", "80 08",
                           "90 04", "caller 205", "90 01", "+3000"}
            << QStringList{"intercom-answered 203 4s", "intercom-missed 205 0s"};
        QTest::newRow("repeated ring reports are one call")
            << QStringList{"90 02", "90 02", "+1000", "90 02", "90 01", "+1000", "90 02", "90 01", "+3000"}
            << QStringList{"missed  0s"};
        QTest::newRow("pulled while talking: closed with the time known")
            << QStringList{"90 02", "90 01", "80 01", "+12000", "pull", "80 08"}
            << QStringList{"answered  12s interrupted"};
        QTest::newRow("pulled while ringing")
            << QStringList{"90 02", "caller 0912345678", "pull", "+5000", "90 01"}
            << QStringList{"missed 0912345678 0s interrupted"};
        QTest::newRow("timer events with no call, a ring end with no ring")
            << QStringList{"80 08", "80 02", "90 01", "60 00", "+5000"}
            << QStringList{};
        QTest::newRow("a timer shown twice is one call, not reset")
            << QStringList{"90 02", "90 01", "80 01", "+5000", "80 01", "+5000", "80 08", "80 08"}
            << QStringList{"answered  10s"};
        QTest::newRow("a ring inside a string entry is display text, not a ring")
            << QStringList{"40 c0", "90 02", "80 80", "+5000"}
            << QStringList{};
    }
    void eventTables()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, calls);
        Player p;
        p.play(steps);
        QCOMPARE(p.ended, calls);
    }

    void eventStormMakesOneCall()
    {
        Player p;
        for (int i = 0; i < 100; ++i) {
            p.play({"90 02", "+10"});
            if (i % 3 == 0)
                p.play({"90 01"});
        }
        p.play({"90 01", "80 01", "80 01", "+1000", "80 08", "80 08", "90 01", "+4000"});
        QCOMPARE(p.ended, QStringList{"answered  1s"});
        QCOMPARE(p.missed, 0);
    }

    void signalsCarryTheCall()
    {
        Player p;
        QSignalSpy ringing(&p.tracker, &CallTracker::ringing);
        QSignalSpy caller(&p.tracker, &CallTracker::callerChanged);
        QSignalSpy answered(&p.tracker, &CallTracker::answered);
        QSignalSpy outgoing(&p.tracker, &CallTracker::outgoingConnected);
        p.play({"90 04", "caller 203 Desk", "caller 203 Desk", "90 01", "80 01"});
        QCOMPARE(ringing.size(), 1);
        QCOMPARE(caller.size(), 1); // the same caller again is no news
        QCOMPARE(answered.size(), 1);
        const auto call = answered.at(0).at(0).value<CallRecord>();
        QCOMPARE(call.direction, CallDirection::Intercom);
        QCOMPARE(call.number, QStringLiteral("203"));
        QCOMPARE(call.started, QDateTime::fromMSecsSinceEpoch(p.clock, Qt::UTC));
        p.play({"80 08", "dial 021", "80 01"});
        QCOMPARE(outgoing.size(), 1);
        // A number captured during an outgoing call does not rename it.
        p.play({"caller 0999", "80 08"});
        QCOMPARE(p.ended.last(), QStringLiteral("outgoing 021 0s"));
    }

    void clockSetBackGivesNoNegativeTalk()
    {
        Player p;
        p.play({"90 02", "90 01", "80 01", "+-60000", "80 08"});
        QCOMPARE(p.ended, QStringList{"answered  0s"});
    }
};

QTEST_GUILESS_MAIN(CallTrackerTest)
#include "tst_calls.moc"
