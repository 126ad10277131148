// SPDX-License-Identifier: GPL-3.0-or-later
// CSV contact exports (the desktop mail program's English export, the webmail exports) in the
// encodings they come in, read into contacts.

#include "ImportTestSupport.h"

#include "addressbook/ContactFieldRules.h"

#include <QStringEncoder>

using namespace dpx;
using namespace dpx::test;

namespace {

// The desktop mail program's English CSV export header, as it writes it.
const QStringList kDesktopHeader{
    u"Title"_s, u"First Name"_s, u"Middle Name"_s, u"Last Name"_s, u"Suffix"_s, u"Company"_s,
    u"Department"_s, u"Job Title"_s, u"Business Street"_s, u"Business Street 2"_s,
    u"Business Street 3"_s, u"Business City"_s, u"Business State"_s, u"Business Postal Code"_s,
    u"Business Country/Region"_s, u"Home Street"_s, u"Home Street 2"_s, u"Home Street 3"_s,
    u"Home City"_s, u"Home State"_s, u"Home Postal Code"_s, u"Home Country/Region"_s,
    u"Assistant's Phone"_s, u"Business Fax"_s, u"Business Phone"_s, u"Business Phone 2"_s,
    u"Car Phone"_s, u"Home Fax"_s, u"Home Phone"_s, u"Mobile Phone"_s, u"Other Phone"_s,
    u"Pager"_s, u"Anniversary"_s, u"Assistant's Name"_s, u"Birthday"_s, u"Categories"_s,
    u"E-mail Address"_s, u"E-mail Type"_s, u"E-mail Display Name"_s, u"Gender"_s, u"Notes"_s,
    u"Priority"_s, u"Private"_s, u"Sensitivity"_s, u"Spouse"_s, u"Web Page"_s,
};

QString quoted(QString value)
{
    return u'"' + value.replace(u"\""_s, u"\"\""_s) + u'"';
}

// One desktop export row: every field quoted, the empty dates as the program writes them.
QString desktopRow(const QMap<QString, QString> &values)
{
    QStringList fields;
    for (const QString &column : kDesktopHeader) {
        QString value = values.value(column);
        if (value.isEmpty() && (column == u"Birthday"_s || column == u"Anniversary"_s))
            value = u"0/0/00"_s;
        if (value.isEmpty() && column == u"Gender"_s)
            value = u"Unspecified"_s;
        fields.append(quoted(value));
    }
    return fields.join(u',') + u"\r\n"_s;
}

QString desktopFile(const QList<QMap<QString, QString>> &rows)
{
    QStringList header;
    for (const QString &column : kDesktopHeader)
        header.append(quoted(column));
    QString text = header.join(u',') + u"\r\n"_s;
    for (const auto &row : rows)
        text += desktopRow(row);
    return text;
}

QByteArray encoded(const QString &text, const char *encoding, bool bom = false)
{
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

const QMap<QString, QString> kFullRow{
    {u"First Name"_s, u"John"_s}, {u"Middle Name"_s, u"Q"_s}, {u"Last Name"_s, u"Public"_s},
    {u"Suffix"_s, u"Jr."_s}, {u"Company"_s, u"Acme, Inc."_s}, {u"Department"_s, u"R&D"_s},
    {u"Job Title"_s, u"Engineer"_s}, {u"Business Street"_s, u"1 Main St\r\nSuite 5"_s},
    {u"Business City"_s, u"Palo Alto"_s}, {u"Business State"_s, u"CA"_s},
    {u"Business Postal Code"_s, u"94301"_s}, {u"Business Country/Region"_s, u"United States of America"_s},
    {u"Home City"_s, u"台北市"_s}, {u"Home Street"_s, u"中山路1號"_s}, {u"Home Postal Code"_s, u"104"_s},
    {u"Assistant's Phone"_s, u"555-0105"_s}, {u"Business Fax"_s, u"555-0102"_s},
    {u"Business Phone"_s, u"555-0101"_s}, {u"Home Phone"_s, u"555-0103"_s},
    {u"Mobile Phone"_s, u"555-0104"_s}, {u"Pager"_s, u"555-0199"_s},
    {u"Assistant's Name"_s, u"Ann"_s}, {u"Birthday"_s, u"7/4/1980"_s},
    {u"E-mail Address"_s, u"john@example.com"_s}, {u"Notes"_s, u"Says \"hi\",\r\ntwice"_s},
    {u"Spouse"_s, u"Jane"_s}, {u"Web Page"_s, u"http://example.com/"_s},
};

const QString kFullContact =
    u"name=John Q Public Jr.|lastname=Public|firstname=John|company=Acme, Inc.|department=R&D|"
    "jobtitle=Engineer|businesstelephonenumber=555-0101|businessfaxnumber=555-0102|"
    "hometelephonenumber=555-0103|mobiletelephonenumber=555-0104|assistantname=Ann|"
    "assistantphonenumber=555-0105|companyaddress=United States of America CA Palo Alto 1 Main St\\nSuite 5|"
    "companypostalcode=94301|homeaddress=台北市中山路1號|homepostalcode=104|spouse=Jane|birthday=1980-7-4|"
    "emailaddress=john@example.com|webpage=http://example.com/|remark=Says \"hi\",\\ntwice"_s;

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void files_data();
    void files();
    void unreadableFiles_data();
    void unreadableFiles();
    void dates_data();
    void dates();
};

void TestCsvImport::files_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("legacy");
    QTest::addColumn<QStringList>("expected");

