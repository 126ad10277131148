// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated telephone: what it shows, told to the PC through event reports.
#include "SimTestSupport.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"

#include <QTest>

using namespace dpx;
using namespace dpx::test;

namespace {
QByteArray keyFrame(quint8 wire)
{
    return command(0, QByteArray::fromHex("04") + char(wire));
}

quint8 withParity(quint8 code)
{
    int bits = 0;
    for (int i = 0; i < 7; ++i)
        bits += (code >> i) & 1;
    return bits % 2 ? quint8(code | 0x80) : code;
}
} // namespace

class SimTelephoneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void plugShowsTheClock();
    void dialledKeysEchoOnLine2_data();
    void dialledKeysEchoOnLine2();
    void keyWithWrongParityIsIgnored();
    void longDialScrollsLine2();
    void ringCarriesTheNumber_data();
    void ringCarriesTheNumber();
    void answerAndHangUpWithTheHookKey();
    void hangUpEndsTheRing();
    void showTextWritesOneLine_data();
    void showTextWritesOneLine();
    void lampsFromTheBoxAndFromKeys();

private:
    // Reads what the telephone sent and applies it to the PC's mirror of the display. For one
    // burst (one operation's pairs), checks that pairs go three to a report.
    QList<Pair> take(bool oneBurst = false);

    std::unique_ptr<SimulatedBox> box;
    std::unique_ptr<HidConnection> link;
    DisplayMirror mirror;
    bool onlyEvents = true;
    bool groupedByThree = true;
};

void SimTelephoneTest::init()
{
    box = std::make_unique<SimulatedBox>();
    box->plug();
    link = box->open(box->devicePath());
    mirror = DisplayMirror();
    onlyEvents = groupedByThree = true;
}

void SimTelephoneTest::cleanup()
{
    QVERIFY2(onlyEvents, "the telephone sent something other than event reports");
    QVERIFY2(groupedByThree, "a short event report came before the end of a burst");
    link.reset();
    box.reset();
}

QList<Pair> SimTelephoneTest::take(bool oneBurst)
{
    const QList<QByteArray> reports = drain(*link);
    bool allEvents = false;
    const QList<Pair> pairs = eventPairs(reports, &allEvents);
    onlyEvents = onlyEvents && allEvents;
    for (qsizetype i = 0; oneBurst && i + 1 < reports.size(); ++i)
        groupedByThree = groupedByThree && quint8(reports.at(i).at(1)) == 0x47;
    mirror.apply(pairs);
    return pairs;
}

void SimTelephoneTest::plugShowsTheClock()
{
    QVERIFY(box->telephone().isClockShown());
    box->telephone().showText(1, QStringLiteral("HELLO"));
    QVERIFY(!box->telephone().isClockShown());
    take();
    box->telephone().showClock();
    QCOMPARE(take(), QList<Pair>({{0x60, 0x00}}));
    QVERIFY(box->telephone().isClockShown());
}

void SimTelephoneTest::dialledKeysEchoOnLine2_data()
{
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("digits") << QByteArray::fromHex("131219") << QByteArray("329");
    QTest::newRow("zero, star, hash") << QByteArray::fromHex("1A1B1C11") << QByteArray("0*#1");
}

void SimTelephoneTest::dialledKeysEchoOnLine2()
{
    QFETCH(QByteArray, codes);
    QFETCH(QByteArray, shown);
    box->telephone().showText(2, QStringLiteral("MENU  DIR  EXIT"));
    take();
    QCOMPARE(send(*link, keyFrame(withParity(quint8(codes.at(0))))), 25);
    // The first digit blanks the soft-key words, then writes column 0.
    QCOMPARE(take(), QList<Pair>({{0x50, 0x80}, {0x30, quint8(shown.at(0))}}));
    for (qsizetype i = 1; i < codes.size(); ++i) {
        send(*link, keyFrame(withParity(quint8(codes.at(i)))));
        QCOMPARE(take(), QList<Pair>({{quint8(0x30 + i), quint8(shown.at(i))}}));
    }
    const QByteArray expected = shown + QByteArray(16 - shown.size(), ' ');
    QCOMPARE(mirror.lines[1], expected);
    QCOMPARE(box->telephone().line(2), expected);
}

void SimTelephoneTest::keyWithWrongParityIsIgnored()
{
    send(*link, keyFrame(0x13)); // digit 3 without its parity bit
    QVERIFY(take().isEmpty());
    send(*link, keyFrame(0x93));
    QCOMPARE(take().size(), 2);
}

void SimTelephoneTest::longDialScrollsLine2()
{
    const QByteArray number = "01234567890123456789";
    for (char digit : number)
        send(*link, keyFrame(withParity(digit == '0' ? 0x1A : quint8(0x10 + digit - '0'))));
    take();
    QCOMPARE(mirror.lines[1], number.right(16));
    send(*link, keyFrame(withParity(0x11)));
    QCOMPARE(take(true).size(), 16); // each digit now rewrites the whole line
    QCOMPARE(mirror.lines[1], (number + '1').right(16));
    QCOMPARE(box->telephone().line(2), (number + '1').right(16));
}

