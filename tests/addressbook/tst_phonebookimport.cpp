// SPDX-License-Identifier: GPL-3.0-or-later
// The phone book's import buttons, dropped files and export menu, offscreen with the file
// choosers replaced.
#include "AddressTestSupport.h"

#include "addressbook/PhoneBookTransfers.h"
#include "addressbook/PhoneBookWindow.h"
#include "ui/ReportListCtrl.h"

#include <QMimeData>
#include <QSignalSpy>

using namespace dpx;
using namespace dpx::test;

namespace {

struct Fixture {
    FreshDatabase fresh;
    AddressDatabase db{fresh.path, u"window"_s};
    int treeReloads = 0;
    QString status;
    QStringList chosen;
    QString exportTo;
    std::unique_ptr<PhoneBookWindow> book;

    Fixture()
    {
        db.Open();
        PhoneBookContext context{&db, fresh.dir.filePath(u"contact picture/"_s), [this] { ++treeReloads; }};
        context.showStatus = [this](const QString &text) { status = text; };
        book = std::make_unique<PhoneBookWindow>(std::move(context));
        book->transfers()->setChoosers({[this](PhoneBookTransfers::Source) { return chosen; },
                                        [this] { return exportTo; },
                                        [](const QString &) { return QByteArray("windows-1252"); }});
    }
    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = fresh.dir.filePath(name);
        return writeFile(path, data) ? path : QString();
    }
    bool waitForImport()
    {
        QSignalSpy done(book->transfers(), &PhoneBookTransfers::importFinished);
        return book->transfers()->isImporting() ? done.wait(20000) : true;
    }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < book->list()->rowCount(); ++row)
            names << book->list()->listModel()->cell(row, 0);
        return names;
    }
};

const QByteArray kCards = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nTEL;TYPE=CELL:1\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Bob\r\nTEL;WORK:2\r\nEND:VCARD\r\n";

} // namespace

class TestPhoneBookImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultsWithNothingRemembered();
    void browseImportsAndDefaultRepeats();
    void cancelledChooserIsSilent();
    void unreadableFilesGetTheirMessages();
    void droppedFilesAreImported();
    void exportWritesTheChosenFile();
};

void TestPhoneBookImport::defaultsWithNothingRemembered()
{
    Fixture f;
    f.book->importContacts(PhoneBookWindow::WabDefault);
    QCOMPARE(f.book->lastMessage(), u"No Default !"_s);
    f.book->importContacts(PhoneBookWindow::OutlookDefault);
    QCOMPARE(f.book->lastMessage(), u"沒有發現默認的Outlook聯繫人文件夾﹗"_s);
    QCOMPARE(contactCount(f.fresh.path), 0);
}

void TestPhoneBookImport::browseImportsAndDefaultRepeats()
{
    Fixture f;
    f.chosen = {f.write(u"a.vcf"_s, kCards)};
    f.book->importContacts(PhoneBookWindow::WabBrowse);
    QVERIFY(f.waitForImport());
    QCOMPARE(f.book->lastMessage(), u"匯入完成:新增 2 位連絡人,略過重複 0 位,無法讀取 0 筆。"_s);
    QCOMPARE(f.listed(), (QStringList{u"Ann"_s, u"Bob"_s}));
    QCOMPARE(f.treeReloads, 1);
    QVERIFY(f.book->transfers()->toolTip(PhoneBookTransfers::Source::VCard).contains(u"a.vcf"_s));

    f.chosen.clear();
    f.book->importContacts(PhoneBookWindow::WabDefault);
    QVERIFY(f.waitForImport());
    QCOMPARE(f.book->lastMessage(), u"匯入完成:新增 0 位連絡人,略過重複 2 位,無法讀取 0 筆。"_s);
    QCOMPARE(f.treeReloads, 1); // nothing added: the tree stays
    // The other button remembers its own source.
    f.book->importContacts(PhoneBookWindow::OutlookDefault);
    QCOMPARE(f.book->lastMessage(), u"沒有發現默認的Outlook聯繫人文件夾﹗"_s);
}

void TestPhoneBookImport::cancelledChooserIsSilent()
{
    Fixture f;
    f.db.insertContact(ContactRecord());
    f.book->importContacts(PhoneBookWindow::OutlookBrowse);
    QVERIFY(!f.book->transfers()->isImporting());
    QCOMPARE(f.book->lastMessage(), QString());
    QCOMPARE(f.listed().size(), 1); // refilled all the same
}

void TestPhoneBookImport::unreadableFilesGetTheirMessages()
{
    Fixture f;
    f.chosen = {f.write(u"x.csv"_s, "Foo,Bar\r\n1,2\r\n")};
    f.book->importContacts(PhoneBookWindow::OutlookBrowse);
    QVERIFY(f.waitForImport());
    QCOMPARE(f.book->lastMessage(), u"不是聯繫人文件夾﹗"_s);
    f.chosen = {f.write(u"y.csv"_s, "\xEF\xBB\xBF" "First Name\r\n\xff\r\n")};
    f.book->importContacts(PhoneBookWindow::OutlookBrowse);
    QVERIFY(f.waitForImport());
    QCOMPARE(f.book->lastMessage(), u"不能得到聯繫人條目﹗"_s);
    QFile::remove(f.chosen.first());
    f.book->importContacts(PhoneBookWindow::OutlookDefault);
    QCOMPARE(f.book->lastMessage(), u"沒有發現默認的Outlook聯繫人文件夾﹗"_s);
}

void TestPhoneBookImport::droppedFilesAreImported()
{
    Fixture f;
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(f.write(u"drop.vcf"_s, kCards)), QUrl::fromLocalFile(u"/tmp/x.txt"_s)});
    QWidget *viewport = f.book->list()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QVERIFY(f.waitForImport());
    QCOMPARE(contactCount(f.fresh.path), 2);
    QCOMPARE(f.listed().size(), 2);
    delete mime;
}

void TestPhoneBookImport::exportWritesTheChosenFile()
{
    Fixture f;
    ContactRecord ann;
    ann.setText(ContactColumn::Name, u"Ann"_s);
    ann.setText(ContactColumn::Remark, u"whole row"_s);
    f.db.insertContact(ann);
    f.book->FillList();
    f.exportTo = f.fresh.dir.filePath(u"out.vcf"_s);
    f.book->transfers()->exportContacts(QList<ContactRecord>{ann});
    QCOMPARE(f.status, u"已匯出 1 位連絡人"_s);
    QVERIFY(fileBytes(f.exportTo).contains("NOTE:whole row"));
}

QTEST_MAIN(TestPhoneBookImport)
#include "tst_phonebookimport.moc"
