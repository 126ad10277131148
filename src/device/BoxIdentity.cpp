// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BoxIdentity.h"

namespace dpx {

bool isBox(const HidDeviceInfo &info)
{
    return info.vendorId == BoxVendorId && info.productId == BoxProductId;
}

std::optional<HidDeviceInfo> findBox(const QList<HidDeviceInfo> &interfaces)
{
    for (const HidDeviceInfo &info : interfaces) {
        if (isBox(info))
            return info;
    }
    return std::nullopt;
}

} // namespace dpx
