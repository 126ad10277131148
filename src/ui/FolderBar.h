// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FolderBarGeometry.h"
#include "ui/FolderBarImages.h"

#include <algorithm>

#include <QBasicTimer>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QMenu;

namespace dpx {

// What the owner is asked to allow: a new label (code 2), a new folder name (code 3) or
// an item's move from `index` to its new position `target` (code 4).
struct FolderBarEdit {
    int index = -1;
    int target = -1;
    QString text;
};

// The folder bar on the telephone's left edge: a column of folder headers; the selected
// folder's content (a list of icon items, or one child widget) fills the space between
// the headers above and below it. The owner hears about clicks and folder changes through
// panelNotify() and decides on renames and moves through panelEditRequest().
class CGfxOutBarCtrl : public QWidget {
    Q_OBJECT
public:
    enum Notify {
        ItemClicked = 1,
        ItemRenamed = 2,
        FolderRenamed = 3,
        ItemMoved = 4,
        FolderChanged = 5,
    };
    enum Command {
        CommandSmallIcons = 32788,
        CommandLargeIcons = 32789,
        CommandRemove = 32793,
        CommandRename = 32794,
    };
    // Behaviour switches; all but SmallIconsFlag are on by default (DefaultFlags).
    enum Flag : quint32 {
        SmallIconsFlag = 0x001,
        HoverFlag = 0x004,
        MenuFlag = 0x008,
        DragItemsFlag = 0x010,
        RenameItemsFlag = 0x020,
        RenameFoldersFlag = 0x040,
        RemoveItemsFlag = 0x080,
        AnimatedChangeFlag = 0x100,
        RemoveFoldersFlag = 0x200,
    };
    static constexpr quint32 DefaultFlags = 0x3FC;
    enum Which { LargeImages = 1, SmallImages = 2 };
    static constexpr int BlinkCycle = 12;

    explicit CGfxOutBarCtrl(QWidget *parent = nullptr);
    ~CGfxOutBarCtrl() override;

    // Folders. Out-of-range indexes are ignored (empty text, null, false, -1).
    int AppendFolder(const QString &name, quint32 userValue = 0);
    // The bar becomes the child's parent and shows it only while its folder is selected.
    int AppendChildFolder(const QString &name, QWidget *child, quint32 userValue = 0);
    // The selection stays on the same folder, or moves to the previous one (or 0) when the
    // selected folder goes. A child widget is hidden, not deleted (its owner may keep it).
    void DeleteFolder(int folder);
    void SelectFolder(int folder);
    int CurrentFolder() const { return m_selected; }
    int folderCount() const { return int(m_folders.size()); }
    QString folderName(int folder) const;
    bool setFolderName(int folder, const QString &name);
    quint32 folderUserValue(int folder) const;
    QWidget *folderChild(int folder) const;

    // Items. A position below 0 or beyond the end appends; returns the position used.
    int InsertFolderItem(int folder, int position, const QString &label, int image,
                         quint32 userValue = 0);
    void DeleteFolderItem(int item);        // of the selected folder
    QString FolderItemText(int item) const; // of the selected folder
    int itemCount(int folder) const;
    QString itemText(int folder, int item) const;
    bool setItemText(int folder, int item, const QString &text);
    int itemImage(int folder, int item) const;
    bool setItemImage(int folder, int item, int image);
    quint32 itemUserValue(int folder, int item) const;

    // Image lists: which = LargeImages or SmallImages. A folder's own list wins over the bar's.
    FolderBarImages SetIcons(const FolderBarImages &images, int which);
    FolderBarImages icons(int which) const;
    bool setFolderIcons(int folder, const FolderBarImages &images, int which);

    bool smallIcons() const { return m_flags & SmallIconsFlag; }
    void setSmallIcons(bool small);
    quint32 flags() const { return m_flags; }
    void setFlags(quint32 flags);

    // A click on an item flashes it on this period (0: no flash) and is reported once the
    // flash is over; the item keeps flashing every BlinkCycle ticks while it stays selected.
    void SetBlinkPeriod(int milliseconds);
    int blinkPeriod() const { return m_blinkPeriod; }
    // How long the folder change slides (0: no slide).
    void setSlideDuration(int milliseconds) { m_slideDuration = std::max(0, milliseconds); }
    int slideDuration() const { return m_slideDuration; }

    int firstVisibleItem() const { return m_firstVisible; }
    void scrollItems(int delta);