    const QString desktop = desktopFile({kFullRow, {{u"Mobile Phone"_s, u"0911"_s}},
                                         {{u"First Name"_s, u"大文"_s}, {u"Last Name"_s, u"陳"_s}}});
    const QStringList desktopExpected{u"contact: "_s + kFullContact,
                                      u"contact: name=NULL|mobiletelephonenumber=0911"_s,
                                      u"contact: name=陳大文|lastname=陳|firstname=大文"_s};
    QTest::newRow("UTF-8 with BOM") << encoded(desktop, "UTF-8", true) << QByteArray("Big5") << desktopExpected;
    QTest::newRow("UTF-16LE with BOM") << encoded(desktop, "UTF-16LE", true) << QByteArray("Big5") << desktopExpected;
    QTest::newRow("UTF-8 without BOM") << desktop.toUtf8() << QByteArray("windows-1252") << desktopExpected;
    QTest::newRow("Big5 from Windows in Taiwan")
        << encoded(desktopFile({{{u"First Name"_s, u"大文"_s}, {u"Last Name"_s, u"陳"_s}, {u"Home City"_s, u"台北市"_s}}}), "Big5")
        << QByteArray("Big5") << QStringList{u"contact: name=陳大文|lastname=陳|firstname=大文|homeaddress=台北市"_s};
    QTest::newRow("windows-1252")
        << encoded(desktopFile({{{u"First Name"_s, u"José"_s}, {u"Last Name"_s, u"Müller"_s}, {u"Notes"_s, u"café – 5 €"_s}}}), "windows-1252")
        << QByteArray("windows-1252") << QStringList{u"contact: name=José Müller|lastname=Müller|firstname=José|remark=café – 5 €"_s};

