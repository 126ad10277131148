// SPDX-License-Identifier: GPL-3.0-or-later
// Report lists: the column description, the sort order of cells (a total order whatever the
// cells hold), the heading-click rule, and the list's rows, selection and double-clicks.
#include "ui/ReportListCtrl.h"
#include "ui/ReportSortKey.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {

using Align = ReportColumn::Align;

QList<ReportListModel::Row> rowsOf(const QList<QStringList> &cells)
{
    QList<ReportListModel::Row> rows;
    for (int i = 0; i < cells.size(); ++i)
        rows << ReportListModel::Row{cells.at(i), i};
    return rows;
}

QStringList column(const ReportListModel &model, int column)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.cell(r, column);
    return texts;
}

} // namespace

class TestReportList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnSpec_data();
    void columnSpec();
    void cellOrder_data();
    void cellOrder();
    void orderIsTotalOnRandomCells();
    void headingClicks();
    void sortIsStableAndMovesRowData();
    void refillRestoresGivenOrder();
    void doubleClicksAndSelection();
    void filterHidesRowsButKeepsTheirNumbers();
};

void TestReportList::columnSpec_data()
{
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QList<ReportColumn>>("expected");
    QTest::newRow("phone book") << QStringLiteral("姓名, 85, 1;暱稱, 85, 1;職務, 85, 1;公司, 110, 1;部門, 110, 1;"
                                                  "商務電話 , 110,1;商務傳真, 110, 1;住家電話 , 110,1;行動電話, 110,1;")
                                << QList<ReportColumn>{
                                       {QStringLiteral("姓名"), 85, Align::Centre},
                                       {QStringLiteral("暱稱"), 85, Align::Centre},
                                       {QStringLiteral("職務"), 85, Align::Centre},
                                       {QStringLiteral("公司"), 110, Align::Centre},
                                       {QStringLiteral("部門"), 110, Align::Centre},
                                       {QStringLiteral("商務電話 "), 110, Align::Centre},
                                       {QStringLiteral("商務傳真"), 110, Align::Centre},
                                       {QStringLiteral("住家電話 "), 110, Align::Centre},
                                       {QStringLiteral("行動電話"), 110, Align::Centre}};
    QTest::newRow("missing fields") << QStringLiteral("A;B, 40") << QList<ReportColumn>{
        {QStringLiteral("A"), 100, Align::Left}, {QStringLiteral("B"), 40, Align::Left}};
    QTest::newRow("alignments") << QStringLiteral("L,10,0;C,10,1;R,10,2;X,10,7;Y,10,x")
                                << QList<ReportColumn>{{QStringLiteral("L"), 10, Align::Left},
                                                       {QStringLiteral("C"), 10, Align::Centre},
                                                       {QStringLiteral("R"), 10, Align::Right},
                                                       {QStringLiteral("X"), 10, Align::Left},
                                                       {QStringLiteral("Y"), 10, Align::Left}};
    QTest::newRow("empty pieces dropped, nothing trimmed")
        << QStringLiteral(";; Name ,,  70x;") << QList<ReportColumn>{{QStringLiteral(" Name "), 70, Align::Left}};
    QTest::newRow("not a number") << QStringLiteral("A,wide") << QList<ReportColumn>{{QStringLiteral("A"), 0, Align::Left}};
    QTest::newRow("empty") << QString() << QList<ReportColumn>{};
}

void TestReportList::columnSpec()
{
    QFETCH(QString, spec);
    QFETCH(QList<ReportColumn>, expected);
    QCOMPARE(parseColumnSpec(spec), expected);
}

