// SPDX-License-Identifier: GPL-3.0-or-later
// Contact import, end to end (read, decode, map, duplicate test, insert):
//  1. 10 000 vCards (some 2.1 quoted-printable and Big5 cards, CJK names, three numbers, an
//     address, e-mail and note) into a book of 10 000 others, and the same contacts as a CSV
//     export; reference: the same records stored one transaction per contact (insertContact
//     in autocommit, the duplicate test through ContactCursor).
//  2. The duplicate test on repeated names: 10 000 nameless CSV rows differing only in the
//     mobile number into a book of such rows, with the duplicate index and with the name index
//     alone, then the same file again (all duplicates).

#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/ContactFileReader.h"
#include "addressbook/ContactImporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdio>

using namespace dpx;
using namespace Qt::StringLiterals;

namespace {

constexpr int kContacts = 10000;
const QString kSurnames = u"陳林黃張李王吳劉蔡楊"_s;
const QString kGiven = u"志明春嬌家豪淑芬建宏美玲俊傑怡君"_s;

QByteArray quotedPrintable(const QByteArray &bytes)
{
    QByteArray out;
    for (char c : bytes)
        out += "=" + QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0');
    return out;
}

QString cjkName(int i)
{
    return QString(kSurnames[i % kSurnames.size()]) + kGiven.mid((i * 7) % (kGiven.size() - 1), 2);
}

QByteArray vcards(int first, int count)
{
    QStringEncoder big5("Big5");
    QByteArray data;
    for (int i = first; i < first + count; ++i) {
        const QString name = cjkName(i) + QString::number(i);
        const QByteArray number = QByteArray::number(10000000 + i);
        QByteArray card;
        if (i % 5 == 0) { // a phone's 2.1 card
            card = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"
                + quotedPrintable(name.toUtf8()) + "\r\n";
        } else if (i % 5 == 1) { // an old desktop card in Big5
            card = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=BIG5:" + QByteArray(big5.encode(name)) + "\r\n";
        } else {
            card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name.toUtf8() + "\r\nN:" + name.left(1).toUtf8()
                + ";" + name.mid(1).toUtf8() + ";;;\r\n";
        }
        card += "TEL;TYPE=CELL:09" + number + "\r\nTEL;TYPE=WORK,VOICE:02-" + number
            + "\r\nTEL;TYPE=HOME:03-" + number + "\r\nADR;TYPE=WORK:;;" + u"中山路%1號"_s.arg(i).toUtf8()
            + ";" + u"台北市"_s.toUtf8() + ";;104;\r\nEMAIL;TYPE=INTERNET:p" + QByteArray::number(i)
            + "@example.com\r\nNOTE:" + u"備註 %1 for the bench, a line of ordinary length"_s.arg(i).toUtf8()
            + "\r\nEND:VCARD\r\n";
        data += card;
    }
    return data;
}

QByteArray csv(int first, int count)
{
    QString text = u"\uFEFF\"First Name\",\"Last Name\",\"Business Phone\",\"Home Phone\",\"Mobile Phone\","
                   "\"Business City\",\"Business Street\",\"Business Postal Code\",\"E-mail Address\",\"Notes\"\r\n"_s;
    for (int i = first; i < first + count; ++i) {
        const QString number = QString::number(10000000 + i);
        text += u"\"%1\",\"%2\",\"02-%3\",\"03-%3\",\"09%3\",\"台北市\",\"中山路%4號\",\"104\",\"p%4@example.com\",\"備註 %4\"\r\n"_s
                    .arg(cjkName(i).mid(1) + QString::number(i), cjkName(i).left(1), number)
                    .arg(i);
    }
    return text.toUtf8();
}

QByteArray namelessCsv(int count)
{
    QByteArray data = "First Name,Mobile Phone\r\n";
    for (int i = 0; i < count; ++i)
        data += ",09" + QByteArray::number(20000000 + i) + "\r\n";
    return data;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        std::fprintf(stderr, "could not write %s\n", qPrintable(file.fileName()));
    return file.fileName();
}

// A fresh book holding the contacts of `file`.
QString bookWith(const QTemporaryDir &dir, const QString &name, const QString &file)
{
    const QString path = dir.filePath(name);
    createAddressDatabase(path);
    if (!file.isEmpty()) {
        AddressDatabase db(path, u"fill"_s);
        ContactImporter(db).importFile(file, "Big5");
    }
    return path;
}

double importMs(const QString &book, const QString &file, ImportSummary *summary = nullptr)
{
    AddressDatabase db(book, u"bench"_s);
    db.Open();
    QElapsedTimer timer;
    timer.start();
    ImportSummary result = ContactImporter(db).importFile(file, "Big5");
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!result.error.isEmpty())
        std::fprintf(stderr, "import failed: %s\n", qPrintable(result.error));
    if (summary)
        *summary = result;
    return ms;
}

