// SPDX-License-Identifier: GPL-3.0-or-later
// The phone_setting row: how its values are read and how the settings are stored.

#include "AddressTestSupport.h"

#include "addressbook/AddressDatabase.h"

#include <QtTest>

#include <functional>
#include <limits>

using namespace dpx;
using namespace dpx::test;
using namespace Qt::StringLiterals;

using SettingsUpdate = std::function<bool(AddressDatabase &)>;
Q_DECLARE_METATYPE(SettingsUpdate)

class TestPhoneSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decimalConversion_data();
    void decimalConversion();
    void phoneTypeReading_data();
    void phoneTypeReading();
    void numberReading_data();
    void numberReading();
    void readsTextColumnsAndNulls();
    void tableWithoutRowKeepsDefaults();
    void updatesStoreExactValues_data();
    void updatesStoreExactValues();
    void updateRestoresMissingRow();
};

void TestPhoneSettings::decimalConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << 12;
    QTest::newRow("blanks and tail") << "  7x" << 7;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("plus") << "+5" << 5;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("decimal point") << "1.9" << 1;
    QTest::newRow("too large") << "99999999999" << std::numeric_limits<int>::max();
    QTest::newRow("too small") << "-99999999999" << std::numeric_limits<int>::min();
}

void TestPhoneSettings::decimalConversion()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(decimalValue(text), value);
}

void TestPhoneSettings::phoneTypeReading_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<PhoneType>("type");
    QTest::newRow("DX") << QVariant(u"DX"_s) << PhoneType::DX;
    QTest::newRow("DX inside") << QVariant(u"xxDXyy"_s) << PhoneType::DX;
    QTest::newRow("DX at end") << QVariant(u"VKS-DX"_s) << PhoneType::DX;
    QTest::newRow("SD") << QVariant(u"SD"_s) << PhoneType::SD;
    QTest::newRow("lower case dx") << QVariant(u"dx"_s) << PhoneType::SD;
    QTest::newRow("empty") << QVariant(u""_s) << PhoneType::SD;
    QTest::newRow("NULL") << QVariant() << PhoneType::SD;
}

void TestPhoneSettings::phoneTypeReading()
{
    QFETCH(QVariant, stored);
    QFETCH(PhoneType, type);
    FreshDatabase fresh;
    rawQuery(fresh.path, QStringLiteral("UPDATE phone_setting SET phonetype = ?"), {stored});
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    const PhoneSettings settings = db.ReadSettingsRow();
    QVERIFY(settings.rowRead);
    QCOMPARE(settings.phoneType, type);
}

void TestPhoneSettings::numberReading_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("showCard");
    QTest::addColumn<int>("number");
    QTest::newRow("one") << QVariant(1) << true << 1;
    QTest::newRow("two") << QVariant(2) << true << 2;
    QTest::newRow("zero") << QVariant(0) << false << 0;
    QTest::newRow("minus one") << QVariant(-1) << false << -1;
    QTest::newRow("NULL") << QVariant() << false << 0;
    QTest::newRow("text digits") << QVariant(u"3x"_s) << true << 3;
    QTest::newRow("text letters") << QVariant(u"yes"_s) << false << 0;
}

// bshowinfo, skin and bvksring share the decimal reading.
void TestPhoneSettings::numberReading()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, showCard);
    QFETCH(int, number);
    FreshDatabase fresh;
    rawQuery(fresh.path, QStringLiteral("UPDATE phone_setting SET bshowinfo = ?, skin = ?, bvksring = ?"),
             {stored, stored, stored});
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    const PhoneSettings settings = db.ReadSettingsRow();
    QCOMPARE(settings.showCallerCard, showCard);
    QCOMPARE(settings.skin, number);
    QCOMPARE(settings.vksRing, number);
}

void TestPhoneSettings::readsTextColumnsAndNulls()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    PhoneSettings settings = db.ReadSettingsRow();
    QVERIFY(settings.rowRead);
    QCOMPARE(settings.lineCode, QStringLiteral("0"));
    QCOMPARE(settings.coRing, QString());
    QCOMPARE(settings.icmRing, QString());
    QCOMPARE(settings.skin, 0);

    rawQuery(fresh.path, QStringLiteral("UPDATE phone_setting SET linecode = NULL, coring = ?, icmring = ?"),
             {u"/home/u/My Rings/co'ring.mp3"_s, u"/home/u/響鈴.mp3"_s});
    settings = db.ReadSettingsRow();
    QCOMPARE(settings.lineCode, QString());
    QCOMPARE(settings.coRing, QStringLiteral("/home/u/My Rings/co'ring.mp3"));
    QCOMPARE(settings.icmRing, QStringLiteral("/home/u/響鈴.mp3"));
}

