// SPDX-License-Identifier: GPL-3.0-or-later
// The folder bar: its layout arithmetic, and the widget driven by mouse, menu and calls.
#include "ui/FolderBar.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

Q_DECLARE_METATYPE(dpx::FolderBarHit)

namespace {

const QSize BarSize(137, 295);

// Three folders of 137 x 295 pixels, the middle one selected, with 40-pixel labels.
FolderBarGeometry layout(int selected, int items, int first = 0, bool small = false)
{
    FolderBarState state;
    state.size = BarSize;
    state.folderCount = 3;
    state.selected = selected;
    state.itemCount = items;
    state.firstVisible = first;
    state.smallIcons = small;
    state.labelWidths = QList<int>(items, 40);
    return FolderBarGeometry(state);
}

// The main window's bar: tools with two items, the phone book as a child widget, settings.
struct Bar {
    QWidget tree;
    CGfxOutBarCtrl bar;
    QSignalSpy notified{&bar, &CGfxOutBarCtrl::panelNotify};
    Bar()
    {
        bar.resize(BarSize);
        bar.AppendFolder(QStringLiteral("工具"));
        bar.InsertFolderItem(0, 0, QStringLiteral("音檔轉換"), 0);
        bar.InsertFolderItem(0, 1, QStringLiteral("音檔傳輸"), 1);
        bar.AppendChildFolder(QStringLiteral("電話簿"), &tree);
        bar.AppendFolder(QStringLiteral("設置"));
        bar.InsertFolderItem(2, 0, QStringLiteral("話機配置"), 5);
        bar.SelectFolder(0);
        bar.show();
        notified.clear();
    }
    ~Bar() { tree.setParent(nullptr); } // the tree is a member, not the bar's to delete
    QPoint iconOf(int item) const { return bar.layoutGeometry().iconRect(item).center(); }
    QPoint headerOf(int folder) const { return bar.layoutGeometry().headerRect(folder).center(); }
    void click(QPoint pos) { QTest::mouseClick(&bar, Qt::LeftButton, {}, pos); }
};

} // namespace

class TestFolderBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headersFollowSelection_data();
    void headersFollowSelection();
    void hitTest_data();
    void hitTest();
    void scrollArrows_data();
    void scrollArrows();
    void insertPosition_data();
    void insertPosition();
    void clickReportsAfterFlash();
    void folderChangeShowsChildOnlyInItsFolder();
    void rename_data();
    void rename();
    void scrollingItems();
};

void TestFolderBar::headersFollowSelection_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("tops");
    // 295 high, three 22-pixel headers: the content between them is always 229 high.
    QTest::newRow("first") << 0 << QList<int>{0, 251, 273};
    QTest::newRow("middle") << 1 << QList<int>{0, 22, 273};
    QTest::newRow("last") << 2 << QList<int>{0, 22, 44};
}

void TestFolderBar::headersFollowSelection()
{
    QFETCH(int, selected);
    QFETCH(QList<int>, tops);
    const FolderBarGeometry g = layout(selected, 0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(g.headerRect(i), QRect(0, tops.at(i), 137, 22));
    QCOMPARE(g.contentRect(), QRect(0, tops.at(selected) + 22, 137, 229));
}

void TestFolderBar::hitTest_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("first");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<FolderBarHit>("hit");
    using K = FolderBarHitKind;
    using Hit = FolderBarHit;
    // Large: item 0's icon at (52,30) 32 x 32, its label (46,65) 44 x 16, item 1 61 lower.
    QTest::newRow("top header") << false << 0 << QPoint(68, 5) << Hit{K::Header, 0};
    QTest::newRow("bottom header") << false << 0 << QPoint(68, 290) << Hit{K::Header, 2};
    QTest::newRow("icon") << false << 0 << QPoint(68, 46) << Hit{K::ItemIcon, 0};
    QTest::newRow("label") << false << 0 << QPoint(68, 73) << Hit{K::ItemLabel, 0};
    QTest::newRow("beside label") << false << 0 << QPoint(30, 73) << Hit{};
    QTest::newRow("second icon") << false << 0 << QPoint(68, 100) << Hit{K::ItemIcon, 1};
    QTest::newRow("scrolled icon") << false << 2 << QPoint(68, 46) << Hit{K::ItemIcon, 2};
    QTest::newRow("below last item") << false << 2 << QPoint(68, 240) << Hit{};
    // Small: rows 24 apart from y 30, icon at x 5, label from x 26.
    QTest::newRow("small label") << true << 0 << QPoint(40, 40) << Hit{K::ItemLabel, 0};
    QTest::newRow("small past label") << true << 0 << QPoint(100, 40) << Hit{};
    QTest::newRow("small second row") << true << 0 << QPoint(10, 64) << Hit{K::ItemIcon, 1};
}

