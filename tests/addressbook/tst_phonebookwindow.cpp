// SPDX-License-Identifier: GPL-3.0-or-later
// The phone book and the contact editor on a real database, rendered offscreen: the list, its
// headings and search, the keys, deleting, saving, the read-only card and the pictures.
#include "AddressTestSupport.h"

#include "addressbook/ContactEditor.h"
#include "addressbook/PhoneBookWindow.h"
#include "addressbook/PictureBox.h"
#include "ui/ReportListCtrl.h"
#include "ui/SkinBitmapButton.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

using namespace dpx;
using namespace dpx::test;

namespace {

ContactRecord person(const QString &name, const QString &business, const QString &mobile)
{
    ContactRecord record;
    record.setText(ContactColumn::Name, name);
    record.setText(ContactColumn::BusinessTelephoneNumber, business);
    record.setText(ContactColumn::MobileTelephoneNumber, mobile);
    return record;
}

QString writePicture(const QString &path, const char *format, QColor colour, QSize size = {40, 30})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, format);
    return path;
}

// A database with three contacts and a picture folder with the default picture.
struct Fixture {
    FreshDatabase fresh;
    QString folder = fresh.dir.filePath(u"contact picture/"_s);
    AddressDatabase db{fresh.path, u"windows"_s};
    int changes = 0;

    Fixture()
    {
        QDir().mkpath(folder);
        writePicture(folder + u"Default.bmp"_s, "BMP", Qt::gray);
        db.Open();
        db.insertContact(person(u"陳美玲"_s, u"02-2345-6789"_s, u"0912345678"_s));
        db.insertContact(person(u"Ed"_s, u"10"_s, u"0987654321"_s));
        db.insertContact(person(u"Ace"_s, u"9"_s, QString()));
    }
    PhoneBookContext context()
    {
        return {&db, folder, [this] { ++changes; }};
    }
    ContactEditorContext editorContext(std::optional<ContactRecord> loaded = std::nullopt, bool readOnly = false)
    {
        return {&db, folder, std::move(loaded), readOnly};
    }
};

QStringList names(PhoneBookWindow &book)
{
    QStringList shown;
    ReportListCtrl *list = book.list();
    for (int row = 0; row < list->rowCount(); ++row)
        if (list->isRowShown(row))
            shown << list->listModel()->cell(row, 0);
    return shown;
}

void key(QWidget *widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
}

} // namespace

class TestPhoneBookWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listAndHeadings();
    void keysAndDoubleClicks();
    void deleteSelectedContacts();
    void searchFiltersAsYouType();
    void editorKeysAndEmptyName();
    void editorSavesAndRoundTrips();
    void cardOnlyShows();
    void picturesInTheEditor();
};

void TestPhoneBookWindow::listAndHeadings()
{
    Fixture fx;
    PhoneBookWindow book(fx.context());
    QCOMPARE(names(book), (QStringList{u"Ace"_s, u"Ed"_s, u"陳美玲"_s}));
    auto *model = book.list()->listModel();
    QCOMPARE(model->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), u"商務電話 "_s);
    QCOMPARE(model->headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), u"住家電話 "_s);
    // 商務電話: numbers before the hyphenated one, 9 before 10; again: reversed.
    book.list()->clickHeading(5);
    QCOMPARE(names(book), (QStringList{u"Ace"_s, u"Ed"_s, u"陳美玲"_s}));
    book.list()->clickHeading(5);
    QCOMPARE(names(book), (QStringList{u"陳美玲"_s, u"Ed"_s, u"Ace"_s}));
    book.FillList(); // a refill brings back the order by name
    QCOMPARE(names(book), (QStringList{u"Ace"_s, u"Ed"_s, u"陳美玲"_s}));
    QVERIFY(!book.grab().isNull());
}

void TestPhoneBookWindow::keysAndDoubleClicks()
{
    Fixture fx;
    PhoneBookWindow book(fx.context());
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    ReportListCtrl *list = book.list();
    // Below the last row: no editor.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, list->viewport()->height() - 5));
    QVERIFY(!book.editor());
    // Enter on a row opens that contact; the window itself never closes on Enter.
    list->selectRow(1);
    key(list, Qt::Key_Return);
    QVERIFY(book.editor());
    QCOMPARE(book.editor()->contactName(), u"Ed"_s);
    book.editor()->reject();
    QTRY_VERIFY(!book.editor());
    QCOMPARE(fx.changes, 1); // the tree is refilled after the editor, whatever it did
    key(&book, Qt::Key_Return);
    QVERIFY(book.isVisible());
    // A double-click on a row opens it too; Ctrl+N opens an empty editor.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
    QCOMPARE(book.editor()->contactName(), u"陳美玲"_s);
    book.editor()->reject();
    QTRY_VERIFY(!book.editor());
    book.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&book));
    QTest::keyClick(&book, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(book.editor());
    QCOMPARE(book.editor()->field(ContactColumn::LastName)->text(), QString());
    book.editor()->reject();
    QTRY_VERIFY(!book.editor());
    key(&book, Qt::Key_Escape);
    QVERIFY(!book.isVisible());
}

