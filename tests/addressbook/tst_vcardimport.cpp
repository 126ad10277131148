// SPDX-License-Identifier: GPL-3.0-or-later
// vCard files as phones, webmail and desktop mail programs write them, read into contacts.

#include "ImportTestSupport.h"

#include "addressbook/ContactFieldRules.h"
#include "addressbook/VCardWriter.h"

#include <QStringEncoder>

using namespace dpx;
using namespace dpx::test;

namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

QByteArray big5(const QString &text)
{
    QStringEncoder encoder("Big5");
    return encoder.encode(text);
}

QByteArray card(const QByteArray &body, const QByteArray &version = "3.0")
{
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + crlf(body) + "END:VCARD\r\n";
}

} // namespace

class TestVCardImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cards_data();
    void cards();
    void phoneNumbers_data();
    void phoneNumbers();
    void addresses_data();
    void addresses();
    void dates_data();
    void dates();
    void datesIgnoreTheTimeZone();
    void utf16File();
};

void TestVCardImport::cards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("2.1 phone: quoted-printable, soft break, photo block")
        << crlf("BEGIN:VCARD\nVERSION:2.1\n"
                "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B;=E5=B0=8F=E6=98=8E;;;\n"
                "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B=E5=B0=8F=E6=98=8E\n"
                "TEL;CELL:0912-345-678\nTEL;HOME:02-2345-6789\n"
                "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=AC=AC=E4=B8=80=E8=A1=8C=0D=0A=E7=AC=AC=\n"
                "=E4=BA=8C=E8=A1=8C\n"
                "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD\n /2wBDAAgGBgcGBQgHBwcJCQgKDBQNDAsLDBkSEw8U\n\n"
                "END:VCARD\n")
        << QStringList{u"contact: name=王小明|lastname=王|firstname=小明|hometelephonenumber=02-2345-6789|"
                       "mobiletelephonenumber=0912-345-678|remark=第一行\\n第二行"_s};
    QTest::newRow("2.1 CHARSET=Big5 values in a UTF-8 file, =3B stays a semicolon")
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:陳;大文\r\nFN;CHARSET=BIG5:" + big5(u"陳大文"_s)
               + "\r\nORG;CHARSET=Big5;ENCODING=QUOTED-PRINTABLE:" + big5(u"公司"_s).toPercentEncoding().replace('%', '=')
               + "=3BA;Dept\r\nEND:VCARD\r\n"
        << QStringList{u"contact: name=陳大文|lastname=陳|firstname=大文|company=公司;A|department=Dept"_s};
    QTest::newRow("2.1 desktop mail: windows-1252 without CHARSET, bare types")
        << crlf("BEGIN:VCARD\nVERSION:2.1\nN:M\xfcller;Jos\xe9\nFN:Jos\xe9 M\xfcller\n"
                "TEL;WORK;VOICE:+49 30 1234\nTEL;WORK;FAX:+49 30 1235\nTEL;PAGER:+49 30 9\n"
                "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;Hauptstra=DFe 1=0D=0AHof;Berlin;;10115;Germany\n"
                "EMAIL;PREF;INTERNET:jose@example.de\nEND:VCARD\n")
        << QStringList{u"contact: name=José Müller|lastname=Müller|firstname=José|businesstelephonenumber=+49 30 1234|"
                       "businessfaxnumber=+49 30 1235|companyaddress=Germany Berlin Hauptstraße 1\\nHof|"
                       "companypostalcode=10115|emailaddress=jose@example.de"_s};
    QTest::newRow("2.1 AGENT card embedded in a card")
        << crlf("BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nTEL;WORK:111\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\n"
                "FN:Secretary\nTEL;WORK:222\nEND:VCARD\nEMAIL;INTERNET:boss@example.com\nEND:VCARD\n")
        << QStringList{u"contact: name=Boss|businesstelephonenumber=111|emailaddress=boss@example.com"_s};
    QTest::newRow("3.0 phone: groups, folding with space and tab, escapes, pref")
        << card("PRODID:-//Phone//EN\nN:Appleseed;John;;;\nFN:John Appleseed\nORG:Example\\, Inc.;Sales;\n"
                "TITLE:Manager\nEMAIL;type=INTERNET;type=HOME:jhome@example.com\n"
                "item1.EMAIL;type=INTERNET;type=pref:john@example.com\n"
                "TEL;type=CELL;type=VOICE;type=pref:+1 (555) 555-0100\nTEL;type=WORK;type=VOICE:+1 555 555 0101\n"
                "item2.TEL:+1 555 555 0102\nitem2.X-ABLabel:_$!<Other>!$_\n"
                "item3.ADR;type=HOME;type=pref:;;1 Infinite Loop;Cupertino;CA;95014;United States\n"
                "NOTE:Line one\\nTwo\\, comma\\; semicolon\\\\ backslash\\N folded\n  across\n\tand a tab\n"
                "BDAY;value=date:1980-07-04\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\n SkZJRg==\n")
        << QStringList{u"contact: name=John Appleseed|lastname=Appleseed|firstname=John|company=Example, Inc.|"
                       "department=Sales|jobtitle=Manager|businesstelephonenumber=+1 555 555 0101|"
                       "hometelephonenumber=+1 555 555 0102|mobiletelephonenumber=+1 (555) 555-0100|"
                       "homeaddress=United States CA Cupertino 1 Infinite Loop|homepostalcode=95014|"
                       "birthday=1980-7-4|emailaddress=john@example.com|"
                       "remark=Line one\\nTwo, comma; semicolon\\ backslash\\n folded acrossand a tab"_s};
    QTest::newRow("3.0 webmail: nickname list, X-ANNIVERSARY, X-SPOUSE, LF line ends")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Ann Lee\nN:Lee;Ann;;;\nNICKNAME:Annie,Nan\n"
                      "X-ANNIVERSARY:2001-05-06\nX-SPOUSE:Bob\nitem1.URL:http\\://example.com\n"
                      "item1.X-ABLabel:PROFILE\nTEL;TYPE=CELL:0911\nTEL;TYPE=CELL:0922\nEND:VCARD\n")
        << QStringList{u"contact: name=Ann Lee|lastname=Lee|firstname=Ann|nickname=Annie|mobiletelephonenumber=0911|"
                       "spouse=Bob|anniversary=2001-5-6|webpage=http://example.com"_s};
    QTest::newRow("4.0: quoted parameters, tel: with ext, RELATED spouse, KIND:group skipped")
        << card("FN:Jane Doe\nN:Doe;Jane;;;\n"
                "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-555-555-5555;ext=5555\n"
                "TEL;VALUE=uri;TYPE=\"home,voice\":tel:+1-555-555-4444\nTEL;TYPE=cell:tel:+886912345678\n"
                "EMAIL;TYPE=work:jane@example.com\nANNIVERSARY:20090808T1430-0500\n"
                "RELATED;TYPE=spouse;VALUE=text:John Doe\n"
                "ADR;TYPE=work;LABEL=\"100 Waters Edge\\nBaytown: LA\":;;100 Waters Edge;Baytown;LA;30314;USA\n",
                "4.0")
               + card("KIND:group\nFN:The Doe Family\nMEMBER:urn:uuid:03a0e51f\n", "4.0")
        << QStringList{u"contact: name=Jane Doe|lastname=Doe|firstname=Jane|businesstelephonenumber=+1-555-555-5555|"
                       "hometelephonenumber=+1-555-555-4444|mobiletelephonenumber=+886912345678|"
                       "businessextension=5555|companyaddress=USA LA Baytown 100 Waters Edge|"
                       "companypostalcode=30314|spouse=John Doe|anniversary=2009-8-8|emailaddress=jane@example.com"_s,
                       u"skipped 13"_s};
    QTest::newRow("desktop program's own anniversary and spouse properties")
        << card("FN:Kim\nX-MS-ANNIVERSARY:20100102\nX-MS-SPOUSE:Lee\n", "2.1")
        << QStringList{u"contact: name=Kim|spouse=Lee|anniversary=2010-1-2"_s};
    QTest::newRow("no FN: last + first as the editor builds it; apostrophes kept")
        << card("N:O'Brien;Pat;;;\nTEL:555\n")
        << QStringList{u"contact: name=O'BrienPat|lastname=O'Brien|firstname=Pat|mobiletelephonenumber=555"_s};
    QTest::newRow("faults fail their card alone, with the line number")
        << card("FN:Good One\n") + card("FN:No colon\nTEL 555\n") + card("FN;ENCODING=QUOTED-PRINTABLE:=ZZ\n")
               + card("FN;ENCODING=X-UNKNOWN:a\n") + card("FN;CHARSET=X-NOPE:a\n")
               + card("FN;CHARSET=UTF-8:\xff\xfe\n") + card("FN:\n") + card("FN:Good Two\n")
               + "BEGIN:VCARD\r\nFN:Unfinished\r\n"
        << QStringList{u"contact: name=Good One"_s, u"failed 8"_s, u"failed 12"_s, u"failed 16"_s,
                       u"failed 20"_s, u"failed 24"_s, u"skipped 26"_s, u"contact: name=Good Two"_s,
                       u"failed 34"_s};
    QTest::newRow("nesting deeper than four levels fails the card, the next one is read")
        << card("FN:Deep\nAGENT:\nBEGIN:VCARD\nBEGIN:VCARD\nBEGIN:VCARD\nBEGIN:VCARD\n"
                "END:VCARD\nEND:VCARD\nEND:VCARD\nEND:VCARD\n")
               + card("FN:Next\n")
        << QStringList{u"failed 8"_s, u"contact: name=Next"_s};
    QTest::newRow("a NUL in a value never reaches the database")
        << card(QByteArray("FN:a\0b\n", 7)) << QStringList{u"failed 3"_s};
}