// The reference: each contact tested through the cursor and inserted in its own transaction.
double referenceMs(const QString &book, const QString &file)
{
    AddressDatabase db(book, u"reference"_s);
    db.Open();
    QElapsedTimer timer;
    timer.start();
    ContactFileReader reader;
    reader.open(file, "Big5");
    ContactCursor cursor(db);
    ImportEntry entry;
    while (reader.next(entry)) {
        if (entry.kind != ImportEntry::Kind::Contact)
            continue;
        cursor.QueryContacts(ContactQuery::Duplicate, entry.contact);
        const bool present = !cursor.IsEOF();
        cursor.Close();
        if (!present)
            db.insertContact(entry.contact);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // --quick leaves out the slow references (about three minutes on a small machine).
    const bool quick = app.arguments().contains(u"--quick"_s);
    QTemporaryDir dir;
    const QString others = writeFile(dir, u"others.vcf"_s, vcards(kContacts, kContacts));
    const QString cards = writeFile(dir, u"contacts.vcf"_s, vcards(0, kContacts));
    const QString rows = writeFile(dir, u"contacts.csv"_s, csv(0, kContacts));
    std::printf("%d vCards: %.1f MB; the same as CSV: %.1f MB\n", kContacts,
                double(QFile(cards).size()) / 1e6, double(QFile(rows).size()) / 1e6);

    int round = 0;
    for (const QString &file : {cards, rows}) {
        const QString kind = file == cards ? u"vCard"_s : u"CSV"_s;
        ImportSummary summary;
        const double ours = importMs(bookWith(dir, u"a%1.db"_s.arg(round), others), file, &summary);
        const double reference = quick ? 0 : referenceMs(bookWith(dir, u"b%1.db"_s.arg(round), others), file);
        const double again = importMs(dir.filePath(u"a%1.db"_s.arg(round)), file);
        std::printf("%-5s into a book of %d others: import %.0f ms (%d added)   reference %s ms   "
                    "again (all duplicates) %.0f ms\n",
                    qPrintable(kind), kContacts, ours, summary.added,
                    quick ? "-" : qPrintable(QString::number(reference, 'f', 0)), again);
        ++round;
    }

    std::printf("\nnameless rows differing only in the mobile number, into a book of as many such rows:\n");
    for (int count : {2500, 5000, 10000}) {
        if (quick && count != 10000)
            continue;
        const QString book = writeFile(dir, u"book%1.csv"_s.arg(count), namelessCsv(2 * count).left(0));
        QByteArray all = namelessCsv(2 * count);
        const QList<QByteArray> lines = all.split('\n');
        const QByteArray first = lines.mid(0, count + 1).join('\n') + '\n';
        const QByteArray second = "First Name,Mobile Phone\r\n" + lines.mid(count + 1, count).join('\n') + '\n';
        const QString firstFile = writeFile(dir, u"first%1.csv"_s.arg(count), first);
        const QString secondFile = writeFile(dir, u"second%1.csv"_s.arg(count), second);
        const QString indexed = bookWith(dir, u"i%1.db"_s.arg(count), firstFile);
        const QString nameOnly = bookWith(dir, u"n%1.db"_s.arg(count), firstFile);
        {
            AddressDatabase db(nameOnly, u"drop"_s);
            db.Open();
            db.Execute(u"DROP INDEX address_book_duplicate"_s);
        }
        const double withIndex = importMs(indexed, secondFile);
        const double again = importMs(indexed, secondFile);
        // Opening would put the index back: the reference runs on a raw statement instead.
        QElapsedTimer timer;
        timer.start();
        {
            AddressDatabase db(nameOnly, u"name-only"_s);
            db.setBusyTimeout(1000);
            // Open() installs the index; drop it again inside the same connection.
            db.Open();
            db.Execute(u"DROP INDEX address_book_duplicate"_s);
            timer.restart();
            if (!quick)
                ContactImporter(db).importFile(secondFile, "Big5");
        }
        const double nameIndexOnly = double(timer.nsecsElapsed()) / 1e6;
        std::printf("  %5d into %5d: duplicate index %.0f ms, again (all duplicates) %.0f ms   "
                    "name index alone %s ms\n",
                    count, count, withIndex, again,
                    quick ? "-" : qPrintable(QString::number(nameIndexOnly, 'f', 0)));
        (void)book;
    }
    return 0;
}