void TestPhoneSettings::tableWithoutRowKeepsDefaults()
{
    FreshDatabase fresh;
    rawQuery(fresh.path, QStringLiteral("DELETE FROM phone_setting"));
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    const PhoneSettings settings = db.ReadSettingsRow();
    QVERIFY(!settings.rowRead);
    QCOMPARE(settings, PhoneSettings());
    QVERIFY(db.lastError().isEmpty());
}

void TestPhoneSettings::updatesStoreExactValues_data()
{
    QTest::addColumn<SettingsUpdate>("update");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored");

    const auto row = [](const char *name, SettingsUpdate update, const char *column, QVariant stored) {
        QTest::newRow(name) << update << QString::fromLatin1(column) << stored;
    };
    row("skin", [](AddressDatabase &db) { return db.updateSkin(4); }, "skin", 4);
    row("line code", [](AddressDatabase &db) { return db.updateLineCode(u"9"_s); }, "linecode", u"9"_s);
    row("empty line code", [](AddressDatabase &db) { return db.updateLineCode({}); }, "linecode", u"0"_s);
    row("phone type SD", [](AddressDatabase &db) { return db.updatePhoneType(PhoneType::SD); }, "phonetype",
        u"SD"_s);
    row("phone type DX", [](AddressDatabase &db) { return db.updatePhoneType(PhoneType::DX); }, "phonetype",
        u"DX"_s);
    row("caller card off", [](AddressDatabase &db) { return db.updateShowCallerCard(false); }, "bshowinfo", 0);
    row("caller card on", [](AddressDatabase &db) { return db.updateShowCallerCard(true); }, "bshowinfo", 1);
    row("co ring", [](AddressDatabase &db) { return db.updateCoRing(u"/m/it's.mp3"_s); }, "coring",
        u"/m/it's.mp3"_s);
    row("co ring off", [](AddressDatabase &db) { return db.updateCoRing({}); }, "coring", QVariant());
    row("icm ring", [](AddressDatabase &db) { return db.updateIcmRing(u"/m/icm.wav"_s); }, "icmring",
        u"/m/icm.wav"_s);
    row("icm ring off", [](AddressDatabase &db) { return db.updateIcmRing({}); }, "icmring", QVariant());
}

void TestPhoneSettings::updatesStoreExactValues()
{
    QFETCH(SettingsUpdate, update);
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    FreshDatabase fresh;
    // Start from values that differ from every expectation.
    rawQuery(fresh.path, QStringLiteral("UPDATE phone_setting SET skin = 2, linecode = '5', phonetype = 'XX', "
                                        "bshowinfo = 7, coring = 'old', icmring = 'old'"));
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    QVERIFY2(update(db), qPrintable(db.lastError()));

    const Rows rows = rawQuery(fresh.path, u"SELECT "_s + column + u" FROM phone_setting"_s);
    QCOMPARE(rows.size(), 1);
    const QVariant value = rows.first().first();
    QCOMPARE(value.isNull(), stored.isNull());
    if (!stored.isNull())
        QCOMPARE(value.toString(), stored.toString());
}

void TestPhoneSettings::updateRestoresMissingRow()
{
    FreshDatabase fresh;
    rawQuery(fresh.path, QStringLiteral("DELETE FROM phone_setting"));
    AddressDatabase db(fresh.path, QStringLiteral("settings"));
    QVERIFY(db.Open());
    QVERIFY(db.updateSkin(3));
    QVERIFY(db.updateLineCode(u"8"_s));

    QCOMPARE(rawValue(fresh.path, QStringLiteral("SELECT count(*) FROM phone_setting")).toInt(), 1);
    const PhoneSettings settings = db.ReadSettingsRow();
    QVERIFY(settings.rowRead);
    QCOMPARE(settings.skin, 3);
    QCOMPARE(settings.lineCode, QStringLiteral("8"));
    QCOMPARE(settings.phoneType, PhoneType::DX);
    QVERIFY(settings.showCallerCard);
}

QTEST_GUILESS_MAIN(TestPhoneSettings)
#include "tst_phonesettings.moc"
