// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace dpx {

class CallHistoryRecorder;
class MainPhoneWindow;

// Feeds the call tracker from what the main window mirrors (event pairs, the caller's number,
// the numbers DPX dials) and from the box's removal; shows the missed calls on the tray icon
// and a history problem on the status line. Registers the history window ("history"): opened
// from the tray menu and the folder bar, docked at the main window's right edge, clearing the
// missed count when it is shown, dialling back through the main window's dial path.
void connectCallHistory(CallHistoryRecorder &history, MainPhoneWindow &window);

} // namespace dpx
