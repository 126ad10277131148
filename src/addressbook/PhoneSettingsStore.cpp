// SPDX-License-Identifier: GPL-3.0-or-later
// The phone_setting reads and updates of AddressDatabase.
#include "addressbook/AddressDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace dpx {

namespace {

const QString kSettingsAction = QStringLiteral("Could not save the phone settings");

QString fieldText(const QSqlRecord &row, const char *column)
{
    const QVariant value = row.value(QLatin1StringView(column)); // invalid when the column is missing
    return value.isNull() ? QString() : value.toString();
}

} // namespace

PhoneSettings AddressDatabase::ReadSettingsRow()
{
    PhoneSettings settings;
    clearError();
    if (!IsOpen())
        return settings;
    QSqlQuery query = newQuery();
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM phone_setting LIMIT 1"));
    if (!runQuery(query, QStringLiteral("Could not read the phone settings")) || !query.next())
        return settings;

    const QSqlRecord row = query.record();
    settings.rowRead = true;
    settings.skin = decimalValue(fieldText(row, "skin"));
    settings.lineCode = fieldText(row, "linecode");
    settings.phoneType = fieldText(row, "phonetype").contains(u"DX"_s) ? PhoneType::DX : PhoneType::SD;
    settings.showCallerCard = decimalValue(fieldText(row, "bshowinfo")) > 0;
    settings.coRing = fieldText(row, "coring");
    settings.icmRing = fieldText(row, "icmring");
    settings.vksRing = decimalValue(fieldText(row, "bvksring"));
    return settings;
}

bool AddressDatabase::updateSetting(const QString &column, const QVariant &value, const QString &action)
{
    return runInTransaction(action, [&] { return writeSettingColumn(column, value, action); });
}

bool AddressDatabase::writeSettingColumn(const QString &column, const QVariant &value,
                                         const QString &action)
{
    // The column name comes from the fixed calls in this file, never from input.
    const QString update = u"UPDATE phone_setting SET "_s + column + u" = ?"_s;
    int changed = 0;
    if (!runStatement(update, {value}, action, &changed))
        return false;
    if (changed > 0)
        return true;
    // The row is gone: put the seed row back, then store the value in it.
    const QVariantList seed{SeedPhoneSettings::skin, QString::fromLatin1(SeedPhoneSettings::lineCode),
                            QString::fromLatin1(SeedPhoneSettings::phoneType),
                            SeedPhoneSettings::showInfo, QVariant(), QVariant(),
                            SeedPhoneSettings::vksRing};
    return runStatement(QStringLiteral("INSERT INTO phone_setting (skin, linecode, phonetype, "
                                       "bshowinfo, coring, icmring, bvksring) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                        seed, action)
        && runStatement(update, {value}, action);
}

namespace {

QVariant lineCodeValue(const QString &lineCode)
{
    return lineCode.isEmpty() ? QStringLiteral("0") : lineCode;
}

QVariant ringValue(const QString &ringFilePath)
{
    return ringFilePath.isEmpty() ? QVariant() : QVariant(ringFilePath);
}

QVariant phoneTypeValue(PhoneType type)
{
    return type == PhoneType::DX ? QStringLiteral("DX") : QStringLiteral("SD");
}

} // namespace

bool AddressDatabase::savePhoneSettings(const PhoneSettingsChange &change)
{
    QList<std::pair<QString, QVariant>> columns;
    if (change.showCallerCard)
        columns.append({u"bshowinfo"_s, *change.showCallerCard ? 1 : 0});
    if (change.phoneType)
        columns.append({u"phonetype"_s, phoneTypeValue(*change.phoneType)});
    if (change.lineCode)
        columns.append({u"linecode"_s, lineCodeValue(*change.lineCode)});
    if (change.coRing)
        columns.append({u"coring"_s, ringValue(*change.coRing)});
    if (change.icmRing)
        columns.append({u"icmring"_s, ringValue(*change.icmRing)});
    clearError();
    if (columns.isEmpty())
        return true;
    return runInTransaction(kSettingsAction, [&] {
        for (const auto &[column, value] : columns)
            if (!writeSettingColumn(column, value, kSettingsAction))
                return false;
        return true;
    });
}

bool AddressDatabase::updateSkin(int skin)
{
    return updateSetting(QStringLiteral("skin"), skin, kSettingsAction);
}

bool AddressDatabase::updateLineCode(const QString &lineCode)
{
    return updateSetting(QStringLiteral("linecode"), lineCodeValue(lineCode), kSettingsAction);
}

bool AddressDatabase::updatePhoneType(PhoneType type)
{
    return updateSetting(QStringLiteral("phonetype"), phoneTypeValue(type), kSettingsAction);
}

bool AddressDatabase::updateShowCallerCard(bool show)
{
    return updateSetting(QStringLiteral("bshowinfo"), show ? 1 : 0, kSettingsAction);
}

bool AddressDatabase::updateCoRing(const QString &ringFilePath)
{
    return updateSetting(QStringLiteral("coring"), ringValue(ringFilePath), kSettingsAction);
}

bool AddressDatabase::updateIcmRing(const QString &ringFilePath)
{
    return updateSetting(QStringLiteral("icmring"), ringValue(ringFilePath), kSettingsAction);
}

} // namespace dpx
