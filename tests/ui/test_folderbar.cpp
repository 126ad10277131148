// SPDX-License-Identifier: GPL-3.0-or-later
// The folder bar: its layout arithmetic, and the widget driven by mouse, menu and calls.
#include "ui/FolderBar.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

Q_DECLARE_METATYPE(dpx::FolderBarHitKind)

namespace {

const QSize BarSize(137, 295);
const QColor Background(96, 128, 190);

// Three folders of 137 x 295 pixels with 16-pixel labels of 40 pixels' text.
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

// A strip of coloured squares on a key colour, like the program's icon art.
QPixmap strip(int size, int count, QColor key)
{
    QImage image(size * count, size, QImage::Format_RGB32);
    image.fill(key);
    QPainter painter(&image);
    for (int i = 0; i < count; ++i)
        painter.fillRect(i * size + 2, 2, size - 4, size - 4, QColor::fromHsv(i * 40, 200, 220));
    return QPixmap::fromImage(image);
}

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *widget, QPoint from, QPoint to)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, from + QPoint(0, 6), Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Runs a context-menu command on whatever lies under the point, as the user would.
void runMenuCommand(CGfxOutBarCtrl &bar, QPoint pos, int command)
{
    std::unique_ptr<QMenu> menu(bar.createContextMenu(pos));
    for (QAction *action : menu->actions()) {
        if (action->data().toInt() == command) {
            QVERIFY(action->isEnabled());
            action->trigger();
            return;
        }
    }
    QFAIL("command not in the menu");
}

// The main window's bar: tools with two items, the phone book as a child widget, settings.
struct Bar {
    QWidget tree;
    CGfxOutBarCtrl bar;
    Bar()
    {
        bar.resize(BarSize);
        bar.SetIcons(FolderBarImages::fromStrip(strip(32, 7, QColor(128, 128, 128)), 32,
                                                QColor(128, 128, 128)),
                     CGfxOutBarCtrl::LargeImages);
        bar.AppendFolder(QStringLiteral("工具"));
        bar.InsertFolderItem(0, 0, QStringLiteral("音檔轉換"), 0);
        bar.InsertFolderItem(0, 1, QStringLiteral("音檔傳輸"), 1);
        bar.AppendChildFolder(QStringLiteral("電話簿"), &tree);
        bar.AppendFolder(QStringLiteral("設置"));
        bar.InsertFolderItem(2, 0, QStringLiteral("話機配置"), 5);
        bar.SelectFolder(0);
    }
    ~Bar() { tree.setParent(nullptr); } // the tree is a member, not the bar's to delete
    QPoint iconOf(int item) const { return bar.layoutGeometry().iconRect(item).center(); }
    QPoint labelOf(int item) const { return bar.layoutGeometry().labelRect(item).center(); }
    QPoint headerOf(int folder) const { return bar.layoutGeometry().headerRect(folder).center(); }
    void show()
    {
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
    }
};

QStringList labels(const CGfxOutBarCtrl &bar, int folder)
{
    QStringList result;
    for (int i = 0; i < bar.itemCount(folder); ++i)
        result << bar.itemText(folder, i);
    return result;
}

} // namespace

class TestFolderBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Layout arithmetic.
    void headersFollowSelection_data();
    void headersFollowSelection();
    void hitTest_data();
    void hitTest();
    void scrollArrows_data();
    void scrollArrows();
    // The widget.
    void insertPosition_data();
    void insertPosition();
    void outOfRangeIsIgnored();
    void clickReportsAfterFlash();
    void pendingClickReportedBeforeFolderChange();
    void hoverHighlightAndRemoval();
    void folderChangeSlides();
    void childShownOnlyInItsFolder();
    void rename_data();
    void rename();
    void removeFromMenu();
    void dragReorder_data();
    void dragReorder();
    void scrollingItems();
    void iconModeCommands();
    void keyColourBecomesTransparent();
    void paintsBarColours();
};