void TestReportList::cellOrder_data()
{
    // Each row: two cells, the first sorting strictly before the second.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("09 numbers beyond 32 bits") << QStringLiteral("0912345678") << QStringLiteral("0987654321");
    QTest::newRow("leading zeros: value first") << QStringLiteral("007") << QStringLiteral("8");
    QTest::newRow("leading zeros: equal value, then text") << QStringLiteral("007") << QStringLiteral("07");
    QTest::newRow("20 digits exact") << QStringLiteral("12345678901234567890") << QStringLiteral("12345678901234567891");
    QTest::newRow("length beats digits") << QStringLiteral("99") << QStringLiteral("100");
    QTest::newRow("percent") << QStringLiteral("9%") << QStringLiteral("12%");
    QTest::newRow("fractions") << QStringLiteral("1.5") << QStringLiteral("1.75");
    QTest::newRow("negative") << QStringLiteral("-10") << QStringLiteral("-2");
    QTest::newRow("negative before zero") << QStringLiteral("-0.5") << QStringLiteral("0");
    QTest::newRow("number before text") << QStringLiteral("10") << QStringLiteral("1x");
    QTest::newRow("2 before 10") << QStringLiteral("2") << QStringLiteral("10");
    QTest::newRow("hyphens are text, after numbers") << QStringLiteral("0223456789") << QStringLiteral("02-2345-6789");
    QTest::newRow("hex words are text") << QStringLiteral("Ace") << QStringLiteral("Dad");
    QTest::newRow("Dad before Ed") << QStringLiteral("Dad") << QStringLiteral("Ed");
    QTest::newRow("empty first") << QString() << QStringLiteral("0");
    QTest::newRow("empty before text") << QString() << QStringLiteral("A");
    QTest::newRow("ISO dates") << QStringLiteral("1999-12-31") << QStringLiteral("2000-01-02");
    QTest::newRow("dates after numbers") << QStringLiteral("30000000") << QStringLiteral("1980-05-01");
    QTest::newRow("dates before texts") << QStringLiteral("2024-02-29") << QStringLiteral("Apple");
    QTest::newRow("invalid date is text") << QStringLiteral("2023-02-30") << QStringLiteral("Zed");
    QTest::newRow("equal collation, code point tie") << QStringLiteral("abc") << QStringLiteral("abc ");
}

void TestReportList::cellOrder()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    const ReportSortContext context(QLocale(QLocale::English, QLocale::UnitedStates));
    const ReportSortKey a(before, context), b(after, context);
    QVERIFY2(a.compare(b) < 0, qPrintable(before + QLatin1String(" < ") + after));
    QVERIFY(b.compare(a) > 0);
    QCOMPARE(a.compare(a), 0);
}

void TestReportList::orderIsTotalOnRandomCells()
{
    const QStringList pieces = {QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("1"),
                                QStringLiteral("-"), QStringLiteral("."), QStringLiteral("%"),
                                QStringLiteral("a"), QStringLiteral("F"), QStringLiteral("張"),
                                QStringLiteral("/"), QStringLiteral(" ")};
    auto *random = QRandomGenerator::global();
    auto randomCell = [&] {
        QString cell;
        const int length = random->bounded(0, 11);
        for (int i = 0; i < length; ++i)
            cell += pieces.at(random->bounded(int(pieces.size())));
        return cell;
    };
    const ReportSortContext context;
    for (int round = 0; round < 20000; ++round) {
        const QString ta = randomCell(), tb = randomCell(), tc = randomCell();
        const ReportSortKey a(ta, context), b(tb, context), c(tc, context);
        const int ab = a.compare(b), bc = b.compare(c), ac = a.compare(c);
        QCOMPARE(ab == 0, ta == tb); // equal only when the same text
        QCOMPARE(ab, -b.compare(a));
        if (ab <= 0 && bc <= 0)
            QVERIFY2(ac <= 0, qPrintable(QStringLiteral("[%1] [%2] [%3]").arg(ta, tb, tc)));
    }
}

void TestReportList::headingClicks()
{
    ReportListModel model;
    model.setColumns(parseColumnSpec(u"A;B"));
    model.setRows(rowsOf({{QStringLiteral("2"), QStringLiteral("y")},
                          {QStringLiteral("10"), QStringLiteral("z")},
                          {QStringLiteral("1"), QStringLiteral("x")}}));
    const QStringList up = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("10")};
    const QStringList down = {QStringLiteral("10"), QStringLiteral("2"), QStringLiteral("1")};
    model.clickHeading(0);
    QCOMPARE(column(model, 0), up);
    model.clickHeading(0);
    QCOMPARE(column(model, 0), down);
    model.clickHeading(0);
    QCOMPARE(column(model, 0), up);
    model.clickHeading(0);
    model.clickHeading(1); // another column starts ascending
    QCOMPARE(column(model, 1), (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));
    QVERIFY(model.sortState().ascending);
    model.clickHeading(5); // no such column: nothing changes
    QCOMPARE(model.sortState().column, 1);
}

