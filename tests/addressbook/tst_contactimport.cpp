// SPDX-License-Identifier: GPL-3.0-or-later
// Imports into the address database: the duplicate rule, commits, write failures, a process
// killed half-way, and the vCard export read back.

#include "AddressTestSupport.h"
#include "ImportTestSupport.h"

#include "addressbook/ContactImporter.h"
#include "addressbook/ContactJobs.h"
#include "addressbook/VCardWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace dpx;
using namespace dpx::test;

namespace {

QByteArray cards(int count, int first = 0)
{
    QByteArray data;
    for (int i = first; i < first + count; ++i)
        data += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person " + QByteArray::number(i)
            + "\r\nTEL;TYPE=CELL:09" + QByteArray::number(10000000 + i) + "\r\nEND:VCARD\r\n";
    return data;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    if (!test::writeFile(path, data))
        qWarning() << "could not write" << path;
    return path;
}

QStringList storedRows(const QString &path)
{
    QStringList rows;
    for (const QVariantList &row : rawQuery(path, u"SELECT * FROM address_book ORDER BY rowid"_s)) {
        QStringList values;
        for (const QVariant &value : row)
            values.append(value.isNull() ? u"<NULL>"_s : value.toString());
        rows.append(values.join(u'|'));
    }
    return rows;
}

// Run by the child process of killedMidImport(): imports until killed.
int childImport()
{
    const QStringList arguments = qEnvironmentVariable("DPX_TEST_IMPORT_CHILD").split(u'\n');
    AddressDatabase db(arguments.value(0), u"child"_s);
    ContactImporter importer(db);
    importer.importFile(arguments.value(1), "windows-1252");
    return 0;
}

} // namespace

class TestContactImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void duplicateRule_data();
    void duplicateRule();
    void duplicatesWithinAFileAndReimport();
    void duplicateIndexInstalledAndUsed();
    void exportReadsBackToTheSameRows();
    void exportFoldsLinesWithoutSplittingCharacters();
    void refusedInsertKeepsWhatCameBefore();
    void cancelKeepsCommittedContacts();
    void killedMidImport();
    void unreadableFileWritesNothing();
};

void TestContactImport::duplicateRule_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("imported");
    QTest::addColumn<bool>("added");
    const QString base = u"name=Ann|nickname=A|mobiletelephonenumber=1|businesstelephonenumber=2|"
                         "hometelephonenumber=3|businessfaxnumber=4"_s;
    QTest::newRow("same six columns") << base << base << false;
    QTest::newRow("differs in job title, company, department only")
        << base + u"|jobtitle=Boss|company=X"_s << base + u"|department=Y"_s << false;
    QTest::newRow("differs in the mobile number") << base << QString(base).replace(u"=1|"_s, u"=9|"_s) << true;
    QTest::newRow("empty nickname matches only an empty one")
        << u"name=Ann|nickname=A"_s << u"name=Ann"_s << true;
    QTest::newRow("empty name matches the empty name") << u"mobiletelephonenumber=1"_s
                                                       << u"mobiletelephonenumber=1"_s << false;
}

void TestContactImport::duplicateRule()
{
    QFETCH(QString, stored);
    QFETCH(QString, imported);
    QFETCH(bool, added);
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"main"_s);
    QVERIFY(db.Open());
    QVERIFY(db.insertContact(record(stored)));
    QVERIFY(db.beginImportBatch());
    QCOMPARE(db.importContact(record(imported)), added ? AddressDatabase::ImportOutcome::Added
                                                       : AddressDatabase::ImportOutcome::Duplicate);
    QVERIFY(db.commitImportBatch());
    QCOMPARE(contactCount(fresh.path), added ? 2 : 1);
}

