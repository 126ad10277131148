// SPDX-License-Identifier: GPL-3.0-or-later
// The phone book on 10 000 contacts: opening it (construct, fill, first paint) next to a
// table widget with one item per cell filled from whole rows; sorting by 商務電話 and 姓名
// next to a sort that reads both cells in every comparison; a 12-megapixel JPEG turned into a
// contact picture next to a whole decode and smooth scaling, and its save next to the floor of
// one replace plus one synced 49 KB file.
#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactCursor.h"
#include "addressbook/ContactPictureImage.h"
#include "addressbook/ContactPictureStore.h"
#include "addressbook/PhoneBookWindow.h"
#include "ui/ReportListCtrl.h"
#include "ui/ReportSortKey.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace dpx;
using namespace Qt::StringLiterals;

namespace {

constexpr int kContacts = 10000;
constexpr int kRounds = 7;

double medianMs(int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString digits(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + int(random.bounded(10)));
    return text;
}

bool fill(AddressDatabase &db, QRandomGenerator &random)
{
    static const QStringList family{u"陳"_s, u"林"_s, u"黃"_s, u"張"_s, u"李"_s, u"王"_s, u"Smith"_s, u"Lee"_s};
    if (!db.Execute(u"BEGIN"_s))
        return false;
    for (int i = 0; i < kContacts; ++i) {
        ContactRecord contact;
        contact.setText(ContactColumn::Name, family.at(random.bounded(family.size())) + QString::number(random.bounded(100000)));
        contact.setText(ContactColumn::Company, u"Company %1"_s.arg(i % 997));
        // Business numbers: digits alone, with hyphens, or none.
        switch (random.bounded(3)) {
        case 0: contact.setText(ContactColumn::BusinessTelephoneNumber, u"0"_s + digits(random, 9)); break;
        case 1: contact.setText(ContactColumn::BusinessTelephoneNumber, u"0%1-%2-%3"_s.arg(digits(random, 1), digits(random, 4), digits(random, 4))); break;
        default: break;
        }
        contact.setText(ContactColumn::MobileTelephoneNumber, u"09"_s + digits(random, 8));
        contact.setText(ContactColumn::Remark, u"note %1"_s.arg(i));
        if (!db.insertContact(contact))
            return false;
    }
    return db.Execute(u"COMMIT"_s);
}

void openPhoneBook(AddressDatabase &db, const QString &folder)
{
    PhoneBookWindow book({&db, folder, {}});
    QImage target(book.size(), QImage::Format_ARGB32_Premultiplied);
    book.render(&target);
}

void openReference(AddressDatabase &db)
{
    QTableWidget table(0, 9);
    table.resize(PhoneBookWindow::Width, PhoneBookWindow::Height);
    ContactCursor cursor(db);
    cursor.QueryContacts();
    for (int row = 0; !cursor.IsEOF(); cursor.MoveNext(), ++row) {
        const ContactRecord record = cursor.record();
        table.insertRow(row);
        for (int c = 0; c < int(kIdentityColumns.size()); ++c)
            table.setItem(row, c, new QTableWidgetItem(record.text(kIdentityColumns[size_t(c)])));
    }
    QImage target(table.size(), QImage::Format_ARGB32_Premultiplied);
    table.render(&target);
}

QString makeJpeg(const QString &path)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 4000, 3000);
    g.setColorAt(0, QColor(30, 90, 200));
    g.setColorAt(1, QColor(240, 200, 60));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 400; ++i)
        p.fillRect(QRect((i * 97) % 3900, (i * 53) % 2900, 100, 100), QColor::fromHsv(i % 360, 200, 220));
    p.end();
    image.save(path, "JPEG", 90);
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Address.db"_s);
    const QString folder = dir.filePath(u"contact picture/"_s);
    QDir().mkpath(folder);
    QString error;
    if (!createAddressDatabase(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    AddressDatabase db(path, u"bench"_s);
    QRandomGenerator random(4711);
    if (!db.Open() || !fill(db, random)) {
        std::fprintf(stderr, "fill failed: %s\n", qPrintable(db.lastError()));
        return 1;
    }

    std::printf("open the phone book on %d contacts (construct, fill, first paint), median of %d:\n", kContacts, kRounds);
    std::printf("  phone book %.1f ms   reference: table widget, one item per cell, whole rows %.1f ms\n",
                medianMs(kRounds, [&] { openPhoneBook(db, folder); }), medianMs(kRounds, [&] { openReference(db); }));

    PhoneBookWindow book({&db, folder, {}});
    ReportListModel *model = book.list()->listModel();
    std::printf("\nsort %d rows, median of %d:\n", kContacts, kRounds);
    for (const auto &[column, label] : {std::pair{5, "商務電話"}, std::pair{0, "姓名"}}) {
        for (bool ascending : {true, false}) {
            const double ours = medianMs(kRounds, [&] { model->sortRows(column, ascending); });
            // Reference: the same rule, both cells read again in every comparison.
            std::vector<QString> cells;
            for (int r = 0; r < model->rowCount(); ++r)
                cells.push_back(model->cell(r, column));
            const ReportSortContext context;
            const double naive = medianMs(kRounds, [&] {
                std::vector<QString> copy = cells;
                std::stable_sort(copy.begin(), copy.end(), [&](const QString &a, const QString &b) {
                    const int c = ReportSortKey(a, context).compare(ReportSortKey(b, context));
                    return ascending ? c < 0 : c > 0;
                });
            });
            std::printf("  %s %-4s %.1f ms   reference: cells read in every comparison %.1f ms\n", label,
                        ascending ? "up" : "down", ours, naive);
        }
    }

    const QString jpeg = makeJpeg(dir.filePath(u"photo.jpg"_s));
    ConvertedPicture picture;
    const double convert = medianMs(kRounds, [&] { picture = convertContactPicture(jpeg); });
    const double whole = medianMs(kRounds, [&] {
        const QImage full(jpeg);
        const QImage small = full.scaled(128, 128, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        Q_UNUSED(small);
    });
    std::printf("\n12-megapixel JPEG (%.1f MB) to a contact picture, median of %d:\n",
                double(QFileInfo(jpeg).size()) / 1e6, kRounds);
    std::printf("  conversion %.1f ms   reference: whole decode plus smooth scaling %.1f ms\n", convert, whole);

    ContactPictureStore store(folder);
    ContactCursor cursor(db);
    cursor.QueryContacts();
    ContactRecord loaded = cursor.record();
    cursor.Close();
    const double save = medianMs(kRounds, [&] {
        const ContactSaveResult result =
            saveContactWithPicture(db, store, loaded, loaded, {PictureChoice::Kind::Replace, picture.bmp});
        loaded = result.saved;
    });
    const QByteArray block(int(picture.bmp.size()), 'x');
    const double floor = medianMs(kRounds, [&] {
        db.replaceContact(loaded, loaded);
        QFile file(dir.filePath(u"floor.bin"_s));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(block);
        file.flush();
        ::fsync(file.handle());
    });
    std::printf("  save with the picture (%lld bytes) %.1f ms   floor: one replace plus one synced write %.1f ms\n",
                qlonglong(picture.bmp.size()), save, floor);
    return 0;
}
