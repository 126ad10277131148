// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BoxPresence.h"

#include "device/BoxIdentity.h"

namespace dpx {

bool BoxPresence::update(const QList<HidDeviceInfo> &devices)
{
    QList<QPair<QString, QString>> boxes;
    for (const HidDeviceInfo &info : devices)
        if (isBox(info))
            boxes.append({info.path, info.identity});
    if (boxes == m_boxes)
        return false;
    m_boxes = std::move(boxes);
    return true;
}

} // namespace dpx
