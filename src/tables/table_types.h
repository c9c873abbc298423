#pragma once
// The unit's configuration tables as they are held in memory: plain byte arrays of the sizes
// the unit's memory map gives them.
#include <array>
#include <cstddef>
#include <cstdint>

namespace pelor::tables {

inline constexpr std::size_t kOptionsTableSize = 1536;     // options + two fuel flow tables
inline constexpr std::size_t kCalibrationTableCount = 12;  // sensor inputs 0..11
inline constexpr std::size_t kCalibrationEntries = 256;    // one per raw reading
inline constexpr std::size_t kCalibrationTableSize = kCalibrationEntries * 8;
inline constexpr std::size_t kLabelEntriesKept = 88;  // entries 0..87 of the labels file
inline constexpr std::size_t kLabelTableSize = kLabelEntriesKept * 8;
inline constexpr std::size_t kPageTableSize = 1616;  // modes, sources, NMEA row, demo data
inline constexpr std::size_t kPageCount = 16;
inline constexpr std::size_t kPositionCount = 16;

using OptionsTable = std::array<std::uint8_t, kOptionsTableSize>;
using CalibrationTable = std::array<std::uint8_t, kCalibrationTableSize>;
using CalibrationTables = std::array<CalibrationTable, kCalibrationTableCount>;
using LabelTable = std::array<std::uint8_t, kLabelTableSize>;
using PageTable = std::array<std::uint8_t, kPageTableSize>;

}  // namespace pelor::tables