    // The current layout, for the owner and for tests.
    FolderBarGeometry layoutGeometry() const;
    int hoverFolder() const { return m_hoverFolder; }
    int hoverItem() const { return m_hoverItem; }
    // The last clicked item of the selected folder (it keeps flashing), -1 for none.
    int selectedItem() const { return m_selectedItem; }
    // Ends the flash, e.g. when the window the item opened has closed; a click still
    // waiting for its flash to end is reported first.
    void clearItemSelection();
    bool isAnimating() const { return m_slideTimer.isActive(); }
    bool isDragging() const { return m_dragging; }

    // The bar's context menu for a point (the caller owns it); its actions run the
    // commands below on the header or item under that point.
    QMenu *createContextMenu(QPoint pos);
    void runCommand(int command);
    // Opens the in-place editor over a header or an item label; false when not allowed.
    bool startRename(FolderBarHit target);
    QLineEdit *renameEditor() const { return m_editor; }

    QSize sizeHint() const override { return {137, 295}; }

Q_SIGNALS:
    // 1: an item of the selected folder was clicked (value = item); 5: the selected
    // folder changed (value = folder), sent before the slide so new content shows in it.
    void panelNotify(int code, int value);
    // 2, 3, 4: *allowed starts true; the owner may refuse by setting it false.
    // Connect directly (same thread).
    void panelEditRequest(int code, const dpx::FolderBarEdit &edit, bool *allowed);
    // Lets the owner add entries (such as the skin menu) before the menu shows.
    void contextMenuAboutToShow(QMenu *menu, const dpx::FolderBarHit &target);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Item {
        QString label;
        int image = 0;
        quint32 userValue = 0;
    };
    struct Folder {
        QString name;
        quint32 userValue = 0;
        FolderBarImages large;
        FolderBarImages small;
        QList<Item> items;
        QPointer<QWidget> child;
    };
    struct Slide {
        int from = -1;
        int to = -1;
        QPixmap upper; // content of the folder with the lower index
        QPixmap lower;
        int step = 0;
        int steps = 1;
    };
    enum class IconLook { Normal, Hover, FlashDown, FlashUp };

    bool validFolder(int folder) const { return folder >= 0 && folder < m_folders.size(); }
    bool validItem(int folder, int item) const;
    bool showsItems(int folder) const;
    FolderBarGeometry geometryFor(int selected, int firstVisible) const;
    void placeChildren();
    void clampFirstVisible();
    void itemsChanged(); // drops every transient state tied to item positions
    bool ask(int code, const FolderBarEdit &edit);

    // Hover, click flash, drag (FolderBarInput.cpp).
    void updateHover(QPoint pos);
    void clearHover();
    void clickItem(int item);
    void flushPendingClick();
    void clearSelectedItem();
    void blinkTick();
    void hoverTick();
    void finishDrag(QPoint pos);
    void cancelDrag();
    void commitRename();
    void cancelRename();

    // Painting and the folder-change slide (FolderBarPaint.cpp).
    void paintHeader(QPainter &painter, int folder, const QRect &rect) const;
    void paintItems(QPainter &painter, int folder, const FolderBarGeometry &geometry,
                    bool live) const;
    void paintIcon(QPainter &painter, int folder, int item, const QRect &rect) const;
    void paintArrows(QPainter &painter, const FolderBarGeometry &geometry) const;
    void paintDropMark(QPainter &painter, const FolderBarGeometry &geometry) const;
    void paintSlide(QPainter &painter) const;
    IconLook iconLook(int item) const;
    QPixmap renderContent(int folder, int firstVisible) const;
    void startSlide(int from, int to, const QPixmap &fromContent);
    void slideTick();
    void finishSlide();

    QList<Folder> m_folders;
    int m_selected = -1;
    int m_firstVisible = 0;
    quint32 m_flags = DefaultFlags;
    FolderBarMetrics m_metrics;
    FolderBarImages m_large;
    FolderBarImages m_small;
    QColor m_background{96, 128, 190};

    int m_hoverFolder = -1;
    int m_hoverItem = -1;
    QBasicTimer m_hoverTimer; // 100 ms while something is highlighted

    FolderBarHit m_pressed;
    QPoint m_pressPos;
    bool m_dragging = false;
    int m_dragSource = -1;
    int m_dropSlot = -1;

    int m_selectedItem = -1;
    int m_blinkCount = 0;
    bool m_clickPending = false;
    int m_blinkPeriod = 0;
    QBasicTimer m_blinkTimer;

    Slide m_slide;
    int m_slideDuration = 200;
    QBasicTimer m_slideTimer;

    QLineEdit *m_editor = nullptr;
    FolderBarHit m_editTarget;
    FolderBarHit m_menuTarget;
    int m_menuFolder = -1;
};

} // namespace dpx
