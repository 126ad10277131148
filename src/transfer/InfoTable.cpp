// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/InfoTable.h"

#include "transfer/EepromLayout.h"

namespace dpx {

int SlotRegion::bytes() const
{
    return blockCount * eeprom::BlockSize;
}

int SlotRegion::usableBytes() const
{
    return bytes() - eeprom::RegionReserve;
}

InfoTable::InfoTable() : m_bytes(eeprom::TableSize, char(0xFF)) {}

InfoTable::InfoTable(const QByteArray &bytes) : m_bytes(bytes.left(eeprom::TableSize))
{
    if (m_bytes.size() < eeprom::TableSize)
        m_bytes.append(QByteArray(eeprom::TableSize - m_bytes.size(), char(0xFF)));
}

bool InfoTable::isInitialized() const
{
    return quint8(m_bytes.at(0)) == 0x02 || quint8(m_bytes.at(1)) == 0x00;
}

int InfoTable::musicStart(int slot) const
{
    if (slot < 1 || slot > 5)
        return -1;
    return int(qint8(m_bytes.at(entryOffset(slot))));
}

bool InfoTable::hasValidLayout() const
{
    int previous = eeprom::FirstAudioBlock; // the ring tone needs at least block 2
    for (int slot = 1; slot <= 5; ++slot) {
        const int start = musicStart(slot);
        if (start <= previous || start >= eeprom::BlockCount)
            return false;
        previous = start;
    }
    return true;
}

std::optional<SlotRegion> InfoTable::region(int slot) const
{
    if (slot < 0 || slot >= SlotCount || !hasValidLayout())
        return std::nullopt;
    const int first = slot == 0 ? eeprom::FirstAudioBlock : musicStart(slot);
    const int end = slot == 5 ? eeprom::BlockCount : musicStart(slot + 1);
    return SlotRegion{first, end - first};
}

void InfoTable::setMusicLength(int slot, int pages)
{
    if (slot < 1 || slot > 5)
        return;
    const int at = entryOffset(slot);
    m_bytes[at + 1] = 0x00;
    m_bytes[at + 2] = char(quint8(pages >> 8));
    m_bytes[at + 3] = char(quint8(pages));
}

int InfoTable::musicLength(int slot) const
{
    if (slot < 1 || slot > 5)
        return -1;
    const int at = entryOffset(slot);
    return quint8(m_bytes.at(at + 2)) << 8 | quint8(m_bytes.at(at + 3));
}

QString InfoTable::slotName(int slot)
{
    if (slot == 0)
        return QStringLiteral("一般鈴聲");
    return QStringLiteral("音樂%1").arg(slot);
}

std::optional<int> InfoTable::slotFromName(const QString &name)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (name == slotName(slot))
            return slot;
    }
    return std::nullopt;
}

} // namespace dpx