void TestPhoneBookWindow::deleteSelectedContacts()
{
    Fixture fx;
    const QString picture = writePicture(fx.folder + u"Ed0987654321.bmp"_s, "BMP", Qt::red);
    QVERIFY(fx.db.Execute(u"UPDATE address_book SET ishavepicture = 1 WHERE name = 'Ed'"_s));
    PhoneBookWindow book(fx.context());
    book.list()->clearSelection();
    book.deleteSelected();
    QCOMPARE(book.lastMessage(), u"請選擇要刪除的連絡人!"_s);
    QCOMPARE(contactCount(fx.fresh.path), 3);

    // The Delete key asks first; no answer, nothing deleted.
    book.list()->selectAll();
    key(book.list(), Qt::Key_Delete);
    auto *question = book.findChild<QMessageBox *>(u"deleteQuestion"_s);
    QVERIFY(question);
    QCOMPARE(contactCount(fx.fresh.path), 3);
    question->button(QMessageBox::Yes)->click();
    QCOMPARE(contactCount(fx.fresh.path), 0);
    QCOMPARE(book.list()->rowCount(), 0);
    QVERIFY(!QFile::exists(picture));
    QCOMPARE(fx.changes, 1);
}

void TestPhoneBookWindow::searchFiltersAsYouType()
{
    Fixture fx;
    PhoneBookWindow book(fx.context());
    book.show();
    QLineEdit *search = book.searchField();
    QTest::keyClicks(search, u"0223"_s);
    QCOMPARE(names(book), QStringList{u"陳美玲"_s}); // digits find 02-2345-6789
    search->setText(u"ed"_s);
    QCOMPARE(names(book), QStringList{u"Ed"_s}); // case ignored
    book.FillList();
    QCOMPARE(names(book), QStringList{u"Ed"_s}); // the search survives a refill
    key(search, Qt::Key_Escape); // clears the search first, the window stays
    QVERIFY(search->text().isEmpty());
    QVERIFY(book.isVisible());
    QCOMPARE(names(book).size(), 3);
}

void TestPhoneBookWindow::editorKeysAndEmptyName()
{
    Fixture fx;
    ContactEditor editor(fx.editorContext());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QLineEdit *last = editor.field(ContactColumn::LastName);
    QTRY_VERIFY(last->hasFocus());
    key(last, Qt::Key_Return);
    QVERIFY(editor.field(ContactColumn::FirstName)->hasFocus());
    QVERIFY(editor.isVisible());
    editor.remarkField()->setFocus();
    QTest::keyClicks(editor.remarkField(), u"a"_s);
    key(editor.remarkField(), Qt::Key_Return);
    QTest::keyClicks(editor.remarkField(), u"b"_s);
    QCOMPARE(editor.remarkField()->toPlainText(), u"a\nb"_s);

    editor.field(ContactColumn::NickName)->setText(u"Nick"_s);
    editor.okButton()->click();
    QCOMPARE(editor.lastMessage(), u"請輸入連絡人的姓氏/名字!"_s);
    QVERIFY(last->hasFocus());
    QCOMPARE(contactCount(fx.fresh.path), 3);
}