void TestFolderBar::headersFollowSelection_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<int>("contentTop");
    // 295 high, three 22-pixel headers: the content is always 229 high.
    QTest::newRow("first") << 0 << QList<int>{0, 251, 273} << 22;
    QTest::newRow("middle") << 1 << QList<int>{0, 22, 273} << 44;
    QTest::newRow("last") << 2 << QList<int>{0, 22, 44} << 66;
}

void TestFolderBar::headersFollowSelection()
{
    QFETCH(int, selected);
    QFETCH(QList<int>, tops);
    QFETCH(int, contentTop);
    const FolderBarGeometry g = layout(selected, 0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(g.headerRect(i), QRect(0, tops.at(i), 137, 22));
    QCOMPARE(g.contentRect(), QRect(0, contentTop, 137, 229));
    QVERIFY(g.headerRect(3).isNull());
    QVERIFY(g.headerRect(-1).isNull());
}

void TestFolderBar::hitTest_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("first");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<FolderBarHitKind>("kind");
    QTest::addColumn<int>("index");
    using K = FolderBarHitKind;
    // Large: item 0's icon at (52,30) 32 x 32, its label (46,65) 44 x 16, item 1 61 lower.
    QTest::newRow("top header") << false << 0 << QPoint(68, 5) << K::Header << 0;
    QTest::newRow("bottom header") << false << 0 << QPoint(68, 290) << K::Header << 2;
    QTest::newRow("icon") << false << 0 << QPoint(68, 46) << K::ItemIcon << 0;
    QTest::newRow("label") << false << 0 << QPoint(68, 73) << K::ItemLabel << 0;
    QTest::newRow("beside icon") << false << 0 << QPoint(20, 46) << K::Nothing << -1;
    QTest::newRow("beside label") << false << 0 << QPoint(30, 73) << K::Nothing << -1;
    QTest::newRow("between items") << false << 0 << QPoint(68, 86) << K::Nothing << -1;
    QTest::newRow("second icon") << false << 0 << QPoint(68, 100) << K::ItemIcon << 1;
    QTest::newRow("scrolled icon") << false << 2 << QPoint(68, 46) << K::ItemIcon << 2;
    QTest::newRow("below last item") << false << 2 << QPoint(68, 240) << K::Nothing << -1;
    // Small: rows 24 apart from y 30, icon at x 5, label from x 26.
    QTest::newRow("small icon") << true << 0 << QPoint(10, 40) << K::ItemIcon << 0;
    QTest::newRow("small label") << true << 0 << QPoint(40, 40) << K::ItemLabel << 0;
    QTest::newRow("small past label") << true << 0 << QPoint(100, 40) << K::Nothing << -1;
    QTest::newRow("small second row") << true << 0 << QPoint(10, 64) << K::ItemIcon << 1;
}

void TestFolderBar::hitTest()
{
    QFETCH(bool, small);
    QFETCH(int, first);
    QFETCH(QPoint, point);
    QFETCH(FolderBarHitKind, kind);
    QFETCH(int, index);
    const FolderBarGeometry g = layout(0, 4, first, small);
    const FolderBarHit hit = g.hitTest(point);
    QCOMPARE(hit.kind, kind);
    QCOMPARE(hit.index, index);
}

void TestFolderBar::scrollArrows_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("maxFirst");
    // 229 pixels of content hold three large items or nine small ones.
    QTest::newRow("large fit") << false << 3 << 0 << false << false << 0;
    QTest::newRow("large overflow") << false << 5 << 0 << false << true << 2;
    QTest::newRow("large middle") << false << 5 << 1 << true << true << 2;
    QTest::newRow("large end") << false << 5 << 2 << true << false << 2;
    QTest::newRow("small fit") << true << 9 << 0 << false << false << 0;
    QTest::newRow("small overflow") << true << 10 << 0 << false << true << 1;
    QTest::newRow("empty") << false << 0 << 0 << false << false << 0;
}