void TestVCardImport::cards()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    const QList<ImportEntry> entries = entriesOf(file);
    QCOMPARE(outline(entries), expected);
    // Every contact read comes back unchanged through the export.
    for (const ImportEntry &entry : entries) {
        if (entry.kind == ImportEntry::Kind::Contact)
            QCOMPARE(outline(entriesOf(vcardOf(entry.contact))), QStringList{u"contact: "_s + describe(entry.contact)});
    }
}

void TestVCardImport::phoneNumbers_data()
{
    QTest::addColumn<QByteArray>("tels");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("notImported");
    QTest::newRow("kinds") << QByteArray("TEL;TYPE=HOME,FAX:9\nTEL;TYPE=WORK,FAX:1\nTEL;TYPE=FAX:2\n"
                                         "TEL;TYPE=X-ASSISTANT:3\nTEL;TYPE=CAR:4\nTEL;TYPE=HOME:5\n")
                           << u"businessfaxnumber=1|hometelephonenumber=5|assistantphonenumber=3"_s << 3;
    QTest::newRow("first of a kind wins, preferred first") << QByteArray("TEL;TYPE=WORK:1\nTEL;TYPE=WORK,PREF:2\n")
                                                           << u"businesstelephonenumber=2"_s << 1;
    QTest::newRow("untyped numbers fill mobile, home, business after the typed ones")
        << QByteArray("TEL:1\nTEL;TYPE=VOICE:2\nTEL:3\nTEL;TYPE=CELL:4\nTEL:5\n")
        << u"businesstelephonenumber=2|hometelephonenumber=1|mobiletelephonenumber=4"_s << 2;
    QTest::newRow("a cell number at work is a mobile number") << QByteArray("TEL;TYPE=WORK,CELL:7\n")
                                                              << u"mobiletelephonenumber=7"_s << 0;
}