void TestPhoneBookWindow::editorSavesAndRoundTrips()
{
    Fixture fx;
    const QString remark = u"He said \"hi\";\n'quoted'\n"_s + QString(10000, u'x');
    {
        ContactEditor editor(fx.editorContext());
        editor.field(ContactColumn::LastName)->setText(u"Smith"_s);
        editor.field(ContactColumn::FirstName)->setText(u"John"_s);
        editor.remarkField()->setPlainText(remark);
        QVERIFY(editor.save());
    }
    ContactCursor cursor(fx.db);
    QVERIFY(cursor.QueryContacts(ContactQuery::Identity, person(u"Smith John"_s, {}, {})));
    QVERIFY(!cursor.IsEOF());
    ContactRecord stored = cursor.record();
    QCOMPARE(stored.text(ContactColumn::Remark), remark);
    cursor.Close();

    // Editing it: the assistant's name has no field and is carried through; 取消 writes nothing.
    QVERIFY(fx.db.Execute(u"UPDATE address_book SET assistantname = 'Moneypenny' WHERE name = 'Smith John'"_s));
    stored.setText(ContactColumn::AssistantName, u"Moneypenny"_s);
    {
        ContactEditor editor(fx.editorContext(stored));
        editor.field(ContactColumn::JobTitle)->setText(u"Agent"_s);
        editor.cancelButton()->click();
    }
    QCOMPARE(rawQuery(fx.fresh.path, u"SELECT count(*) FROM address_book WHERE jobtitle IS NOT NULL"_s)
                 .value(0).value(0).toInt(), 0);
    {
        ContactEditor editor(fx.editorContext(stored));
        editor.field(ContactColumn::JobTitle)->setText(u"Agent"_s);
        QVERIFY(editor.save());
    }
    QCOMPARE(rawQuery(fx.fresh.path, u"SELECT assistantname, jobtitle FROM address_book WHERE name = 'Smith John'"_s),
             (Rows{{u"Moneypenny"_s, u"Agent"_s}}));
    QCOMPARE(contactCount(fx.fresh.path), 4);

    // A read-only file: "保存失败!", the editor stays open, nothing changed.
    fx.db.Close();
    ReadOnlyFile readOnly{fx.fresh.path};
    if (readOnly.isWritable())
        QSKIP("cannot make a file read-only for this user");
    QVERIFY(fx.db.Open());
    ContactEditor editor(fx.editorContext());
    editor.show();
    editor.field(ContactColumn::FirstName)->setText(u"New"_s);
    QVERIFY(!editor.save());
    QCOMPARE(editor.lastMessage(), u"保存失败!"_s);
    QVERIFY(editor.isVisible());
}

void TestPhoneBookWindow::cardOnlyShows()
{
    Fixture fx;
    ContactRecord caller = person(u"陳美玲"_s, u"02-2345-6789"_s, u"0912345678"_s);
    const QString stray = writePicture(fx.folder + u"陳美玲0912345678.bmp"_s, "BMP", Qt::red);
    ContactEditor card(fx.editorContext(caller, true));
    QVERIFY(!card.okButton()->isEnabled());
    QVERIFY(card.field(ContactColumn::LastName)->isReadOnly());
    QVERIFY(card.remarkField()->isReadOnly());
    QCOMPARE(card.contactName(), u"陳美玲"_s);
    QVERIFY(!card.save());
    card.choosePictureFile(stray);
    QVERIFY(!card.isConverting());
    QVERIFY(QFile::exists(stray)); // a row without a picture: the card deletes nothing
    card.show();
    key(&card, Qt::Key_Escape);
    QVERIFY(!card.isVisible());
    QCOMPARE(contactCount(fx.fresh.path), 3);
}

void TestPhoneBookWindow::picturesInTheEditor()
{
    Fixture fx;
    const QString good = writePicture(fx.fresh.dir.filePath(u"good.png"_s), "PNG", Qt::blue, {300, 200});
    const QString bad = fx.fresh.dir.filePath(u"bad.jpg"_s);
    QFile(bad).open(QIODevice::WriteOnly);
    QFile::remove(fx.folder + u"Default.bmp"_s);
    {
        // Without a default picture: "导入头像失败!" once, not on every paint.
        ContactEditor editor(fx.editorContext());
        QCOMPARE(editor.lastMessage(), u"导入头像失败!"_s);
        editor.show();
        editor.grab();
        editor.field(ContactColumn::LastName)->setText(u"張"_s);
        editor.field(ContactColumn::FirstName)->setText(u"三"_s);
        editor.field(ContactColumn::MobileTelephoneNumber)->setText(u"0912"_s);
        editor.choosePictureFile(good);
        QTRY_VERIFY(!editor.isConverting());
        QVERIFY(editor.hasPendingPicture());
        QCOMPARE(editor.pictureBox()->image().size(), QSize(128, 128));
        // A second choice that fails keeps the first.
        editor.choosePictureFile(bad);
        QTRY_VERIFY(!editor.isConverting());
        QCOMPARE(editor.lastMessage(), u"图片转换失败!"_s);
        QVERIFY(editor.hasPendingPicture());
        QVERIFY(editor.save());
    }
    QVERIFY(QFile::exists(fx.folder + u"張三0912.bmp"_s));
    QCOMPARE(QImage(fx.folder + u"張三0912.bmp"_s).pixelColor(64, 64), QColor(Qt::blue));
    {
        // A picture chosen and then cancelled leaves nothing behind.
        ContactEditor editor(fx.editorContext());
        editor.field(ContactColumn::LastName)->setText(u"李"_s);
        editor.choosePictureFile(good);
        QTRY_VERIFY(!editor.isConverting());
        editor.reject();
    }
    QCOMPARE(QDir(fx.folder).entryList(QDir::Files), QStringList{u"張三0912.bmp"_s});
    QCOMPARE(contactCount(fx.fresh.path), 4);
}

QTEST_MAIN(TestPhoneBookWindow)
#include "tst_phonebookwindow.moc"
