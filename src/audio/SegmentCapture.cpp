// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SegmentCapture.h"

#include <QCoreApplication>

#include <algorithm>

namespace dpx {

QString SegmentCapture::backwardsText()
{
    return QCoreApplication::translate("SegmentCapture", "轉換錯誤!");
}

void SegmentCapture::start(const QString &file, qint64 positionUs)
{
    if (m_capturing)
        return;
    m_capturing = true;
    m_file = file;
    m_startUs = std::max<qint64>(positionUs, 0);
}

SegmentCapture::Outcome SegmentCapture::finish(qint64 positionUs, bool reachedEnd)
{
    if (!m_capturing)
        return {};
    m_capturing = false;
    if (positionUs <= m_startUs)
        return {std::nullopt, backwardsText()};
    const qint64 lengthUs = std::min<qint64>(positionUs - m_startUs, qint64(LimitMs) * 1000);
    SegmentRequest request;
    request.source = m_file;
    request.startSeconds = double(m_startUs) / 1e6;
    // At the end the player's clock and the decoder may differ by a few frames: the segment
    // then runs to what the decoder gives (still at most the limit).
    if (!reachedEnd || lengthUs == qint64(LimitMs) * 1000)
        request.lengthSeconds = double(lengthUs) / 1e6;
    return {request, {}};
}

} // namespace dpx
