// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhoneTestHelpers.h"

#include <QTest>

using namespace dpx;

class SoftKeyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("right");
        //                          0123456789012345
        QTest::newRow("three groups") << "ABC   DEF   GHI "
                                      << "ABC"
                                      << "DEF"
                                      << "GHI";
        QTest::newRow("blank start") << "   X  DEF   GHI "
                                     << ""
                                     << "X"
                                     << "DEF";
        QTest::newRow("left only") << "MENU            "
                                   << "MENU"
                                   << ""
                                   << "";
        QTest::newRow("left and right") << "ABC         GHI "
                                        << "ABC"
                                        << ""
                                        << "GHI";
        QTest::newRow("middle and right") << "      DEF   GHI "
                                          << ""
                                          << "DEF"
                                          << "GHI";
        QTest::newRow("right only") << "            GHI "
                                    << ""
                                    << ""
                                    << "GHI";
        QTest::newRow("empty") << "                "
                               << ""
                               << ""
                               << "";
        // One word over the whole line: nothing follows it, so every search falls back to the
        // whole line.
        QTest::newRow("one long word") << "ABCDEFGHIJKLMNOP"
                                       << "ABCDEFGHIJKLMNOP"
                                       << "ABCDEFGHIJKLMNOP"
                                       << "ABCDEFGHIJKLMNOP";
        // The middle word runs to the end: the right word comes from what followed the left.
        QTest::newRow("middle to end") << "AB     CDEFGHIJK"
                                       << "AB"
                                       << "CDEFGHIJK"
                                       << "CDEFGHIJK";
        // Only blanks follow the middle word, so the right search finds nothing there.
        QTest::newRow("blank rest") << "ABCDEFGHI   XY  "
                                    << "ABCDEFGHI"
                                    << "XY"
                                    << "";
        QTest::newRow("arrows") << "<   BACK    NXT>"
                                << "<"
                                << "BACK"
                                << "NXT>";
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QString, left);
        QFETCH(QString, middle);
        QFETCH(QString, right);
        const SoftKeyWords words = splitSoftKeyWords(line);
        QCOMPARE(words.left, left);
        QCOMPARE(words.middle, middle);
        QCOMPARE(words.right, right);
    }

    void wordsComeFromTheDisplayedLine()
    {
        DisplayModel model;
        test::writeLine(model, 1,
                        QByteArray("\x7F"
                                   "AB   \x01\x02"
                                   "CD  XY\x7E"));
        const SoftKeyWords words = model.softKeyWords();
        QCOMPARE(words.toList(),
                 QStringList({QStringLiteral("<AB"), QStringLiteral("CD"), QStringLiteral("XY>")}));
        // Nothing carries over from one split to the next.
        test::writeLine(model, 1, "      MID       ");
        QCOMPARE(model.softKeyWords(), (SoftKeyWords{QString(), QStringLiteral("MID"), QString()}));
    }
};

int runSoftKeyTests(int argc, char **argv)
{
    SoftKeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_softkeys.moc"
