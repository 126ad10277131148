// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated telephone: what it shows, told to the PC through event reports.
#include "SimTestSupport.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"

#include <QTest>

using namespace dpx;
using namespace dpx::test;

class SimTelephoneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void dialledDigitsEchoOnLine2();
    void ringCarriesTheNumber_data();
    void ringCarriesTheNumber();

private:
    std::unique_ptr<SimulatedBox> box;
    std::unique_ptr<HidConnection> link;
};

void SimTelephoneTest::init()
{
    box = std::make_unique<SimulatedBox>();
    box->plug();
    link = box->open(box->devicePath());
    box->telephone().showText(2, QStringLiteral("MENU  DIR  EXIT"));
    drain(*link);
}

void SimTelephoneTest::dialledDigitsEchoOnLine2()
{
    send(*link, command(0, "041C")); // '#' without its parity bit: ignored
    QVERIFY(drain(*link).isEmpty());
    // The first key blanks the soft-key words, then writes column 0; the next writes column 1.
    send(*link, outputReport("0104049C5B"));
    QCOMPARE(drain(*link), QList{QByteArray::fromHex("014550803023FFFF")});
    send(*link, command(0, "0412"));
    QCOMPARE(drain(*link), QList{QByteArray::fromHex("01433132FFFFFFFF")});
    QCOMPARE(box->telephone().line(2), QByteArray("#2              "));
}

void SimTelephoneTest::ringCarriesTheNumber_data()
{
    QTest::addColumn<bool>("co");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<QByteArray>>("reports");
    // Ring, blank line 2, then string entry two characters a pair, ended by 0x80.
    QTest::newRow("outside line, odd length")
        << true << QStringLiteral("201")
        << QList{QByteArray::fromHex("014790025080 50C0"), QByteArray::fromHex("014532303180FFFF")};
    QTest::newRow("intercom, even length")
        << false << QStringLiteral("2012")
        << QList{QByteArray::fromHex("014790045080 50C0"), QByteArray::fromHex("0147323031328080")};
    QTest::newRow("20 digits: the first 16, never into line 1")
        << true << QStringLiteral("09123456789012345678")
        << QList{QByteArray::fromHex("01479002508050C0"), QByteArray::fromHex("0147303931323334"),
                 QByteArray::fromHex("0147353637383930"), QByteArray::fromHex("0147313233348080")};
}

void SimTelephoneTest::ringCarriesTheNumber()
{
    QFETCH(bool, co);
    QFETCH(QString, number);
    QFETCH(QList<QByteArray>, reports);
    box->telephone().ring(co, number);
    QVERIFY(box->telephone().isRinging());
    QCOMPARE(drain(*link), reports);
    QCOMPARE(box->telephone().line(2), number.left(16).toLatin1().leftJustified(16, ' '));
}

QTEST_GUILESS_MAIN(SimTelephoneTest)
#include "tst_simtelephone.moc"
