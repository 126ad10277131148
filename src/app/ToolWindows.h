// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"
#include "app/ToolWindowKind.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace dpx {

class AddressDatabase;
class BoxLink;
class DataFolder;
class MasterOutputVolume;
class RingTonePlayer;
class ToolWindows;
class TransferSession;

// What a tool window may use, handed to its factory. The tool windows never reach into the
// main window: everything they need is here. Pointers may be null (no database file, no box).
struct AppServices {
    QWidget *mainWindow = nullptr; // owner of the tool windows (modality, placement)
    DataFolder *dataFolder = nullptr;
    AddressDatabase *database = nullptr;
    BoxLink *box = nullptr;
    RingTonePlayer *ringPlayer = nullptr;
    MasterOutputVolume *masterVolume = nullptr;
    ToolWindows *toolWindows = nullptr; // to open another tool window
    TransferSession *transfer = nullptr; // the one transfer into the box at a time
    bool verifyTransfers = true;         // written data is read back (off with --no-verify)

    std::function<void(const QString &)> showStatus;  // the status line, cleared after 1.5 s
    std::function<void(const QString &)> showMessage; // a message box that does not block
    std::function<void(const QString &)> dial;        // dials a number on the telephone
    std::function<void()> contactsChanged;            // the address book was changed
    std::function<void()> settingsChanged;            // the settings row was changed
    std::function<bool()> isBoxPresent;
    std::function<ContactRecord()> caller;            // the ringing caller (empty when none)
    std::function<void(QWidget *, QPoint)> dock;      // keeps a window at an offset from the main window
    std::function<bool(const QString &)> confirm;     // a yes/no question; empty: the window asks itself

    void status(const QString &text) const { if (showStatus) showStatus(text); }
    void message(const QString &text) const { if (showMessage) showMessage(text); }
};

// Opens each tool window once, places it, brings it forward on a second request and closes
// them all at the end. Modules add their windows with registerFactory(); a window whose
// factory is not registered is not part of this build.
class ToolWindows : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget *(const AppServices &)>;

    // The window made by `factory` for `which`; with a dock offset it follows the main window
    // at that offset. A later registration replaces an earlier one.
    static void registerFactory(ToolWindow which, Factory factory,
                                std::optional<QPoint> dockOffset = std::nullopt);
    static bool hasFactory(ToolWindow which);

    explicit ToolWindows(AppServices services, QObject *parent = nullptr);
    ~ToolWindows() override;

    // Opens the window (or brings the open one forward) and returns it; nullptr when it is not
    // part of this build or its factory made none.
    QWidget *open(ToolWindow which);
    QWidget *window(ToolWindow which) const;
    template <class W> W *windowAs(ToolWindow which) const { return qobject_cast<W *>(window(which)); }
    bool isOpen(ToolWindow which) const { return window(which) != nullptr; }
    void close(ToolWindow which);
    void closeAll();

    const AppServices &services() const { return m_services; }

Q_SIGNALS:
    void opened(dpx::ToolWindow which);
    void closed(dpx::ToolWindow which);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppServices m_services;
    std::array<QPointer<QWidget>, ToolWindowCount> m_open;
    // Closed and waiting for deletion: no longer counts as open.
    std::array<bool, ToolWindowCount> m_closing{};
};

// Registers the factories of every tool window module linked into the program (one line per
// module); runs once, before the first ToolWindows is made.
void registerToolWindows();

} // namespace dpx
