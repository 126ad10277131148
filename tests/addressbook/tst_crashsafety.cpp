// SPDX-License-Identifier: GPL-3.0-or-later
// A writer killed at random moments never leaves a damaged file, half a contact, or a number
// index out of step with the contacts.
#include "AddressTestSupport.h"

#include "addressbook/ContactColumns.h"

#include <QRandomGenerator>

#include <cstdio>
#include <set>
#include <tuple>

using namespace dpx;
using namespace dpx::test;

namespace {

// With DPX_CRASH_WRITER set to a database path: inserts, replaces and deletes contacts in a
// loop until killed. Every contact's texts carry one tag, so a half-written one shows.
int runWriter(const QString &path)
{
    AddressDatabase db(path, u"writer"_s);
    if (!db.Open())
        return 2;
    bool announced = false;
    for (int i = 0;; ++i) {
        const QString tag = u"w%1"_s.arg(i);
        bool ok = db.insertContact(filledContact(tag));
        if (i >= 2 && i % 3 == 0)
            ok = ok && db.replaceContact(filledContact(u"w%1"_s.arg(i - 1)), filledContact(tag + u'r'));
        if (i >= 4 && i % 4 == 0)
            ok = ok && db.deleteContact(filledContact(u"w%1"_s.arg(i - 4))) >= 0;
        if (!ok)
            return 3;
        if (!announced) {
            std::puts("writing");
            std::fflush(stdout);
            announced = true;
        }
    }
}

using IndexRow = std::tuple<qlonglong, int, QString>; // contact, slot, number

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLeavesAWholeDatabase()
    {
        FreshDatabase fresh;
        QVERIFY(fresh.created);
        for (int round = 0; round < 20; ++round) {
            QProcess writer;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"DPX_CRASH_WRITER"_s, fresh.path);
            writer.setProcessEnvironment(env);
            writer.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(writer.waitForReadyRead(20000));
            QTest::qWait(int(QRandomGenerator::global()->bounded(5, 150)));
            QCOMPARE(writer.state(), QProcess::Running); // it was still writing
            writer.kill(); // SIGKILL
            QVERIFY(writer.waitForFinished(10000));
            verifyWhole(fresh.path, round);
            if (QTest::currentTestFailed())
                return;
        }
    }

private:
    void verifyWhole(const QString &path, int round)
    {
        QCOMPARE(rawQuery(path, u"PRAGMA integrity_check"_s).value(0).value(0).toString(), u"ok"_s);

        std::set<IndexRow> expected;
        const Rows contacts = rawQuery(path, u"SELECT rowid, * FROM address_book"_s);
        QVERIFY2(!contacts.isEmpty() || round == 0, "the writer wrote nothing");
        for (const QVariantList &row : contacts) {
            // Every text of a contact carries the same tag: "<column>-<tag>".
            const QString name = row.value(1).toString();
            const QString tag = name.section(u'-', 1);
            for (int column = 0; column < kContactTextColumnCount; ++column) {
                const QString want = QString(kContactColumns[size_t(column)]) + u'-' + tag;
                QVERIFY2(row.value(column + 1).toString() == want,
                         qPrintable(u"round %1: half a contact: %2"_s.arg(round).arg(name)));
            }
            for (int slot = 0; slot < int(kCallerNumberColumns.size()); ++slot) {
                const QString number = row.value(int(kCallerNumberColumns[size_t(slot)]) + 1).toString();
                if (!number.isEmpty())
                    expected.insert({row.value(0).toLongLong(), slot, number});
            }
        }
        std::set<IndexRow> indexed;
        for (const QVariantList &row : rawQuery(path, u"SELECT contact, slot, number FROM contact_number"_s))
            indexed.insert({row.value(0).toLongLong(), row.value(1).toInt(), row.value(2).toString()});
        QVERIFY2(indexed == expected, qPrintable(u"round %1: the number index has %2 rows for %3"_s
                                                     .arg(round).arg(indexed.size()).arg(expected.size())));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString writerPath = qEnvironmentVariable("DPX_CRASH_WRITER");
    if (!writerPath.isEmpty())
        return runWriter(writerPath);
    CrashSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