void TestContactImport::duplicatesWithinAFileAndReimport()
{
    FreshDatabase fresh;
    const QString file = writeFile(fresh.dir, u"a.vcf"_s, cards(2) + cards(1) + cards(1, 2));
    AddressDatabase db(fresh.path, u"main"_s);
    ContactImporter importer(db);
    const ImportSummary first = importer.importFile(file, "windows-1252");
    QCOMPARE(first.added, 3);
    QCOMPARE(first.duplicates, 1);
    QCOMPARE(first.text(), u"匯入完成:新增 3 位連絡人,略過重複 1 位,無法讀取 0 筆。"_s);
    const ImportSummary again = importer.importFile(file, "windows-1252");
    QCOMPARE(again.added, 0);
    QCOMPARE(again.duplicates, 4);
    QCOMPARE(contactCount(fresh.path), 3);
}

void TestContactImport::duplicateIndexInstalledAndUsed()
{
    FreshDatabase fresh;
    const QString plan = u"EXPLAIN QUERY PLAN SELECT 1 FROM address_book WHERE name = ? AND nickname IS NULL "
                         "AND mobiletelephonenumber = ? AND businesstelephonenumber IS NULL "
                         "AND hometelephonenumber IS NULL AND businessfaxnumber IS NULL"_s;
    QVERIFY(rawQuery(fresh.path, plan, {u"a"_s, u"1"_s}).value(0).value(3).toString().contains(u"address_book_duplicate"_s));
    // A file from before the index gets it when opened.
    rawQuery(fresh.path, u"DROP INDEX address_book_duplicate"_s);
    AddressDatabase db(fresh.path, u"main"_s);
    QVERIFY(db.Open());
    QCOMPARE(rawQuery(fresh.path, u"SELECT count(*) FROM sqlite_master WHERE name = 'address_book_duplicate'"_s)
                 .value(0).value(0).toInt(), 1);
}

void TestContactImport::exportReadsBackToTheSameRows()
{
    FreshDatabase source;
    AddressDatabase db(source.path, u"source"_s);
    QVERIFY(db.Open());
    ContactRecord everything = filledContact(u"x;y,z\\w\nnext"_s);
    everything.setText(ContactColumn::Birthday, u"1980-7-4"_s);
    everything.setText(ContactColumn::Anniversary, u"1980-07-04"_s); // free text: not a date as stored
    everything.setText(ContactColumn::Remark, QString(200, QChar(0x6f22)) + u"\nline two"_s);
    const QList<ContactRecord> contacts{
        everything,
        record(u"name=NULL|mobiletelephonenumber=1"_s),
        record(u"mobiletelephonenumber=2|nickname=a,b"_s), // empty name
        record(u"name=O'Brien|lastname=O'Brien|webpage=http://x.example/a:b|homepostalcode=104"_s),
    };
    for (const ContactRecord &contact : contacts)
        QVERIFY(db.insertContact(contact));
    QString error;
    const auto all = allContacts(db, &error);
    QVERIFY2(all, qPrintable(error));
    const QString file = source.dir.filePath(u"out.vcf"_s);
    QVERIFY2(writeVCardFile(file, *all, &error), qPrintable(error));

    FreshDatabase target;
    AddressDatabase into(target.path, u"target"_s);
    ContactImporter importer(into);
    const ImportSummary summary = importer.importFile(file, "windows-1252");
    QCOMPARE(summary.added, int(contacts.size()));
    QCOMPARE(summary.details, QStringList());
    QStringList expected = storedRows(source.path), actual = storedRows(target.path);
    expected.sort();
    actual.sort();
    QCOMPARE(actual, expected);
}

void TestContactImport::exportFoldsLinesWithoutSplittingCharacters()
{
    const QByteArray card = vcardOf(record(u"name="_s + QString(100, QChar(0x6f22)) + u"|remark="_s + QString(99, u'a')));
    QVERIFY(card.endsWith("END:VCARD\r\n"));
    const QList<QByteArray> lines = card.chopped(2).split('\n');
    QVERIFY(lines.size() > 6);
    for (const QByteArray &line : lines) {
        QVERIFY(line.size() <= 76); // 75 octets and the CR
        QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        decoder.decode(line);
        QVERIFY2(!decoder.hasError(), line.constData());
    }
}

