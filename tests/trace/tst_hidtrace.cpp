// SPDX-License-Identifier: GPL-3.0-or-later
// The trace format, the tracing decorator over the simulated box, and the replay transport.
#include "device/HidTrace.h"
#include "device/ReplayTransport.h"
#include "device/TracingTransport.h"
#include "sim/SimulatedBox.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {

const QByteArray Header = "dpx-hid-trace 1\nprogram DPX 0.1\nbox 04d9 2851 0100 sim:usb-box\n";
const QByteArray Frame = "0104049c5b" + QByteArray(40, 'f'); // one 25-byte output report

QByteArray report(const QByteArray &hex)
{
    return QByteArray::fromHex(hex);
}

// Polls the connection while the event loop runs, up to two seconds; the length read.
int readWithEvents(HidConnection &connection, quint8 *buffer)
{
    for (int i = 0; i < 200; ++i) {
        const int count = connection.read(buffer, 8, 0);
        if (count != 0)
            return count;
        QTest::qWait(10);
    }
    return 0;
}

} // namespace

class HidTraceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsEveryKindOfLine()
    {
        const HidTraceParse parsed = parseHidTrace(
            "# a trace\r\n" + Header + "\n10 in 0143250326ffffff\n10 out " + Frame
            + "\n25 removed\n30 arrived 04d9 2851 0101 /dev/hid raw 3\n31 mark script line 4\n");
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        const HidTrace &t = parsed.trace;
        QCOMPARE(t.program, QStringLiteral("DPX 0.1"));
        QVERIFY(t.box && t.box->vendorId == 0x04d9 && t.box->releaseNumber == 0x0100);
        QCOMPARE(t.events.size(), 5);
        QCOMPARE(t.events[0].line, 6);
        QCOMPARE(t.events[0].report, report("0143250326ffffff"));
        QCOMPARE(t.events[1].kind, HidTraceEvent::Out);
        QCOMPARE(t.events[2].kind, HidTraceEvent::Removed);
        QCOMPARE(t.events[3].device.path, QStringLiteral("/dev/hid raw 3")); // rest of the line
        QCOMPARE(t.events[4].note, QStringLiteral("script line 4"));
        // What the writer writes, the reader reads back the same.
        for (const HidTraceEvent &event : t.events) {
            const HidTraceParse again = parseHidTrace(Header + hidTraceLine(event));
            QVERIFY2(again.error.isEmpty(), qPrintable(again.error));
            QCOMPARE(hidTraceLine(again.trace.events.first()), hidTraceLine(event));
        }
    }

    void refusesBadTracesWithTheLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not a trace") << QByteArray("hello\n") << 1 << "not a DPX HID trace";
        QTest::newRow("another version") << QByteArray("dpx-hid-trace 2\n") << 1 << "version 1";
        QTest::newRow("empty") << QByteArray() << 1 << "inside its header";
        QTest::newRow("event before the box") << QByteArray("dpx-hid-trace 1\n5 in 01\n") << 2 << "before the box";
        QTest::newRow("bad hex byte") << Header + "5 in 01zz\n" << 4 << "whole hex bytes";
        QTest::newRow("half a byte") << Header + "5 out 010\n" << 4 << "whole hex bytes";
        QTest::newRow("no report") << Header + "5 in\n" << 4 << "whole hex bytes";
        QTest::newRow("time goes backwards") << Header + "9 in 01\n8 in 02\n" << 5 << "backwards";
        QTest::newRow("negative time") << Header + "-1 in 01\n" << 4 << "not a trace line";
        QTest::newRow("unknown event") << Header + "5 sideways 01\n" << 4 << "unknown event";
        QTest::newRow("removed with an argument") << Header + "5 removed now\n" << 4 << "unknown event";
        QTest::newRow("arrived without a path") << Header + "5 arrived 04d9 2851 0100\n" << 4 << "arrived needs";
        QTest::newRow("cut short") << Header + "5 in 0143" << 4 << "cut short";
        QTest::newRow("line over 4 KiB") << Header + "5 in " + QByteArray(4096, 'a') + "\n" << 4 << "longer than 4096";
        QTest::newRow("second box line") << Header + "box none\n" << 4 << "not a trace line";
    }
    void refusesBadTracesWithTheLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, problem);
        const HidTraceParse parsed = parseHidTrace(text);
        QCOMPARE(parsed.errorLine, line);
        QVERIFY2(parsed.error.startsWith(QStringLiteral("line %1: ").arg(line)), qPrintable(parsed.error));
        QVERIFY2(parsed.error.contains(problem), qPrintable(parsed.error));
    }

    // The decorator over the simulated box records both directions, the box leaving and
    // coming back, in time order; the program's report comes before the reply it caused.
    void tracesTheSimulatedBox()
    {
        SimulatedBox box;
        box.plug();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        TracingTransport tracer(box, buffer, QStringLiteral("DPX test"));
        QSignalSpy changes(&tracer, &HidTransport::devicesChanged);
        auto connection = tracer.open(box.devicePath());
        QVERIFY(connection);
        const QByteArray linkOn = QByteArray::fromHex("01040001fa").leftJustified(25, '\xff');
        QCOMPARE(connection->write(reinterpret_cast<const quint8 *>(linkOn.constData()), 25), 25);
        quint8 reply[8];
        QCOMPARE(connection->read(reply, 8, 500), 8);
        box.unplug();
        box.plug();
        QCOMPARE(changes.count(), 2);
        tracer.mark(QStringLiteral("done"));

        const HidTraceParse parsed = parseHidTrace(buffer.data());
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        QCOMPARE(parsed.trace.program, QStringLiteral("DPX test"));
        QCOMPARE(parsed.trace.box->path, box.devicePath());
        QList<HidTraceEvent::Kind> kinds;
        for (const HidTraceEvent &event : parsed.trace.events)
            kinds << event.kind;
        QCOMPARE(kinds, (QList<HidTraceEvent::Kind>{HidTraceEvent::Out, HidTraceEvent::In, HidTraceEvent::Removed,
                                                    HidTraceEvent::Arrived, HidTraceEvent::Mark}));
        QCOMPARE(parsed.trace.events[0].report, linkOn);
        QCOMPARE(parsed.trace.events[1].report, QByteArray(reinterpret_cast<char *>(reply), 8));
    }

    // A box report recorded after the program's write is only read once that write happened;
    // the next write must be the recorded one, or the replay names the line.
    void replayWaitsForTheProgramAndNamesTheFirstDifference_data()
    {
        QTest::addColumn<QByteArray>("second"); // what the program writes second
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("same") << QByteArray::fromHex(Frame) << 0 << QString();
        QByteArray changed = QByteArray::fromHex(Frame);
        changed[4] = char(0x5c);
        QTest::newRow("one byte changed") << changed << 1 << "line 7: the trace has out 0104049c5b";
    }
    void replayWaitsForTheProgramAndNamesTheFirstDifference()
    {
        QFETCH(QByteArray, second);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        HidTraceParse parsed = parseHidTrace(Header + "100 in 0143250326ffffff\n200 out " + Frame
                                             + "\n300 in 0143330000ffffff\n400 out " + Frame + "\n");
        QVERIFY(parsed.error.isEmpty());
        ReplayTransport replay(parsed.trace, 4.0);
        QSignalSpy finished(&replay, &ReplayTransport::finished);
        QCOMPARE(replay.enumerate().size(), 1);
        auto connection = replay.open(QStringLiteral("sim:usb-box"));
        QVERIFY(connection);
        QVERIFY(!replay.open(QStringLiteral("/dev/other")));
        replay.start();
        quint8 in[8];
        QCOMPARE(connection->read(in, 8, 0), 0); // listening now; nothing before its time
        QCOMPARE(readWithEvents(*connection, in), 8);
        QCOMPARE(in[3], quint8(0x03));
        QTest::qWait(50);
        QCOMPARE(connection->read(in, 8, 0), 0); // held until the program writes
        const QByteArray first = QByteArray::fromHex(Frame);
        connection->write(reinterpret_cast<const quint8 *>(first.constData()), 25);
        QCOMPARE(readWithEvents(*connection, in), 8);
        QCOMPARE(in[2], quint8(0x33));
        connection->write(reinterpret_cast<const quint8 *>(second.constData()), 25);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().at(0).toInt(), exitCode);
        QVERIFY2(finished.first().at(1).toString().startsWith(message), qPrintable(finished.first().at(1).toString()));
        QCOMPARE(replay.verdict(), finished.first().at(1).toString());
    }

    // A write the program never made: replayed alone, the verdict points at the clicks or the
    // job that caused it when recorded; with a script it does not.
    void missingWriteNamesWhatReplaysIt()
    {
        HidTraceParse parsed = parseHidTrace(Header + "100 mark script line 2\n200 out " + Frame + "\n");
        for (const bool scripted : {false, true}) {
            ReplayTransport replay(parsed.trace);
            replay.setHoldAtMarks(scripted);
            const QString verdict = replay.verdict();
            QVERIFY2(verdict.startsWith(scripted ? "line 4: the trace has mark" : "line 5: the trace has out"),
                     qPrintable(verdict));
            QCOMPARE(verdict.contains("--sim-script that makes the same clicks"), !scripted);
        }
    }

    // The box leaving makes its connections fail and the enumeration empty.
    void replayedRemovalAndArrival()
    {
        HidTraceParse parsed = parseHidTrace(Header + "0 removed\n1000 arrived 04d9 2851 0100 /dev/hidraw9\n");
        ReplayTransport replay(parsed.trace);
        QSignalSpy changes(&replay, &HidTransport::devicesChanged);
        auto connection = replay.open(QStringLiteral("sim:usb-box"));
        replay.start();
        QTRY_COMPARE(changes.count(), 1);
        quint8 in[8];
        QCOMPARE(connection->read(in, 8, 0), -1);
        QVERIFY(replay.enumerate().isEmpty());
        QTRY_COMPARE(changes.count(), 2);
        QCOMPARE(replay.enumerate().value(0).path, QStringLiteral("/dev/hidraw9"));
        QVERIFY(replay.isAwaitingProgram());
        QVERIFY(replay.verdict().isEmpty());
    }
};

QTEST_GUILESS_MAIN(HidTraceTest)
#include "tst_hidtrace.moc"
