// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace dpx {

// Where a slot's audio lies in the EEPROM: blocks first .. first + count - 1.
struct SlotRegion {
    int firstBlock = 0;
    int blockCount = 0;
    int bytes() const;       // blockCount x 64 KiB
    int usableBytes() const; // bytes() less the three pages a file never fills
    bool operator==(const SlotRegion &) const = default;
};

// The box's 256-byte info table (block 1): 20 entries of (start page, length in pages), big
// endian; entries 15..19 belong to music slots 1..5, whose start blocks B1..B5 also fix the
// ring tone's region (blocks 2 .. B1 - 1).
class InfoTable {
public:
    static constexpr int SlotCount = 6; // 0 = the general ring tone, 1..5 = music
    static constexpr int EntryBytes = 80;

    InfoTable(); // all 0xFF
    explicit InfoTable(const QByteArray &bytes); // cut or padded with 0xFF to 256 bytes

    const QByteArray &bytes() const { return m_bytes; }

    // Byte 0 is 0x02 or byte 1 is 0x00: the box has been given a table.
    bool isInitialized() const;
    // Start block Bn of music slot n (1..5), read as a signed byte.
    int musicStart(int slot) const;
    // 3 <= B1 < B2 < ... < B5 <= 63: every region lies in blocks 2..63 and holds a block.
    bool hasValidLayout() const;
    // The region of slot 0..5; nothing when the layout is not valid.
    std::optional<SlotRegion> region(int slot) const;

    // Music slot n's entry: start page Bn x 256, length in pages (Bn, 0x00, high, low).
    void setMusicLength(int slot, int pages);
    int musicLength(int slot) const;

    // "一般鈴聲" for 0, "音樂1".."音樂5" for 1..5.
    static QString slotName(int slot);
    // A slot cell's text back to the slot: 0..5, or nothing.
    static std::optional<int> slotFromName(const QString &name);
    // Slot codes of transfer jobs: 0 for the ring tone, 15 + n for music slot n.
    static int slotCode(int slot) { return slot == 0 ? 0 : 15 + slot; }

private:
    static int entryOffset(int slot) { return 56 + 4 * slot; }
    QByteArray m_bytes;
};

} // namespace dpx
