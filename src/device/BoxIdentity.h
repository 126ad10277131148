// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <optional>

namespace dpx {

// The box's HID identity. The release number, usage page and usage are not looked at.
inline constexpr quint16 BoxVendorId = 0x04D9;
inline constexpr quint16 BoxProductId = 0x2851;

bool isBox(const HidDeviceInfo &info);

// The first box among the interfaces, in the order given.
std::optional<HidDeviceInfo> findBox(const QList<HidDeviceInfo> &interfaces);

} // namespace dpx