void TestFolderBar::scrollArrows()
{
    QFETCH(bool, small);
    QFETCH(int, items);
    QFETCH(int, first);
    QFETCH(bool, up);
    QFETCH(bool, down);
    QFETCH(int, maxFirst);
    const FolderBarGeometry g = layout(1, items, first, small);
    QCOMPARE(g.upArrowShown(), up);
    QCOMPARE(g.downArrowShown(), down);
    QCOMPARE(g.maxFirstVisible(), maxFirst);
    const QRect content = g.contentRect();
    for (const QRect &arrow : {g.upArrowRect(), g.downArrowRect()}) {
        if (!arrow.isNull())
            QVERIFY(content.contains(arrow));
    }
    if (up)
        QCOMPARE(g.hitTest(g.upArrowRect().center()).kind, FolderBarHitKind::UpArrow);
    if (down)
        QCOMPARE(g.hitTest(g.downArrowRect().center()).kind, FolderBarHitKind::DownArrow);
}

void TestFolderBar::insertPosition_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("used");
    QTest::newRow("beyond end of empty") << 0 << 1 << 0;
    QTest::newRow("negative") << 2 << -1 << 2;
    QTest::newRow("far beyond end") << 2 << 7 << 2;
    QTest::newRow("at end") << 2 << 2 << 2;
    QTest::newRow("front") << 2 << 0 << 0;
    QTest::newRow("middle") << 2 << 1 << 1;
}

void TestFolderBar::insertPosition()
{
    QFETCH(int, existing);
    QFETCH(int, position);
    QFETCH(int, used);
    CGfxOutBarCtrl bar;
    QCOMPARE(bar.AppendFolder(QStringLiteral("f")), 0);
    QCOMPARE(bar.CurrentFolder(), 0);
    for (int i = 0; i < existing; ++i)
        bar.InsertFolderItem(0, i, QString::number(i), i);
    QCOMPARE(bar.InsertFolderItem(0, position, QStringLiteral("new"), 9, 77), used);
    QCOMPARE(bar.itemCount(0), existing + 1);
    QCOMPARE(bar.FolderItemText(used), QStringLiteral("new"));
    QCOMPARE(bar.itemImage(0, used), 9);
    QCOMPARE(bar.itemUserValue(0, used), 77u);
}

void TestFolderBar::outOfRangeIsIgnored()
{
    Bar b;
    QSignalSpy spy(&b.bar, &CGfxOutBarCtrl::panelNotify);
    QCOMPARE(b.bar.InsertFolderItem(3, 0, QStringLiteral("x"), 0), -1);
    b.bar.SelectFolder(3);
    b.bar.SelectFolder(-1);
    b.bar.DeleteFolder(5);
    b.bar.DeleteFolderItem(2);
    QVERIFY(b.bar.FolderItemText(2).isEmpty());
    QVERIFY(!b.bar.setItemText(0, 5, QStringLiteral("x")));
    QCOMPARE(b.bar.CurrentFolder(), 0);
    QCOMPARE(labels(b.bar, 0),
             (QStringList{QStringLiteral("音檔轉換"), QStringLiteral("音檔傳輸")}));
    QCOMPARE(spy.count(), 0);
}

void TestFolderBar::clickReportsAfterFlash()
{
    Bar b;
    QSignalSpy spy(&b.bar, &CGfxOutBarCtrl::panelNotify);
    b.bar.SetBlinkPeriod(40);
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.labelOf(1));
    QCOMPARE(b.bar.selectedItem(), 1);
    QCOMPARE(spy.count(), 0); // still flashing
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QList<QVariant>{1, 1}));
    QTest::qWait(40 * CGfxOutBarCtrl::BlinkCycle + 100); // the flash repeats, the report does not
    QCOMPARE(spy.count(), 1);
    b.bar.clearItemSelection();
    QCOMPARE(b.bar.selectedItem(), -1);
    QCOMPARE(spy.count(), 1);
    // Clearing while the flash still runs reports the click first.
    b.bar.SetBlinkPeriod(10000);
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.iconOf(0));
    b.bar.clearItemSelection();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1), (QList<QVariant>{1, 0}));
    spy.clear();

    // Without a flash the click is reported at once; a click off the items is not one.
    b.bar.SetBlinkPeriod(0);
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.iconOf(0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QList<QVariant>{1, 0}));
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, QPoint(5, 150));
    QCOMPARE(spy.count(), 1);
}

