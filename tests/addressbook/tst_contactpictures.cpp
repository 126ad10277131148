// SPDX-License-Identifier: GPL-3.0-or-later
// Contact names and picture file names, and the picture files that follow saves and deletes
// on a real SQLite file and picture folder: the database first, files only after its commit,
// a file shared by two contacts kept while one still claims it.
#include "AddressTestSupport.h"

#include "addressbook/ContactName.h"
#include "addressbook/ContactPictureStore.h"
#include "addressbook/PictureNames.h"

#include <QDir>
#include <QScopeGuard>
#include <QSet>

using namespace dpx;
using namespace dpx::test;

namespace {

ContactRecord contact(const QString &name, const QString &mobile, bool picture = false)
{
    ContactRecord record;
    record.setText(ContactColumn::Name, name);
    record.setText(ContactColumn::MobileTelephoneNumber, mobile);
    record.setHasPicture(picture);
    return record;
}

QByteArray bmpBytes(char tag)
{
    return QByteArray("BM") + QByteArray(64, tag);
}

// A database and its picture folder in a temporary folder.
struct Book {
    FreshDatabase fresh;
    QString folder = fresh.dir.filePath(u"contact picture"_s);
    bool made = QDir().mkpath(folder);
    AddressDatabase db{fresh.path, u"pictures"_s};
    ContactPictureStore store{folder};
    bool opened = db.Open();

    QStringList files() const
    {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }
    ContactSaveResult save(const std::optional<ContactRecord> &loaded, const ContactRecord &contact,
                           PictureChoice picture = {})
    {
        return saveContactWithPicture(db, store, loaded, contact, picture);
    }
    PictureChoice replace(char tag) { return {PictureChoice::Kind::Replace, bmpBytes(tag)}; }
};

} // namespace

class TestContactPictures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void joinedNames_data();
    void joinedNames();
    void pictureNames_data();
    void pictureNames();
    void pictureNamesStayApartAndShort();
    void newContactWithPicture();
    void renameMovesThePicture();
    void failedSaveChangesNothing();
    void deleteTakesPicturesAlong();
    void sharedPictureSurvives();
    void strayFileOnOpen();
};

void TestContactPictures::joinedNames_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("name");
    QTest::newRow("chinese") << u"陳"_s << u"美玲"_s << u"陳美玲"_s;
    QTest::newRow("latin") << u"Smith"_s << u"John"_s << u"Smith John"_s;
    QTest::newRow("digits") << u"Room 1"_s << u"2B"_s << u"Room 1 2B"_s;
    QTest::newRow("latin then chinese") << u"Lee"_s << u"小明"_s << u"Lee小明"_s;
    QTest::newRow("accented") << u"Müller"_s << u"Émile"_s << u"Müller Émile"_s;
    QTest::newRow("only first") << QString() << u"美玲"_s << u"美玲"_s;
    QTest::newRow("only last") << u"Smith"_s << QString() << u"Smith"_s;
    QTest::newRow("trailing blank kept") << u"Smith "_s << u"John"_s << u"Smith John"_s;
}

void TestContactPictures::joinedNames()
{
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, name);
    QCOMPARE(joinContactName(last, first), name);
}

void TestContactPictures::pictureNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mobile");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << u"張三"_s << u"0912"_s << u"張三0912.bmp"_s;
    QTest::newRow("no mobile") << u"Smith John"_s << QString() << u"Smith John.bmp"_s;
    QTest::newRow("nothing") << QString() << QString() << QString();
    QTest::newRow("traversal") << u"../../etc/passwd"_s << QString() << u"%2E.%2F..%2Fetc%2Fpasswd.bmp"_s;
    QTest::newRow("backslash and colon") << u"a\\b:c"_s << QString() << u"a%5Cb%3Ac.bmp"_s;
    QTest::newRow("percent") << u"100%"_s << QString() << u"100%25.bmp"_s;
    QTest::newRow("control") << u"a\nb"_s << QString() << u"a%0Ab.bmp"_s;
    QTest::newRow("trailing dot and blank") << u"Co. "_s << u"."_s << u"Co. %2E.bmp"_s;
    QTest::newRow("reserved device") << u"con"_s << QString() << u"%63on.bmp"_s;
    QTest::newRow("reserved with dot") << u"LPT1.x"_s << QString() << u"%4CPT1.x.bmp"_s;
    QTest::newRow("not reserved") << u"COM0"_s << QString() << u"COM0.bmp"_s;
    QTest::newRow("default alone") << u"Default"_s << QString() << u"%44efault.bmp"_s;
    QTest::newRow("default in another case") << u"DEFAULT"_s << QString() << u"%44EFAULT.bmp"_s;
    QTest::newRow("default with a mobile") << u"Default"_s << u"0912"_s << u"Default0912.bmp"_s;
}

