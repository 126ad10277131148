// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace dpx {

// Registers the audio converter window with the tool windows.
void registerConverterWindows();

} // namespace dpx