void TestFolderBar::pendingClickReportedBeforeFolderChange()
{
    Bar b;
    b.bar.SetBlinkPeriod(10000);
    QList<QPair<int, int>> seen; // (code, current folder while the owner hears it)
    connect(&b.bar, &CGfxOutBarCtrl::panelNotify, &b.bar, [&](int code, int) {
        seen.append({code, b.bar.CurrentFolder()});
    });
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.iconOf(0));
    QVERIFY(seen.isEmpty());
    b.bar.SelectFolder(2);
    QCOMPARE(seen, (QList<QPair<int, int>>{{1, 0}, {5, 2}}));
    QCOMPARE(b.bar.selectedItem(), -1);

    // A click whose item is removed before its flash ends is dropped.
    seen.clear();
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.iconOf(0));
    b.bar.DeleteFolderItem(0);
    b.bar.SetBlinkPeriod(0); // would report a click still waiting
    QVERIFY(seen.isEmpty());
}

void TestFolderBar::hoverHighlightAndRemoval()
{
    QWidget window;
    window.resize(400, 400);
    Bar b;
    b.bar.setParent(&window);
    b.bar.move(20, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&b.bar, b.iconOf(1));
    QTRY_COMPARE(b.bar.hoverItem(), 1);
    QCOMPARE(b.bar.hoverFolder(), -1);
    QTest::mouseMove(&b.bar, b.headerOf(2));
    QTRY_COMPARE(b.bar.hoverFolder(), 2);
    QCOMPARE(b.bar.hoverItem(), -1);
    QTest::mouseMove(&b.bar, b.iconOf(0));
    QTRY_COMPARE(b.bar.hoverItem(), 0);

    // The cursor leaves the bar: the highlight goes by the next tick of the 100 ms check.
    QCursor::setPos(window.mapToGlobal(QPoint(300, 300)));
    QTRY_COMPARE_WITH_TIMEOUT(b.bar.hoverItem(), -1, 1000);
    QCOMPARE(b.bar.hoverFolder(), -1);
    b.bar.setParent(nullptr);
}

void TestFolderBar::folderChangeSlides()
{
    Bar b;
    b.show();
    QSignalSpy spy(&b.bar, &CGfxOutBarCtrl::panelNotify);
    b.bar.SelectFolder(1);
    QCOMPARE(b.bar.CurrentFolder(), 1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QList<QVariant>{5, 1}));
    QVERIFY(b.bar.isAnimating());
    QVERIFY(!b.tree.isVisible()); // drawn in the slide, shown when it ends
    QTRY_VERIFY(!b.bar.isAnimating());
    QVERIFY(b.tree.isVisible());
    QCOMPARE(b.tree.geometry(), b.bar.layoutGeometry().contentRect());

    // Upwards, by a click on a top header; the same folder again changes nothing.
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.headerOf(0));
    QCOMPARE(b.bar.CurrentFolder(), 0);
    QVERIFY(!b.tree.isVisible());
    QTRY_VERIFY(!b.bar.isAnimating());
    QVERIFY(!b.tree.isVisible());
    b.bar.SelectFolder(0);
    QCOMPARE(spy.count(), 2);

    // A click during a slide finishes it first.
    b.bar.SelectFolder(2);
    QVERIFY(b.bar.isAnimating());
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.headerOf(1));
    QCOMPARE(b.bar.CurrentFolder(), 1);
    QTRY_VERIFY(!b.bar.isAnimating());
    QVERIFY(b.tree.isVisible());
}

void TestFolderBar::childShownOnlyInItsFolder()
{
    Bar b;
    b.bar.setFlags(b.bar.flags() & ~quint32(CGfxOutBarCtrl::AnimatedChangeFlag));
    b.show();
    QVERIFY(!b.tree.isVisible());
    QCOMPARE(b.tree.parentWidget(), &b.bar);
    b.bar.SelectFolder(1);
    QVERIFY(!b.bar.isAnimating());
    QVERIFY(b.tree.isVisible());
    QCOMPARE(b.tree.geometry(), QRect(0, 44, 137, 229));
    b.bar.resize(137, 400);
    QCOMPARE(b.tree.geometry(), QRect(0, 44, 137, 334));
    // The tree covers its folder: the item inserted under it is neither hit nor clicked.
    b.bar.InsertFolderItem(1, 0, QStringLiteral("音檔傳輸"), 2);
    QCOMPARE(b.bar.layoutGeometry().hitTest(QPoint(68, 60)).kind, FolderBarHitKind::Nothing);
    b.bar.SelectFolder(2);
    QVERIFY(!b.tree.isVisible());
    QVERIFY(b.bar.layoutGeometry().contentRect().contains(b.iconOf(0)));
}

