// SPDX-License-Identifier: GPL-3.0-or-later
// The caller lookup on 100 000 contacts with numbers written in many ways: exact, digits and
// suffix lookups through the number index, next to the straightforward lookup (every row in
// name order, the nine number columns compared as text) measured in the same run. Then the
// one-time index build when an old file is opened, and the main window's phone-book tree read
// of 10 000 contacts next to a full read of the same rows through ContactCursor.

#include "addressbook/AddressDatabase.h"
#include "addressbook/AddressSchema.h"
#include "addressbook/ContactCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace dpx;
using namespace Qt::StringLiterals;

namespace {

constexpr int kContacts = 100000;
constexpr int kLookups = 1000;
constexpr int kReferenceLookups = 11;
constexpr int kTreeContacts = 10000;

struct Figures {
    double median = 0;
    double p99 = 0;
};

Figures measure(int rounds, const std::function<void(int)> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 99 / 100)]};
}

QString digitsText(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + int(random.bounded(10)));
    return text;
}

// A Taiwanese number (area code without its 0, then the local number) in one of the ways
// people write them.
QString written(QRandomGenerator &random, const QString &area, const QString &local)
{
    const QString head = local.left(local.size() / 2);
    const QString tail = local.mid(local.size() / 2);
    switch (random.bounded(6)) {
    case 0: return u'0' + area + local;
    case 1: return u'0' + area + u'-' + head + u'-' + tail;
    case 2: return u"(0"_s + area + u") "_s + head + u' ' + tail;
    case 3: return u"+886 "_s + area + u' ' + head + u' ' + tail;
    case 4: return u'0' + area + u'.' + head + u'.' + tail;
    default: return u"+886-"_s + area + u'-' + local;
    }
}

ContactRecord makeContact(QRandomGenerator &random, int serial)
{
    static const QStringList areas{u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s};
    ContactRecord contact;
    // Names in another order than the rows, as after years of editing.
    contact.setText(ContactColumn::Name, u"%1 %2"_s.arg(digitsText(random, 4)).arg(serial));
    contact.setText(ContactColumn::NickName, u"nick %1"_s.arg(serial));
    contact.setText(ContactColumn::Company, u"Company %1"_s.arg(serial % 997));
    const QString area = areas.at(random.bounded(areas.size()));
    contact.setText(ContactColumn::BusinessTelephoneNumber, written(random, area, digitsText(random, 8)));
    contact.setText(ContactColumn::MobileTelephoneNumber, written(random, u"9"_s + digitsText(random, 2), digitsText(random, 6)));
    if (random.bounded(2))
        contact.setText(ContactColumn::HomeTelephoneNumber, written(random, area, digitsText(random, 7)));
    if (random.bounded(4) == 0)
        contact.setText(ContactColumn::BusinessFaxNumber, written(random, area, digitsText(random, 8)));
    if (random.bounded(3) == 0)
        contact.setText(ContactColumn::BusinessExtension, digitsText(random, 3));
    contact.setText(ContactColumn::Remark, u"note %1"_s.arg(serial));
    return contact;
}

// The straightforward lookup: every row in name order, the nine columns compared as text.
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

bool fill(AddressDatabase &db, int count, QRandomGenerator &random, std::vector<ContactRecord> *kept)
{
    if (!db.Execute(u"BEGIN"_s))
        return false;
    for (int i = 0; i < count; ++i) {
        const ContactRecord contact = makeContact(random, i);
        if (!db.insertContact(contact))
            return false;
        if (kept)
            kept->push_back(contact);
    }
    return db.Execute(u"COMMIT"_s);
}

// The digits a caller's number shows for a stored number: the trunk form "0..." for a number
// stored with +886, and "886..." for one stored in the local form.
QString otherForm(const QString &stored)
{
    const QString digits = numberDigits(stored);
    return digits.startsWith(u"886"_s) ? u'0' + digits.mid(3) : u"886"_s + digits.mid(1);
}

