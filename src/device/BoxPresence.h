// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

namespace dpx {

// What the polling fallback remembers of the boxes between two looks: their paths and
// identities. A box plugged in again between two looks often comes back under the same path;
// its identity tells the difference.
class BoxPresence {
public:
    // Takes the devices present now; true when their boxes differ from the last look.
    bool update(const QList<HidDeviceInfo> &devices);

private:
    QList<QPair<QString, QString>> m_boxes; // path, identity
};

} // namespace dpx
