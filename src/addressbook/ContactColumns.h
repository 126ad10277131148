// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAnyStringView>
#include <QLatin1StringView>

#include <array>

namespace dpx {

// The columns of address_book in their stored order. The enumerators follow the stored
// column names, including the two historical spellings (immdiatenumber, assitantextension).
enum class ContactColumn : int {
    Name,
    LastName,
    FirstName,
    NickName,
    Company,
    CompanyNumber,
    Department,
    JobTitle,
    BusinessTelephoneNumber,
    BusinessFaxNumber,
    HomeTelephoneNumber,
    MobileTelephoneNumber,
    BusinessExtension,
    HomeExtension,
    BusinessFaxExtension,
    NetworkPhoneNumber,
    NetworkExtension,
    ImmdiateNumber,
    AssistantName,
    AssistantPhoneNumber,
    AssitantExtension,
    CompanyAddress,
    CompanyPostalCode,
    HomeAddress,
    HomePostalCode,
    Spouse,
    Birthday,
    Anniversary,
    EmailAddress,
    WebPage,
    Remark,
    IsHavePicture,
};

inline constexpr int kContactTextColumnCount = 31; // name ... remark
inline constexpr int kContactColumnCount = 32;     // ... plus ishavepicture

constexpr int columnIndex(ContactColumn column) { return static_cast<int>(column); }

// Column names exactly as the table spells them, in stored order.
inline constexpr std::array<QLatin1StringView, kContactColumnCount> kContactColumns{
    QLatin1StringView("name"),
    QLatin1StringView("lastname"),
    QLatin1StringView("firstname"),
    QLatin1StringView("nickname"),
    QLatin1StringView("company"),
    QLatin1StringView("companynumber"),
    QLatin1StringView("department"),
    QLatin1StringView("jobtitle"),
    QLatin1StringView("businesstelephonenumber"),
    QLatin1StringView("businessfaxnumber"),
    QLatin1StringView("hometelephonenumber"),
    QLatin1StringView("mobiletelephonenumber"),
    QLatin1StringView("businessextension"),
    QLatin1StringView("homeextension"),
    QLatin1StringView("businessfaxextension"),
    QLatin1StringView("networkphonenumber"),
    QLatin1StringView("networkextension"),
    QLatin1StringView("immdiatenumber"),
    QLatin1StringView("assistantname"),
    QLatin1StringView("assistantphonenumber"),
    QLatin1StringView("assitantextension"),
    QLatin1StringView("companyaddress"),
    QLatin1StringView("companypostalcode"),
    QLatin1StringView("homeaddress"),
    QLatin1StringView("homepostalcode"),
    QLatin1StringView("spouse"),
    QLatin1StringView("birthday"),
    QLatin1StringView("anniversary"),
    QLatin1StringView("emailaddress"),
    QLatin1StringView("webpage"),
    QLatin1StringView("remark"),
    QLatin1StringView("ishavepicture"),
};

constexpr QLatin1StringView columnName(ContactColumn column)
{
    return kContactColumns[static_cast<size_t>(column)];
}

// Index of a column name (letter case ignored), -1 when it is not a contact column.
int contactColumnIndex(QAnyStringView name);

// A row's identity: the name and the eight columns the phone book lists, in that order.
inline constexpr std::array<ContactColumn, 9> kIdentityColumns{
    ContactColumn::Name,
    ContactColumn::NickName,
    ContactColumn::JobTitle,
    ContactColumn::Company,
    ContactColumn::Department,
    ContactColumn::BusinessTelephoneNumber,
    ContactColumn::BusinessFaxNumber,
    ContactColumn::HomeTelephoneNumber,
    ContactColumn::MobileTelephoneNumber,
};

// What makes an imported contact "already present" (job title, company, department ignored).
inline constexpr std::array<ContactColumn, 6> kDuplicateColumns{
    ContactColumn::Name,
    ContactColumn::NickName,
    ContactColumn::MobileTelephoneNumber,
    ContactColumn::BusinessTelephoneNumber,
    ContactColumn::HomeTelephoneNumber,
    ContactColumn::BusinessFaxNumber,
};

// The columns a caller's number is compared with, in comparison order.
inline constexpr std::array<ContactColumn, 9> kCallerNumberColumns{
    ContactColumn::BusinessTelephoneNumber,
    ContactColumn::BusinessFaxNumber,
    ContactColumn::HomeTelephoneNumber,
    ContactColumn::MobileTelephoneNumber,
    ContactColumn::BusinessExtension,
    ContactColumn::HomeExtension,
    ContactColumn::BusinessFaxExtension,
    ContactColumn::NetworkPhoneNumber,
    ContactColumn::NetworkExtension,
};

} // namespace dpx