void TestFolderBar::hitTest()
{
    QFETCH(bool, small);
    QFETCH(int, first);
    QFETCH(QPoint, point);
    QFETCH(FolderBarHit, hit);
    const FolderBarHit found = layout(0, 4, first, small).hitTest(point);
    QVERIFY2(found == hit,
             qPrintable(QStringLiteral("%1 %2").arg(int(found.kind)).arg(found.index)));
}

void TestFolderBar::scrollArrows_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    // 229 pixels of content hold three large items or nine small ones.
    QTest::newRow("large fit") << false << 3 << 0 << false << false;
    QTest::newRow("large overflow") << false << 5 << 0 << false << true;
    QTest::newRow("large middle") << false << 5 << 1 << true << true;
    QTest::newRow("large end") << false << 5 << 2 << true << false;
    QTest::newRow("small overflow") << true << 10 << 0 << false << true;
}

void TestFolderBar::scrollArrows()
{
    QFETCH(bool, small);
    QFETCH(int, items);
    QFETCH(int, first);
    QFETCH(bool, up);
    QFETCH(bool, down);
    const FolderBarGeometry g = layout(1, items, first, small);
    QCOMPARE(g.upArrowShown(), up);
    QCOMPARE(g.downArrowShown(), down);
    QCOMPARE(g.maxFirstVisible(), small ? items - 9 : qMax(0, items - 3));
    // Shown arrows are hit where they are drawn.
    QCOMPARE(g.hitTest(g.upArrowRect().center()).kind == FolderBarHitKind::UpArrow, up);
    QCOMPARE(g.hitTest(g.downArrowRect().center()).kind == FolderBarHitKind::DownArrow, down);
}

void TestFolderBar::insertPosition_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("used");
    QTest::newRow("beyond end of empty") << 0 << 1 << 0;
    QTest::newRow("far beyond end") << 2 << 7 << 2;
    QTest::newRow("negative") << 2 << -1 << 2;
    QTest::newRow("middle") << 2 << 1 << 1;
}

void TestFolderBar::insertPosition()
{
    QFETCH(int, existing);
    QFETCH(int, position);
    QFETCH(int, used);
    CGfxOutBarCtrl bar;
    bar.AppendFolder(QStringLiteral("f"));
    for (int i = 0; i < existing; ++i)
        bar.InsertFolderItem(0, i, QString::number(i), i);
    QCOMPARE(bar.InsertFolderItem(0, position, QStringLiteral("new"), 9), used);
    QCOMPARE(bar.itemCount(0), existing + 1);
    QCOMPARE(bar.FolderItemText(used), QStringLiteral("new"));
}

void TestFolderBar::clickReportsAfterFlash()
{
    Bar b;
    b.bar.SetBlinkPeriod(40);
    b.click(b.bar.layoutGeometry().labelRect(1).center());
    QCOMPARE(b.notified.count(), 0); // still flashing
    QTRY_COMPARE(b.notified.count(), 1);
    QCOMPARE(b.notified.at(0), (QList<QVariant>{CGfxOutBarCtrl::ItemClicked, 1}));
    QTest::qWait(40 * CGfxOutBarCtrl::BlinkCycle + 100); // the flash repeats, the report does not
    QCOMPARE(b.notified.count(), 1);

    // A folder change while the flash runs reports the click first, in its own folder.
    b.bar.SetBlinkPeriod(10000);
    QList<int> folderWhenHeard;
    connect(&b.bar, &CGfxOutBarCtrl::panelNotify, &b.bar,
            [&] { folderWhenHeard << b.bar.CurrentFolder(); });
    b.click(b.iconOf(0));
    b.bar.SelectFolder(2);
    QCOMPARE(b.notified.at(1), (QList<QVariant>{CGfxOutBarCtrl::ItemClicked, 0}));
    QCOMPARE(b.notified.at(2), (QList<QVariant>{CGfxOutBarCtrl::FolderChanged, 2}));
    QCOMPARE(folderWhenHeard, (QList<int>{0, 2}));

    // A click whose item is removed before its flash ends is dropped; a click off the items
    // is none.
    b.click(b.iconOf(0));
    b.bar.DeleteFolderItem(0);
    b.bar.SetBlinkPeriod(0); // would report a click still waiting
    b.click(QPoint(5, 150));
    QCOMPARE(b.notified.count(), 3);
}

