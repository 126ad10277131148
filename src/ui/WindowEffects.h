// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace dpx {

// Whether the window system can do what the windows ask of it for show (opacity, raising).
// The offscreen and minimal platforms (headless runs, tests) cannot, and say so on every call;
// the windows then skip those calls instead of filling the output with warnings.
bool windowSystemShowsEffects();

// setWindowOpacity and raise, where the window system can do them.
void setWindowOpacityIfShown(QWidget *window, double opacity);
void raiseIfShown(QWidget *window);

} // namespace dpx