void TestContactPictures::pictureNames()
{
    QFETCH(QString, name);
    QFETCH(QString, mobile);
    QFETCH(QString, file);
    QCOMPARE(pictureFileName(name, mobile), file);
}

void TestContactPictures::pictureNamesStayApartAndShort()
{
    // Keys that look alike after escaping or cutting still get their own files.
    const QString longName = QString(200, u'張'); // 600 UTF-8 bytes
    const QStringList keys = {u"a%2F"_s, u"a/"_s, u"%44efault"_s, u"Default"_s, u"x~1"_s, u"x%7E1"_s,
                              longName, longName + u'1', longName + u'2', QString(300, u'a'),
                              QString(300, u'a') + u'.', u"😀"_s.repeated(100), QString(1, QChar(0xD800)),
                              u"a\uFEFFb"_s, u"ab"_s, u"\uFEFF"_s};
    QSet<QString> stems;
    for (const QString &key : keys) {
        const QString stem = pictureFileStem(key);
        const QByteArray bytes = stem.toUtf8();
        QVERIFY2(bytes.size() <= kMaxPictureStemBytes, qPrintable(key.left(10)));
        QCOMPARE(QString::fromUtf8(bytes), stem); // whole characters only
        QVERIFY(!stem.contains(u'/') && !stem.startsWith(u'.') && !stem.endsWith(u'.'));
        stems.insert(stem);
    }
    QCOMPARE(stems.size(), keys.size());
    QVERIFY(pictureFileStem(longName).startsWith(QString(80, u'張')));
}

void TestContactPictures::newContactWithPicture()
{
    Book book;
    QVERIFY(book.opened);
    const ContactSaveResult saved = book.save(std::nullopt, contact(u"張三"_s, u"0912"_s), book.replace('a'));
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QVERIFY(saved.saved.hasPicture());
    QCOMPARE(book.files(), QStringList{u"張三0912.bmp"_s});
    QCOMPARE(fileBytes(book.store.pathFor(saved.saved)), bmpBytes('a'));
    QCOMPARE(rawQuery(book.fresh.path, u"SELECT ishavepicture FROM address_book"_s).value(0).value(0).toInt(), 1);
}

void TestContactPictures::renameMovesThePicture()
{
    Book book;
    const ContactRecord first = book.save(std::nullopt, contact(u"張三"_s, u"0912"_s), book.replace('a')).saved;
    // A new mobile number: the file follows, the flag stays.
    const ContactSaveResult moved = book.save(first, contact(u"張三"_s, u"0988"_s));
    QVERIFY(moved.ok && moved.saved.hasPicture());
    QCOMPARE(book.files(), QStringList{u"張三0988.bmp"_s});
    QCOMPARE(fileBytes(book.folder + u"/張三0988.bmp"_s), bmpBytes('a'));
    // A new picture under the same name replaces the file.
    const ContactRecord second = book.save(moved.saved, moved.saved, book.replace('b')).saved;
    QCOMPARE(fileBytes(book.folder + u"/張三0988.bmp"_s), bmpBytes('b'));
    // Removing the picture removes the file and clears the flag.
    const ContactSaveResult removed = book.save(second, second, {PictureChoice::Kind::Remove, {}});
    QVERIFY(removed.ok && !removed.saved.hasPicture());
    QVERIFY(book.files().isEmpty());
}