bool dropNumberIndex(const QString &path)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"bench-downgrade"_s);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const char *statement : {"DROP TRIGGER contact_number_after_insert", "DROP TRIGGER contact_number_after_delete",
                                      "DROP TRIGGER contact_number_after_update", "DROP TABLE contact_number",
                                      "DROP TABLE contact_number_position", "PRAGMA user_version = 1"})
            ok = ok && query.exec(QString::fromLatin1(statement));
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"bench-downgrade"_s);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Address.db"_s);
    QString error;
    if (!createAddressDatabase(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    AddressDatabase db(path, u"bench"_s);
    if (!db.Open() || !db.hasNumberIndex())
        return 1;

    QRandomGenerator random(4711);
    std::vector<ContactRecord> contacts;
    contacts.reserve(kContacts);
    QElapsedTimer timer;
    timer.start();
    if (!fill(db, kContacts, random, &contacts)) {
        std::fprintf(stderr, "fill failed: %s\n", qPrintable(db.lastError()));
        return 1;
    }
    std::printf("insert %d contacts (one transaction, index kept by triggers): %.0f ms\n", kContacts,
                double(timer.nsecsElapsed()) / 1e6);

    // Callers: the stored text itself (exact), its digits (digits), the other national form
    // (suffix), and numbers nobody has.
    std::vector<QString> exact, digits, suffix, missing;
    for (int i = 0; i < kLookups; ++i) {
        const ContactRecord &contact = contacts[random.bounded(int(contacts.size()))];
        exact.push_back(contact.text(ContactColumn::BusinessTelephoneNumber));
        QString separated = contact.text(ContactColumn::MobileTelephoneNumber);
        while (separated == numberDigits(separated)) // a number written with separators
            separated = contacts[random.bounded(int(contacts.size()))].text(ContactColumn::MobileTelephoneNumber);
        digits.push_back(numberDigits(separated));
        suffix.push_back(otherForm(contact.text(ContactColumn::BusinessTelephoneNumber)));
        missing.push_back(u"01"_s + digitsText(random, 8));
    }

    const struct {
        const char *label;
        const std::vector<QString> *numbers;
    } kinds[] = {{"exact", &exact}, {"digits", &digits}, {"suffix", &suffix}, {"unknown", &missing}};
    std::printf("\ncaller lookup, %d contacts, median (p99) over %d lookups each:\n", kContacts, kLookups);
    for (const auto &kind : kinds) {
        int found[4] = {};
        const Figures figures = measure(kLookups, [&](int i) {
            const std::optional<CallerMatch> match = db.lookUpCaller(kind.numbers->at(size_t(i)));
            ++found[match ? int(match->kind) + 1 : 0];
        });
        std::printf("  %-8s lookUpCaller %.3f ms (%.3f)   found exact/digits/suffix/none: %d/%d/%d/%d\n",
                    kind.label, figures.median, figures.p99, found[1], found[2], found[3], found[0]);
    }

    // A false match: an unknown number found although no stored number ends with its national
    // number (its digits without leading zeros).
    QHash<int, QSet<QString>> endings; // by length: the endings of every stored number
    auto nationalOf = [](const QString &number) {
        QString national = numberDigits(number);
        while (national.startsWith(u'0'))
            national.remove(0, 1);
        return national;
    };
    int candidates = 0, falseMatches = 0;
    for (const QString &number : missing) {
        const QString national = nationalOf(number);
        QSet<QString> &known = endings[int(national.size())];
        if (known.isEmpty()) {
            for (const ContactRecord &contact : contacts)
                for (ContactColumn column : kCallerNumberColumns)
                    known.insert(numberDigits(contact.text(column)).right(national.size()));
        }
        if (known.contains(national))
            continue;
        ++candidates;
        if (db.lookUpCaller(number))
            ++falseMatches;
    }
    std::printf("  false matches: %d of %d unknown numbers that no stored number ends with (goal 0)\n",
                falseMatches, candidates);

    std::printf("\nreference: every row in name order, nine columns compared as text, median over %d lookups:\n",
                kReferenceLookups);
    const Figures walkHit = measure(kReferenceLookups, [&](int i) { walkFind(db, exact[size_t(i)]); });
    const Figures walkMiss = measure(kReferenceLookups, [&](int i) { walkFind(db, missing[size_t(i)]); });
    std::printf("  exact text, found   %.1f ms\n  no match (all rows) %.1f ms\n", walkHit.median, walkMiss.median);

    // An address book from before the index: the first open builds it once.
    db.Close();
    const QString old = dir.filePath(u"Old.db"_s);
    if (!QFile::copy(path, old) || !dropNumberIndex(old))
        return 1;
    AddressDatabase upgraded(old, u"upgrade"_s);
    timer.restart();
    const bool opened = upgraded.Open();
    std::printf("\nfirst open of a %d-contact file without the index (builds it): %.0f ms, indexed: %s\n",
                kContacts, double(timer.nsecsElapsed()) / 1e6, opened && upgraded.hasNumberIndex() ? "yes" : "no");
    upgraded.Close();

    // The main window's phone-book tree.
    const QString treePath = dir.filePath(u"Tree.db"_s);
    if (!createAddressDatabase(treePath, &error))
        return 1;
    AddressDatabase tree(treePath, u"tree"_s);
    if (!tree.Open() || !fill(tree, kTreeContacts, random, nullptr))
        return 1;
    qsizetype rows = 0;
    const Figures treeRead = measure(15, [&](int) { rows = tree.readPhoneBookTree().value_or(QList<PhoneBookTreeEntry>()).size(); });
    const Figures fullRead = measure(15, [&](int) {
        ContactCursor cursor(tree);
        cursor.QueryContacts();
        for (; !cursor.IsEOF(); cursor.MoveNext())
            (void)cursor.record();
    });
    std::printf("\nphone-book tree of %d contacts (%lld rows): readPhoneBookTree %.2f ms, "
                "reference full rows through ContactCursor %.2f ms (median of 15)\n",
                kTreeContacts, static_cast<long long>(rows), treeRead.median, fullRead.median);
    return 0;
}