void TestFolderBar::rename_data()
{
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("item allowed") << false << true;
    QTest::newRow("item refused") << false << false;
    QTest::newRow("folder allowed") << true << true;
    QTest::newRow("folder refused") << true << false;
}

void TestFolderBar::rename()
{
    QFETCH(bool, header);
    QFETCH(bool, allowed);
    Bar b;
    b.show();
    QList<int> codes;
    FolderBarEdit asked;
    connect(&b.bar, &CGfxOutBarCtrl::panelEditRequest, &b.bar,
            [&](int code, const FolderBarEdit &edit, bool *ok) {
                codes << code;
                asked = edit;
                *ok = allowed;
            });
    const auto current = [&] { return header ? b.bar.folderName(2) : b.bar.FolderItemText(1); };
    const QString old = current();
    const QPoint target = header ? b.headerOf(2) : b.labelOf(1);

    // Escape leaves everything as it was, without asking.
    runMenuCommand(b.bar, target, CGfxOutBarCtrl::CommandRename);
    QVERIFY(b.bar.renameEditor());
    QCOMPARE(b.bar.renameEditor()->text(), old);
    QTest::keyClick(b.bar.renameEditor(), Qt::Key_Escape);
    QVERIFY(!b.bar.renameEditor());
    QVERIFY(codes.isEmpty());

    runMenuCommand(b.bar, target, CGfxOutBarCtrl::CommandRename);
    QLineEdit *editor = b.bar.renameEditor();
    QVERIFY(editor);
    if (header)
        QCOMPARE(editor->geometry(), b.bar.layoutGeometry().headerRect(2).adjusted(2, 2, -2, -2));
    editor->setText(QStringLiteral("新名稱"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!b.bar.renameEditor());
    QCOMPARE(codes, QList<int>{header ? 3 : 2});
    QCOMPARE(asked.index, header ? 2 : 1);
    QCOMPARE(asked.text, QStringLiteral("新名稱"));
    QCOMPARE(current(), allowed ? QStringLiteral("新名稱") : old);
}

void TestFolderBar::removeFromMenu()
{
    Bar b;
    b.bar.setFlags(b.bar.flags() & ~quint32(CGfxOutBarCtrl::AnimatedChangeFlag));
    QSignalSpy spy(&b.bar, &CGfxOutBarCtrl::panelNotify);
    runMenuCommand(b.bar, b.iconOf(0), CGfxOutBarCtrl::CommandRemove);
    QCOMPARE(labels(b.bar, 0), QStringList{QStringLiteral("音檔傳輸")});
    // The command acts once on what was right-clicked, not again on what moved there.
    b.bar.runCommand(CGfxOutBarCtrl::CommandRemove);
    QCOMPARE(b.bar.itemCount(0), 1);

    // A folder before the selected one: the same folder stays selected, quietly.
    b.bar.SelectFolder(2);
    spy.clear();
    runMenuCommand(b.bar, b.headerOf(0), CGfxOutBarCtrl::CommandRemove);
    QCOMPARE(b.bar.folderCount(), 2);
    QCOMPARE(b.bar.CurrentFolder(), 1);
    QCOMPARE(b.bar.folderName(1), QStringLiteral("設置"));
    QCOMPARE(spy.count(), 0);
    // The selected folder: the selection moves to the previous one, which shows its child.
    runMenuCommand(b.bar, b.headerOf(1), CGfxOutBarCtrl::CommandRemove);
    QCOMPARE(b.bar.CurrentFolder(), 0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QList<QVariant>{5, 0}));
    QCOMPARE(b.bar.folderChild(0), &b.tree);
    b.bar.DeleteFolder(0);
    QCOMPARE(b.bar.CurrentFolder(), -1);
    QVERIFY(b.bar.layoutGeometry().contentRect().isNull());
    QVERIFY(!b.tree.isVisible());

    // Nothing under the cursor: remove and rename are offered disabled.
    std::unique_ptr<QMenu> menu(b.bar.createContextMenu(QPoint(5, 5)));
    for (QAction *action : menu->actions()) {
        const int command = action->data().toInt();
        if (command == CGfxOutBarCtrl::CommandRemove || command == CGfxOutBarCtrl::CommandRename)
            QVERIFY(!action->isEnabled());
    }
}