void TestContactPictures::failedSaveChangesNothing()
{
    Book book;
    const ContactRecord stored = book.save(std::nullopt, contact(u"Amy"_s, u"1"_s), book.replace('a')).saved;
    book.db.Close();
    {
        ReadOnlyFile readOnly{book.fresh.path};
        if (readOnly.isWritable())
            QSKIP("cannot make a file read-only for this user");
        QVERIFY(book.db.Open());
        const ContactSaveResult failed = book.save(stored, contact(u"Amy"_s, u"2"_s), book.replace('b'));
        QVERIFY(!failed.ok);
        QVERIFY(!failed.error.isEmpty());
        // A delete that fails tells why and deletes no file either.
        QVERIFY(!deleteContactsWithPictures(book.db, book.store, {stored}).isEmpty());
        book.db.Close();
    }
    QCOMPARE(book.files(), QStringList{u"Amy1.bmp"_s});
    QCOMPARE(fileBytes(book.folder + u"/Amy1.bmp"_s), bmpBytes('a'));
    QCOMPARE(rawQuery(book.fresh.path, u"SELECT mobiletelephonenumber FROM address_book"_s).value(0).value(0).toString(),
             u"1"_s);

    // A picture folder that cannot be written: the row stays as it was too.
    QVERIFY(book.db.Open());
    QFile::setPermissions(book.folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool locked = QProcess::execute(u"chattr"_s, {u"+i"_s, book.folder}) == 0;
    const auto unlock = qScopeGuard([&] {
        if (locked)
            QProcess::execute(u"chattr"_s, {u"-i"_s, book.folder});
        QFile::setPermissions(book.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const ContactSaveResult refused = book.save(stored, contact(u"Amy"_s, u"3"_s), book.replace('c'));
    if (refused.ok)
        QSKIP("cannot make a folder read-only for this user");
    QVERIFY(!refused.ok);
    QCOMPARE(contactCount(book.fresh.path), 1);
    QCOMPARE(rawQuery(book.fresh.path, u"SELECT mobiletelephonenumber FROM address_book"_s).value(0).value(0).toString(),
             u"1"_s);
}

void TestContactPictures::deleteTakesPicturesAlong()
{
    Book book;
    QList<ContactRecord> saved;
    for (const QString &name : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
        saved << book.save(std::nullopt, contact(name, u"09"_s), book.replace(name.at(0).toLatin1())).saved;
    QCOMPARE(book.files().size(), 4);
    QVERIFY(deleteContactsWithPictures(book.db, book.store, saved.mid(0, 3)).isEmpty());
    QCOMPARE(book.files(), QStringList{u"D09.bmp"_s});
    QCOMPARE(contactCount(book.fresh.path), 1);
}

void TestContactPictures::sharedPictureSurvives()
{
    Book book;
    // 張三0 + 912 and 張三 + 0912 are named alike: they share one file.
    const ContactRecord one = book.save(std::nullopt, contact(u"張三0"_s, u"912"_s), book.replace('a')).saved;
    const ContactRecord two = book.save(std::nullopt, contact(u"張三"_s, u"0912"_s), book.replace('b')).saved;
    QCOMPARE(book.files(), QStringList{u"張三0912.bmp"_s});
    QVERIFY(deleteContactsWithPictures(book.db, book.store, {one}).isEmpty());
    QCOMPARE(book.files(), QStringList{u"張三0912.bmp"_s}); // still claimed by the other
    // Renaming the other moves a copy: the name it leaves is claimed by nobody now.
    QVERIFY(book.save(two, contact(u"張三"_s, u"0999"_s)).ok);
    QCOMPARE(book.files(), QStringList{u"張三0999.bmp"_s});
}

void TestContactPictures::strayFileOnOpen()
{
    Book book;
    const ContactRecord with = book.save(std::nullopt, contact(u"Amy"_s, u"1"_s), book.replace('a')).saved;
    ContactRecord without = contact(u"Amy"_s, u"1"_s, false);
    QVERIFY(book.db.insertContact(without)); // same file name, no picture of its own
    // Claimed by the first row: opening the second (or showing its card) keeps the file.
    QCOMPARE(book.store.pictureOf(without, &book.db), QString());
    QCOMPARE(book.files().size(), 1);
    QCOMPARE(book.store.pictureOf(with), book.store.pathFor(with));
    // Nobody claims it any more: a card still deletes nothing, the editor removes the stray.
    QVERIFY(book.db.deleteContact(with) >= 0);
    QVERIFY(book.db.insertContact(without));
    QCOMPARE(book.files().size(), 1);
    QCOMPARE(book.store.pictureOf(without), QString());
    QCOMPARE(book.files().size(), 1);
    book.store.pictureOf(without, &book.db);
    QVERIFY(book.files().isEmpty());
}

QTEST_GUILESS_MAIN(TestContactPictures)
#include "tst_contactpictures.moc"