void TestVCardImport::phoneNumbers()
{
    QFETCH(QByteArray, tels);
    QFETCH(QString, expected);
    QFETCH(int, notImported);
    const QList<ImportEntry> entries = entriesOf(card("FN:x\n" + tels));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(describe(entries[0].contact), u"name=x|"_s + expected);
    QCOMPARE(entries[0].notes.size(), notImported);
}

void TestVCardImport::addresses_data()
{
    QTest::addColumn<QByteArray>("adrs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("untyped goes home, the next untyped to business")
        << QByteArray("ADR:;;Home St 1;;;;\nADR:;;Office St 2;;;;\n")
        << u"companyaddress=Office St 2|homeaddress=Home St 1"_s;
    QTest::newRow("home taken: untyped to business") << QByteArray("ADR;TYPE=HOME:;;A;;;;\nADR:;;B;;;;\n")
                                                     << u"companyaddress=B|homeaddress=A"_s;
    QTest::newRow("CJK parts join without blanks")
        << QByteArray("ADR;TYPE=WORK:;;中山路1號;台北市;;104;\n") << u"companyaddress=台北市中山路1號|companypostalcode=104"_s;
    QTest::newRow("extended address and PO box after the street")
        << QByteArray("ADR;TYPE=HOME:PO Box 7;Apt 3;1 Main St;Palo Alto;CA;;USA\n")
        << u"homeaddress=USA CA Palo Alto 1 Main St Apt 3 PO Box 7"_s;
}

void TestVCardImport::addresses()
{
    QFETCH(QByteArray, adrs);
    QFETCH(QString, expected);
    const QList<ImportEntry> entries = entriesOf(card("FN:x\n" + adrs));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(describe(entries[0].contact), u"name=x|"_s + expected);
}

void TestVCardImport::dates_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("basic") << u"19800704"_s << u"1980-7-4"_s;
    QTest::newRow("extended") << u"1980-07-04"_s << u"1980-7-4"_s;
    QTest::newRow("with UTC time") << u"1980-07-04T00:00:00Z"_s << u"1980-7-4"_s;
    QTest::newRow("with offset") << u"19800704T235900-0800"_s << u"1980-7-4"_s;
    QTest::newRow("no year kept") << u"--0704"_s << u"--0704"_s;
    QTest::newRow("impossible date kept") << u"1980-02-30"_s << u"1980-02-30"_s;
    QTest::newRow("text kept") << u"circa 1800"_s << u"circa 1800"_s;
}

void TestVCardImport::dates()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(fieldrules::vcardDate(value), expected);
}

void TestVCardImport::datesIgnoreTheTimeZone()
{
    const QByteArray saved = qgetenv("TZ");
    for (const char *zone : {"America/Los_Angeles", "Asia/Taipei"}) {
        qputenv("TZ", zone);
        tzset();
        const QList<ImportEntry> entries = entriesOf(card("FN:x\nBDAY:1980-07-04T00:00:00Z\n"));
        QCOMPARE(entries.value(0).contact.text(ContactColumn::Birthday), u"1980-7-4"_s);
    }
    qputenv("TZ", saved);
    tzset();
}

void TestVCardImport::utf16File()
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray file = encoder.encode(QString::fromUtf8(card("FN:張三\nTEL;TYPE=CELL:1\n")));
    QCOMPARE(outline(entriesOf(file)), QStringList{u"contact: name=張三|mobiletelephonenumber=1"_s});
}

QTEST_GUILESS_MAIN(TestVCardImport)
#include "tst_vcardimport.moc"