    QTest::newRow("webmail export: Name column, typed phones, ::: lists, addresses by type")
        << QByteArray("Name,Given Name,Family Name,Nickname,Birthday,Notes,Group Membership,"
                      "E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,"
                      "Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,"
                      "Address 1 - Type,Address 1 - Formatted,Address 1 - Street,Address 1 - City,"
                      "Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
                      "Organization 1 - Type,Organization 1 - Name,Organization 1 - Title\n"
                      "Amy Wu,Amy,Wu,Ames,1990-03-09,,* myContacts,* Work,amy@work.example ::: amy@home.example,"
                      "Work Fax,02-1111,* Mobile,0911 ::: 0922,Pager,0933,"
                      "Work,\"1 Road\nTaipei\",1 Road,Taipei,,100,Taiwan,,Wu Co,Boss\n")
        << QByteArray("windows-1252")
        << QStringList{u"contact: name=Amy Wu|lastname=Wu|firstname=Amy|nickname=Ames|company=Wu Co|jobtitle=Boss|"
                       "businessfaxnumber=02-1111|mobiletelephonenumber=0911|companyaddress=Taiwan Taipei 1 Road|"
                       "companypostalcode=100|birthday=1990-3-9|emailaddress=amy@work.example"_s};
    QTest::newRow("newer webmail export, semicolons, blank row, fewer fields padded")
        << QByteArray("First Name;Middle Name;Last Name;Phone 1 - Label;Phone 1 - Value;Phone 2 - Label;Phone 2 - Value\r\n"
                      "Bo;;Li;Home;22;;33\r\n\r\nCy;;;Work\r\n")
        << QByteArray("windows-1252")
        << QStringList{u"contact: name=Bo Li|lastname=Li|firstname=Bo|hometelephonenumber=22|mobiletelephonenumber=33"_s,
                       u"skipped 3"_s, u"contact: name=Cy|firstname=Cy"_s};
    QTest::newRow("tab-separated with headers in other letter case and blanks")
        << QByteArray(" first name \tMOBILE PHONE\nDee\t0944\n") << QByteArray("windows-1252")
        << QStringList{u"contact: name=Dee|firstname=Dee|mobiletelephonenumber=0944"_s};
    QTest::newRow("unterminated quote after good rows, a row with too many fields")
        << QByteArray("First Name,Mobile Phone\r\nEve,1\r\nFay,2,extra\r\nGus,3\r\n\"Hal,4\r\nIvy,5\r\n")
        << QByteArray("windows-1252")
        << QStringList{u"contact: name=Eve|firstname=Eve|mobiletelephonenumber=1"_s, u"failed 3"_s,
                       u"contact: name=Gus|firstname=Gus|mobiletelephonenumber=3"_s, u"failed 5"_s};
    QTest::newRow("CR line ends, a quoted field ending the file")
        << QByteArray("First Name,Notes\rJo,\"a\rb\"") << QByteArray("windows-1252")
        << QStringList{u"contact: name=Jo|firstname=Jo|remark=a\\nb"_s};
}

void TestCsvImport::files()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, legacy);
    QFETCH(QStringList, expected);
    QCOMPARE(outline(entriesOf(file, legacy)), expected);
}

void TestCsvImport::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("legacy");
    QTest::addColumn<int>("error");
    const QByteArray header = "First Name,Last Name\r\n";
    QTest::newRow("truncated last character after a BOM")
        << "\xEF\xBB\xBF" + header + QString(u"王,小明"_s).toUtf8().chopped(1) << QByteArray("windows-1252")
        << int(ContactFileReader::Error::Undecodable);
    QTest::newRow("truncated last character in Big5")
        << header + encoded(u"王,小明"_s, "Big5").chopped(1) << QByteArray("Big5")
        << int(ContactFileReader::Error::Undecodable);
    QTest::newRow("no known header") << QByteArray("Foo,Bar\r\n1,2\r\n") << QByteArray("windows-1252")
                                     << int(ContactFileReader::Error::NotContacts);
    QTest::newRow("empty file") << QByteArray() << QByteArray("windows-1252")
                                << int(ContactFileReader::Error::NotContacts);
}

void TestCsvImport::unreadableFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, legacy);
    QFETCH(int, error);
    ContactFileReader reader;
    QVERIFY(!reader.openData(file, legacy));
    QCOMPARE(int(reader.error()), error);
}

void TestCsvImport::dates_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no date") << u"0/0/00"_s << QString();
    QTest::newRow("month first") << u"7/4/1980"_s << u"1980-7-4"_s;
    QTest::newRow("year first") << u"1980/07/04"_s << u"1980-7-4"_s;
    QTest::newRow("ISO") << u"1980-07-04"_s << u"1980-7-4"_s;
    QTest::newRow("beyond 3000 is no date") << u"1/1/4501"_s << QString();
    QTest::newRow("with a time") << u"7/4/1980 12:00:00 AM"_s << u"1980-7-4"_s;
    QTest::newRow("free text kept") << u"spring 1980"_s << u"spring 1980"_s;
    QTest::newRow("impossible date kept") << u"13/45/1980"_s << u"13/45/1980"_s;
}

void TestCsvImport::dates()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(fieldrules::csvDate(value), expected);
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
