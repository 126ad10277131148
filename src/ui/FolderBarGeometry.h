// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace dpx {

// Fixed distances of the folder bar, in pixels. The label height comes from the font.
struct FolderBarMetrics {
    int headerHeight = 22;
    int largeIcon = 32;
    int smallIcon = 16;
    int labelHeight = 16;
    int topMargin = 8;     // content top to the first item
    int largeLabelGap = 3; // icon bottom to label top
    int largeSpacing = 10; // between two large items
    int smallIndent = 5;   // content left to a small icon
    int smallLabelGap = 5; // small icon to its label
    int smallSpacing = 4;  // between two small rows
    int labelPadding = 4;  // added to the text width, split on both sides
    int arrowSize = 16;
    int arrowMargin = 4; // arrows keep this distance from the content's edges
};

// Everything the layout depends on; the widget fills it from its state.
struct FolderBarState {
    QSize size;
    int folderCount = 0;
    int selected = -1;
    int itemCount = 0; // items laid out in the selected folder (0 when it shows a child widget)
    int firstVisible = 0;
    bool smallIcons = false;
    QList<int> labelWidths; // measured text width of each item; none means "full width"
};

enum class FolderBarHitKind { Nothing, Header, ItemIcon, ItemLabel, UpArrow, DownArrow };

struct FolderBarHit {
    FolderBarHitKind kind = FolderBarHitKind::Nothing;
    int index = -1; // the folder of a header, the item of an icon or label

    bool isItem() const
    {
        return kind == FolderBarHitKind::ItemIcon || kind == FolderBarHitKind::ItemLabel;
    }
    bool operator==(const FolderBarHit &) const = default;
};

// The rectangles of the bar for one state: headers, content, items from the first visible
// one, scroll arrows; hit tests and drop positions. Pure arithmetic, no painting.
class FolderBarGeometry {
public:
    explicit FolderBarGeometry(FolderBarState state, FolderBarMetrics metrics = {});

    const FolderBarState &state() const { return m_state; }
    const FolderBarMetrics &metrics() const { return m_metrics; }

    // Headers up to the selected folder stack from the top, the later ones from the bottom.
    QRect headerRect(int folder) const;
    // Between the selected folder's header and the next one (or the bottom); may be empty.
    QRect contentRect() const;

    // The cell of an item from the first visible one on; it may reach beyond the content
    // (it is clipped there). Null for items before the first visible one or out of range.
    QRect itemRect(int item) const;
    QRect iconRect(int item) const;
    QRect labelRect(int item) const;
    // Whether the item's cell shows at least partly in the content area.
    bool isItemVisible(int item) const;

    bool upArrowShown() const;
    bool downArrowShown() const;
    QRect upArrowRect() const;   // null when not shown
    QRect downArrowRect() const; // null when not shown
    // The largest first visible item that still needs scrolling to reach: from there on
    // all remaining items fit.
    int maxFirstVisible() const;

    FolderBarHit hitTest(QPoint point) const;

    // Where an item dragged to the point would be inserted: a gap 0..itemCount (the gap
    // before that item), or -1 outside the content area.
    int dropSlotAt(QPoint point) const;
    // The y of the insertion mark drawn for a gap.
    int dropMarkY(int slot) const;

private:
    int itemStride() const;
    int itemHeight() const;
    bool fitsFrom(int first) const;
    int labelWidth(int item, int available) const;

    FolderBarState m_state;
    FolderBarMetrics m_metrics;
};

} // namespace dpx
