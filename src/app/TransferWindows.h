// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace dpx {

// Registers the audio transfer window with the tool windows.
void registerTransferWindows();

} // namespace dpx