void TestFolderBar::dragReorder_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("dropAbove"); // the item the mark goes above; 3 = after the last
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<int>("to"); // -1: no request
    QTest::addColumn<QStringList>("order");
    QTest::newRow("down to the end") << 0 << 3 << true << 2 << QStringList{"b", "c", "a"};
    QTest::newRow("up to the front") << 2 << 0 << true << 0 << QStringList{"c", "a", "b"};
    QTest::newRow("down one") << 0 << 2 << true << 1 << QStringList{"b", "a", "c"};
    QTest::newRow("refused") << 0 << 3 << false << 2 << QStringList{"a", "b", "c"};
    QTest::newRow("onto its own place") << 1 << 2 << true << -1 << QStringList{"a", "b", "c"};
}

void TestFolderBar::dragReorder()
{
    QFETCH(int, from);
    QFETCH(int, dropAbove);
    QFETCH(bool, allowed);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    CGfxOutBarCtrl bar;
    bar.resize(BarSize);
    bar.AppendFolder(QStringLiteral("f"));
    for (const char *name : {"a", "b", "c"})
        bar.InsertFolderItem(0, -1, QString::fromLatin1(name), 0);
    QList<FolderBarEdit> asked;
    connect(&bar, &CGfxOutBarCtrl::panelEditRequest, &bar,
            [&](int code, const FolderBarEdit &edit, bool *ok) {
                QCOMPARE(code, 4);
                asked << edit;
                *ok = allowed;
            });
    const FolderBarGeometry g = bar.layoutGeometry();
    const QPoint drop = dropAbove < 3 ? g.itemRect(dropAbove).topLeft() + QPoint(60, 4)
                                      : g.itemRect(2).bottomLeft() + QPoint(60, 8);
    drag(&bar, g.iconRect(from).center(), drop);
    QVERIFY(!bar.isDragging());
    QCOMPARE(asked.size(), to < 0 ? 0 : 1);
    if (to >= 0) {
        QCOMPARE(asked.at(0).index, from);
        QCOMPARE(asked.at(0).target, to);
    }
    QCOMPARE(labels(bar, 0), order);

    // Released outside the items' area, the drag asks nothing.
    drag(&bar, g.iconRect(0).center(), g.headerRect(0).center());
    QCOMPARE(asked.size(), to < 0 ? 0 : 1);
}

void TestFolderBar::scrollingItems()
{
    Bar b;
    b.show();
    QSignalSpy spy(&b.bar, &CGfxOutBarCtrl::panelNotify);
    for (int i = 2; i < 6; ++i)
        b.bar.InsertFolderItem(0, -1, QStringLiteral("item %1").arg(i), i);
    FolderBarGeometry g = b.bar.layoutGeometry();
    QVERIFY(g.downArrowShown());
    QVERIFY(!g.upArrowShown());

    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, g.downArrowRect().center());
    QCOMPARE(b.bar.firstVisibleItem(), 1);
    QVERIFY(b.bar.layoutGeometry().upArrowShown());
    // The top place now holds item 1: a click there reports index 1.
    QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.iconOf(1));
    QCOMPARE(spy.last(), (QList<QVariant>{1, 1}));

    for (int i = 0; i < 10; ++i)
        b.bar.scrollItems(1);
    QCOMPARE(b.bar.firstVisibleItem(), b.bar.layoutGeometry().maxFirstVisible());
    QVERIFY(!b.bar.layoutGeometry().downArrowShown());
    QVERIFY(b.bar.layoutGeometry().isItemVisible(5));

    QWheelEvent wheel(QPointF(60, 100), b.bar.mapToGlobal(QPointF(60, 100)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&b.bar, &wheel);
    QCOMPARE(b.bar.firstVisibleItem(), b.bar.layoutGeometry().maxFirstVisible() - 1);

    // Growing the bar until everything fits scrolls back to the top.
    b.bar.resize(137, 600);
    QCOMPARE(b.bar.firstVisibleItem(), 0);
    QVERIFY(!b.bar.layoutGeometry().upArrowShown());
    // A new folder starts at its first item.
    b.bar.resize(BarSize);
    b.bar.scrollItems(2);
    b.bar.SelectFolder(2);
    QCOMPARE(b.bar.firstVisibleItem(), 0);
}