void SimTelephoneTest::ringCarriesTheNumber_data()
{
    QTest::addColumn<bool>("co");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("line2");
    QTest::newRow("CO, 11 digits") << true << QStringLiteral("09123456789") << QByteArray("09123456789     ");
    QTest::newRow("ICM, 3 digits") << false << QStringLiteral("201") << QByteArray("201             ");
    QTest::newRow("CO, 16 digits") << true << QStringLiteral("0912345678901234") << QByteArray("0912345678901234");
    QTest::newRow("CO, 20 digits, cut") << true << QStringLiteral("09123456789012345678") << QByteArray("0912345678901234");
    QTest::newRow("CO, no number") << true << QString() << QByteArray(16, ' ');
}

void SimTelephoneTest::ringCarriesTheNumber()
{
    QFETCH(bool, co);
    QFETCH(QString, number);
    QFETCH(QByteArray, line2);
    box->telephone().showText(1, QStringLiteral("LINE 01"));
    box->telephone().showText(2, QStringLiteral("OLD WORDS HERE"));
    take();
    box->telephone().ring(co, number);
    QVERIFY(box->telephone().isRinging());
    const QList<Pair> pairs = take(true);
    QCOMPARE(pairs.first(), Pair(0x90, co ? 0x02 : 0x04));
    QCOMPARE(mirror.lines[1], line2);
    QCOMPARE(mirror.lines[0], QByteArray("LINE 01         ")); // the entry never runs into line 1
    QCOMPARE(box->telephone().line(2), line2);
}

void SimTelephoneTest::answerAndHangUpWithTheHookKey()
{
    box->telephone().ring(true, QStringLiteral("0223456789"));
    take();
    send(*link, keyFrame(withParity(SimTelephone::HookKeyCode)));
    QCOMPARE(take(), QList<Pair>({{0x90, 0x01}, {0x80, 0x01}}));
    QVERIFY(!box->telephone().isRinging());
    QVERIFY(box->telephone().isInCall());
    send(*link, keyFrame(withParity(SimTelephone::HookKeyCode)));
    QCOMPARE(take(), QList<Pair>({{0x80, 0x08}}));
    QVERIFY(!box->telephone().isInCall());
    QCOMPARE(mirror.lines[1], QByteArray(16, ' '));

    send(*link, keyFrame(withParity(0x15)));
    send(*link, keyFrame(withParity(SimTelephone::HookKeyCode))); // idle: clears what was dialled
    take();
    QCOMPARE(mirror.lines[1], QByteArray(16, ' '));
    QCOMPARE(box->telephone().line(2), QByteArray(16, ' '));
}

void SimTelephoneTest::hangUpEndsTheRing()
{
    box->telephone().ring(false, QStringLiteral("12"));
    take();
    box->telephone().hangUp();
    QCOMPARE(take(), QList<Pair>({{0x90, 0x01}, {0x50, 0x80}}));
    QVERIFY(!box->telephone().isRinging());
    QCOMPARE(mirror.lines[1], QByteArray(16, ' '));
}

void SimTelephoneTest::showTextWritesOneLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("line 1, odd length") << 1 << QStringLiteral("HELLO") << QByteArray("HELLO           ");
    QTest::newRow("line 2, even length") << 2 << QStringLiteral("AB CD") + QStringLiteral("E") << QByteArray("AB CDE          ");
    QTest::newRow("line 1, too long") << 1 << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << QByteArray("ABCDEFGHIJKLMNOP");
    QTest::newRow("line 2, not ASCII") << 2 << QStringLiteral("A\u00e9\u4e2dB") << QByteArray("A??B            ");
    QTest::newRow("line 2, empty") << 2 << QString() << QByteArray(16, ' ');
}

void SimTelephoneTest::showTextWritesOneLine()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QByteArray, shown);
    box->telephone().showText(3 - line, QStringLiteral("OTHER LINE"));
    box->telephone().showText(line, QStringLiteral("XXXXXXXXXXXXXXXX"));
    take();
    box->telephone().showText(line, text);
    take(true);
    QCOMPARE(mirror.lines[line - 1], shown);
    QCOMPARE(mirror.lines[2 - line], QByteArray("OTHER LINE      "));
    QCOMPARE(box->telephone().line(line), shown);
}

void SimTelephoneTest::lampsFromTheBoxAndFromKeys()
{
    box->telephone().setLamp(0x04, 3);
    QCOMPARE(drain(*link), QList<QByteArray>{QByteArray::fromHex("01430403FFFFFFFF")});
    QCOMPARE(box->telephone().lampState(3), quint8(0x04));

    send(*link, keyFrame(withParity(0x23))); // programmable key 3: lit, so it goes off
    QCOMPARE(take(), QList<Pair>({{0x00, 3}}));
    send(*link, keyFrame(withParity(0x23)));
    QCOMPARE(take(), QList<Pair>({{0x0C, 3}}));
    send(*link, keyFrame(withParity(0x31))); // programmable key 16
    QCOMPARE(take(), QList<Pair>({{0x0C, 16}}));

    box->telephone().sendPairs({{0x0C, 32}, {0x02, 31}, {0x61, 0}, {5, 9}});
    QCOMPARE(drain(*link), QList<QByteArray>({QByteArray::fromHex("01470C2002 1F6100"), QByteArray::fromHex("01430509FFFFFFFF")}));
}

QTEST_GUILESS_MAIN(SimTelephoneTest)
#include "tst_simtelephone.moc"