void TestReportList::sortIsStableAndMovesRowData()
{
    ReportListModel model;
    model.setColumns(parseColumnSpec(u"Key;Tag"));
    model.setRows(rowsOf({{QStringLiteral("b"), QStringLiteral("0")},
                          {QStringLiteral("a"), QStringLiteral("1")},
                          {QStringLiteral("b"), QStringLiteral("2")},
                          {QStringLiteral("a"), QStringLiteral("3")}}));
    model.sortRows(0, true);
    QCOMPARE(column(model, 1), (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("2")}));
    for (int r = 0; r < model.rowCount(); ++r)
        QCOMPARE(model.rowData(r).toInt(), model.cell(r, 1).toInt());
    model.sortRows(0, false);
    QCOMPARE(column(model, 1), (QStringList{QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("3")}));
}

void TestReportList::refillRestoresGivenOrder()
{
    ReportListCtrl list;
    list.setColumnSpec(QStringLiteral("A,50,1"));
    const QList<QStringList> cells = {{QStringLiteral("b")}, {QStringLiteral("a")}};
    list.setRows(rowsOf(cells));
    list.clickHeading(0);
    QCOMPARE(list.listModel()->cell(0, 0), QStringLiteral("a"));
    list.setRows(rowsOf(cells));
    QCOMPARE(list.listModel()->cell(0, 0), QStringLiteral("b"));
    QCOMPARE(list.listModel()->sortState().column, -1);
    list.clickHeading(0); // a click after a refill starts ascending again
    QCOMPARE(list.listModel()->cell(0, 0), QStringLiteral("a"));
}

void TestReportList::doubleClicksAndSelection()
{
    ReportListCtrl list;
    list.resize(300, 300);
    list.setColumnSpec(QStringLiteral("A,100,1;B,100,1"));
    list.setRows(rowsOf({{QStringLiteral("r0")}, {QStringLiteral("r1")}, {QStringLiteral("r2")}}));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy onRow(&list, &ReportListCtrl::rowDoubleClicked);
    QSignalSpy onEmpty(&list, &ReportListCtrl::emptyDoubleClicked);
    const QPoint second = list.visualRect(list.model()->index(1, 0)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(onRow.size(), 1);
    QCOMPARE(onRow.at(0).at(0).toInt(), 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 280));
    QCOMPARE(onEmpty.size(), 1);
    QCOMPARE(onRow.size(), 1);
    QCOMPARE(list.rowAtPoint(QPoint(20, 280)), -1);

    list.selectRow(2);
    list.selectionModel()->select(list.model()->index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(list.selectedRows(), (QList<int>{0, 2}));
    QSignalSpy activated(&list, &ReportListCtrl::rowActivated);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(activated.size(), 1);
}

void TestReportList::filterHidesRowsButKeepsTheirNumbers()
{
    ReportListCtrl list;
    list.setColumnSpec(QStringLiteral("A"));
    list.setRows(rowsOf({{QStringLiteral("keep")}, {QStringLiteral("drop")}, {QStringLiteral("keep")}}));
    list.setRowFilter([&list](int row) { return list.listModel()->cell(row, 0) == QLatin1String("keep"); });
    QCOMPARE(list.shownRowCount(), 2);
    QVERIFY(!list.isRowShown(1));
    list.selectRow(2);
    QCOMPARE(list.selectedRows(), QList<int>{2});
    list.setRowFilter(nullptr);
    QCOMPARE(list.shownRowCount(), 3);
}

QTEST_MAIN(TestReportList)
#include "test_reportlist.moc"