void TestFolderBar::iconModeCommands()
{
    Bar b;
    const int largeRow = b.bar.layoutGeometry().itemRect(0).height();
    {
        std::unique_ptr<QMenu> menu(b.bar.createContextMenu(b.iconOf(0)));
        for (QAction *action : menu->actions()) {
            if (action->data().toInt() == CGfxOutBarCtrl::CommandLargeIcons)
                QVERIFY(action->isChecked());
            if (action->data().toInt() == CGfxOutBarCtrl::CommandSmallIcons)
                QVERIFY(!action->isChecked());
        }
    }
    b.bar.runCommand(CGfxOutBarCtrl::CommandSmallIcons);
    QVERIFY(b.bar.smallIcons());
    QCOMPARE(b.bar.flags(), CGfxOutBarCtrl::DefaultFlags | CGfxOutBarCtrl::SmallIconsFlag);
    QCOMPARE(b.bar.layoutGeometry().iconRect(0).size(), QSize(16, 16));
    QVERIFY(b.bar.layoutGeometry().itemRect(0).height() < largeRow);
    b.bar.runCommand(CGfxOutBarCtrl::CommandLargeIcons);
    QVERIFY(!b.bar.smallIcons());
    QCOMPARE(b.bar.layoutGeometry().iconRect(0).size(), QSize(32, 32));
}

void TestFolderBar::keyColourBecomesTransparent()
{
    const QColor key(0, 128, 128);
    QImage art(96, 17, QImage::Format_RGB32);
    art.fill(key);
    art.setPixelColor(20, 5, QColor(200, 10, 10));
    const FolderBarImages images = FolderBarImages::fromStrip(QPixmap::fromImage(art), 16, key);
    QCOMPARE(images.count(), 6);
    const QImage second = images.image(1).toImage();
    QCOMPARE(second.size(), QSize(16, 16));
    QCOMPARE(second.pixelColor(4, 5), QColor(200, 10, 10));
    QCOMPARE(second.pixelColor(0, 0).alpha(), 0);
    QVERIFY(images.image(6).isNull());
    QVERIFY(images.image(-1).isNull());
    QVERIFY(FolderBarImages::fromStrip(QPixmap(), 16, key).isNull());
}

void TestFolderBar::paintsBarColours()
{
    Bar b;
    const QImage image = b.bar.grab().toImage();
    const FolderBarGeometry g = b.bar.layoutGeometry();
    QCOMPARE(image.pixelColor(3, 200), Background); // empty content area
    QVERIFY(image.pixelColor(g.headerRect(1).center()) != Background);
    // The first icon's art is drawn, its key colour is not.
    const QRect icon = g.iconRect(0);
    QCOMPARE(image.pixelColor(icon.topLeft() + QPoint(1, 1)), Background);
    QVERIFY(image.pixelColor(icon.center()) != Background);
    bool whiteText = false;
    const QRect label = g.labelRect(0);
    for (int y = label.top(); y <= label.bottom() && !whiteText; ++y)
        for (int x = label.left(); x <= label.right() && !whiteText; ++x)
            whiteText = image.pixelColor(x, y) == QColor(Qt::white);
    QVERIFY(whiteText);
}

QTEST_MAIN(TestFolderBar)
#include "test_folderbar.moc"