void TestContactImport::refusedInsertKeepsWhatCameBefore()
{
    FreshDatabase fresh;
    rawQuery(fresh.path, u"CREATE TRIGGER refuse BEFORE INSERT ON address_book "
                         "WHEN (SELECT count(*) FROM address_book) >= 699 "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s);
    const QString file = writeFile(fresh.dir, u"a.vcf"_s, cards(1000));
    AddressDatabase db(fresh.path, u"main"_s);
    ContactImporter importer(db);
    const ImportSummary summary = importer.importFile(file, "windows-1252");
    QCOMPARE(summary.added, 699);
    QVERIFY(summary.error.contains(u"refused"_s));
    QCOMPARE(contactCount(fresh.path), 699);
    // The number index stayed in step: no half contact.
    QCOMPARE(rawQuery(fresh.path, u"SELECT count(*) FROM contact_number"_s).value(0).value(0).toInt(), 699);
}

void TestContactImport::cancelKeepsCommittedContacts()
{
    FreshDatabase fresh;
    const QString file = writeFile(fresh.dir, u"a.vcf"_s, cards(3000));
    AddressDatabase db(fresh.path, u"main"_s);
    ContactImporter importer(db);
    std::atomic_bool cancel = false;
    importer.setCancelFlag(&cancel);
    importer.setProgress([&cancel](qint64, qint64) { cancel = true; });
    const ImportSummary summary = importer.importFile(file, "windows-1252");
    QVERIFY(summary.cancelled);
    QVERIFY(summary.added >= ContactImporter::kCommitEveryContacts && summary.added < 3000);
    QCOMPARE(contactCount(fresh.path), summary.added);
    QVERIFY(summary.text().startsWith(u"匯入已取消:"_s));
}

void TestContactImport::killedMidImport()
{
    FreshDatabase fresh;
    constexpr int kCards = 20000;
    const QString file = writeFile(fresh.dir, u"big.vcf"_s, cards(kCards));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DPX_TEST_IMPORT_CHILD"_s, fresh.path + u'\n' + file);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (contactCount(fresh.path) == 0 && waited.elapsed() < 20000 && child.state() == QProcess::Running)
        QThread::msleep(5);
    child.kill();
    child.waitForFinished();
    const int committed = contactCount(fresh.path);
    QVERIFY(committed > 0);
    QVERIFY2(committed < kCards, "the import ended before it could be stopped");
    QCOMPARE(rawQuery(fresh.path, u"PRAGMA integrity_check"_s).value(0).value(0).toString(), u"ok"_s);

    AddressDatabase db(fresh.path, u"main"_s);
    ContactImporter importer(db);
    const ImportSummary summary = importer.importFile(file, "windows-1252");
    QCOMPARE(summary.added + summary.duplicates, kCards);
    QCOMPARE(contactCount(fresh.path), kCards);
}

void TestContactImport::unreadableFileWritesNothing()
{
    FreshDatabase fresh;
    AddressDatabase db(fresh.path, u"main"_s);
    ContactImporter importer(db);
    const ImportSummary missing = importer.importFile(fresh.dir.filePath(u"none.vcf"_s), "windows-1252");
    QVERIFY(!missing.fileRead);
    QCOMPARE(int(missing.fileError), int(ContactFileReader::Error::Unreadable));
    const ImportSummary notContacts =
        importer.importFile(writeFile(fresh.dir, u"x.csv"_s, "a,b\n1,2\n"), "windows-1252");
    QCOMPARE(int(notContacts.fileError), int(ContactFileReader::Error::NotContacts));
    QCOMPARE(contactCount(fresh.path), 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("DPX_TEST_IMPORT_CHILD"))
        return childImport();
    TestContactImport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_contactimport.moc"
