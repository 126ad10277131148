// SPDX-License-Identifier: GPL-3.0-or-later
// Caller lookup and phone-book fill on a large address book. Prints the time of the indexed
// lookup next to a walk over every row in name order (the straightforward way), measured in
// the same run on the same file.

#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace dpx;

namespace {

constexpr int kContacts = 5000;
constexpr int kRounds = 15;

double medianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool walkFind(AddressDatabase &db, const QString &number)
{
    ContactCursor cursor(db);
    cursor.QueryContacts();
    for (; !cursor.IsEOF(); cursor.MoveNext()) {
        for (ContactColumn column : kCallerNumberColumns) {
            if (cursor.GetText(column).compare(number, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Address.db"));
    QString error;
    if (!createAddressDatabase(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    AddressDatabase db(path, QStringLiteral("bench"));
    if (!db.Open())
        return 1;

    QElapsedTimer timer;
    timer.start();
    db.Execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < kContacts; ++i) {
        ContactRecord contact;
        contact.setText(ContactColumn::Name, QStringLiteral("Contact %1").arg(i, 5, 10, QLatin1Char('0')));
        contact.setText(ContactColumn::MobileTelephoneNumber, QStringLiteral("09%1").arg(i, 8, 10, QLatin1Char('0')));
        contact.setText(ContactColumn::HomeTelephoneNumber, QStringLiteral("02%1").arg(i, 8, 10, QLatin1Char('0')));
        contact.setText(ContactColumn::Remark, QStringLiteral("note %1").arg(i));
        db.insertContact(contact);
    }
    db.Execute(QStringLiteral("COMMIT"));
    std::printf("insert %d contacts in one transaction: %.1f ms\n", kContacts, double(timer.nsecsElapsed()) / 1e6);

    const QString last = QStringLiteral("02%1").arg(kContacts - 1, 8, 10, QLatin1Char('0'));
    const QString missing = QStringLiteral("0800000000");
    for (const QString &number : {last, missing}) {
        const double indexed = medianMs([&] { db.findContactByNumber(number); });
        const double walk = medianMs([&] { walkFind(db, number); });
        std::printf("caller lookup (%s, %d contacts): findContactByNumber %.3f ms, row walk %.3f ms (reference)\n",
                    number == last ? "last in name order" : "no match", kContacts, indexed, walk);
    }

    const double fill = medianMs([&] {
        ContactCursor cursor(db);
        cursor.QueryContacts();
        for (; !cursor.IsEOF(); cursor.MoveNext())
            (void)cursor.record();
    });
    std::printf("phone book read of %d full records through ContactCursor: %.2f ms\n", kContacts, fill);

    ContactRecord old;
    old.setText(ContactColumn::Name, QStringLiteral("Contact 02500"));
    old.setText(ContactColumn::MobileTelephoneNumber, QStringLiteral("0900002500"));
    old.setText(ContactColumn::HomeTelephoneNumber, QStringLiteral("0200002500"));
    const double replace = medianMs([&] { db.replaceContact(old, old); });
    std::printf("replace one contact (delete + insert, one transaction): %.3f ms\n", replace);
    return 0;
}
