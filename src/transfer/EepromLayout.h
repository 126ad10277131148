// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace dpx::eeprom {

// The box's serial flash: 64 erase blocks of 64 KiB, written and read in 256-byte pages that
// travel as checked 128-byte data blocks.
inline constexpr int BlockSize = 65536;
inline constexpr int BlockCount = 64;
inline constexpr int ImageSize = BlockSize * BlockCount; // 4 MiB
inline constexpr int PageSize = 256;
inline constexpr int PagesPerBlock = BlockSize / PageSize;
inline constexpr int DataBlockSize = 128;
inline constexpr int TableBlock = 1; // the info table: the first page of block 1
inline constexpr int TableSize = 256;
inline constexpr int FirstAudioBlock = 2;
// A file may fill its region but for the last three pages.
inline constexpr int RegionReserve = 3 * PageSize;

// Bytes per data report: 24 out (report ID 2 + 24 bytes), 7 in (report ID 2 + 7 bytes).
inline constexpr int OutputDataBytes = 24;
inline constexpr int InputDataBytes = 7;
inline constexpr int OutputReportsPerBlock = 6;  // 5 x 24 + 8
inline constexpr int InputReportsPerBlock = 19;  // 18 x 7 + 2

} // namespace dpx::eeprom