void TestFolderBar::folderChangeShowsChildOnlyInItsFolder()
{
    Bar b;
    QVERIFY(!b.tree.isVisible());
    b.bar.SelectFolder(1);
    QCOMPARE(b.notified.at(0), (QList<QVariant>{CGfxOutBarCtrl::FolderChanged, 1}));
    QVERIFY(b.bar.isAnimating());
    QVERIFY(!b.tree.isVisible()); // drawn in the slide, shown when it ends
    QTRY_VERIFY(!b.bar.isAnimating());
    QVERIFY(b.tree.isVisible());
    QCOMPARE(b.tree.geometry(), QRect(0, 44, 137, 229));

    // A click on a header changes the folder; the same folder again changes nothing.
    b.click(b.headerOf(2));
    QCOMPARE(b.bar.CurrentFolder(), 2);
    QVERIFY(!b.tree.isVisible());
    b.bar.SelectFolder(2);
    QCOMPARE(b.notified.count(), 2);
    // Removing the selected folder selects the one before it.
    b.bar.DeleteFolder(2);
    QCOMPARE(b.bar.CurrentFolder(), 1);
    QCOMPARE(b.notified.at(2), (QList<QVariant>{CGfxOutBarCtrl::FolderChanged, 1}));
    QTRY_VERIFY(b.tree.isVisible());
}

void TestFolderBar::rename_data()
{
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("item allowed") << false << true;
    QTest::newRow("item refused") << false << false;
    QTest::newRow("folder refused") << true << false;
}

void TestFolderBar::rename()
{
    QFETCH(bool, header);
    QFETCH(bool, allowed);
    Bar b;
    QList<int> codes;
    connect(&b.bar, &CGfxOutBarCtrl::panelEditRequest, &b.bar,
            [&](int code, const FolderBarEdit &edit, bool *ok) {
                codes << code << edit.index;
                QCOMPARE(edit.text, QStringLiteral("新名稱"));
                *ok = allowed;
            });
    const auto current = [&] { return header ? b.bar.folderName(2) : b.bar.FolderItemText(1); };
    const QString old = current();
    const QPoint target = header ? b.headerOf(2) : b.bar.layoutGeometry().labelRect(1).center();
    // Through the context menu, as the user does.
    std::unique_ptr<QMenu> menu(b.bar.createContextMenu(target));
    for (QAction *action : menu->actions())
        if (action->data().toInt() == CGfxOutBarCtrl::CommandRename)
            action->trigger();
    QLineEdit *editor = b.bar.renameEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), old);
    editor->setText(QStringLiteral("新名稱"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!b.bar.renameEditor());
    QCOMPARE(codes, (header ? QList<int>{CGfxOutBarCtrl::FolderRenamed, 2}
                            : QList<int>{CGfxOutBarCtrl::ItemRenamed, 1}));
    QCOMPARE(current(), allowed ? QStringLiteral("新名稱") : old);
}

void TestFolderBar::scrollingItems()
{
    Bar b;
    for (int i = 2; i < 6; ++i)
        b.bar.InsertFolderItem(0, -1, QStringLiteral("item %1").arg(i), i);
    b.click(b.bar.layoutGeometry().downArrowRect().center());
    QCOMPARE(b.bar.firstVisibleItem(), 1);
    // The top place now holds item 1: a click there reports index 1.
    b.bar.SetBlinkPeriod(0);
    b.click(b.iconOf(1));
    QCOMPARE(b.notified.last(), (QList<QVariant>{CGfxOutBarCtrl::ItemClicked, 1}));
    b.bar.scrollItems(10); // no further than the last item
    QCOMPARE(b.bar.firstVisibleItem(), 3);
    // Growing the bar until everything fits scrolls back to the top.
    b.bar.resize(137, 600);
    QCOMPARE(b.bar.firstVisibleItem(), 0);
}

QTEST_MAIN(TestFolderBar)
#include "test_folderbar.moc"
