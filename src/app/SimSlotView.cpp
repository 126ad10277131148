// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimSlotView.h"

#include "sim/SimulatedBox.h"
#include "transfer/EepromImage.h"
#include "transfer/EepromLayout.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace dpx {

namespace {
constexpr int RefreshMs = 1000;
}

SimSlotView::SimSlotView(SimulatedBox &box, QWidget *parent)
    : QGroupBox(tr("鈴聲位置"), parent)
    , m_box(box)
{
    m_lines = new QLabel(this);
    m_lines->setTextFormat(Qt::PlainText);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &SimSlotView::refresh);
    timer->start(RefreshMs);
    refresh();
}

void SimSlotView::refresh()
{
    const QByteArray image = m_box.eeprom();
    const InfoTable table = EepromImage::tableOf(image);
    if (!table.isInitialized() || !table.hasValidLayout()) {
        m_lines->setText(tr("電話盒沒有位置表(請用「出廠值」)"));
        return;
    }
    QStringList lines;
    for (int slot = 0; slot < InfoTable::SlotCount; ++slot) {
        const SlotRegion region = *table.region(slot);
        // The data ends where the region's trailing erased bytes begin.
        const QByteArray bytes = image.mid(qsizetype(region.firstBlock) * eeprom::BlockSize, region.bytes());
        qsizetype used = bytes.size();
        while (used > 0 && quint8(bytes.at(used - 1)) == 0xFF)
            --used;
        QString line = tr("%1:區塊 %2-%3,已用 %4 KB")
                           .arg(InfoTable::slotName(slot))
                           .arg(region.firstBlock)
                           .arg(region.firstBlock + region.blockCount - 1)
                           .arg((used + 1023) / 1024);
        if (slot > 0)
            line += tr(",登記 %1 頁").arg(table.musicLength(slot));
        lines << line;
    }
    m_lines->setText(lines.join(QLatin1Char('\n')));
}

} // namespace dpx
