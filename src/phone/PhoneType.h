// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace dpx {

// The telephone model behind the box: a few key codes differ between the two.
enum class PhoneType : quint8 { SD = 0, DX = 1 };

} // namespace dpx
