#pragma once
// The page definitions file ("[TABLE][7000][1][512]"), 1616 byte entries:
//   0..255     display mode of page p, position n at 16 p + n (low four bits = mode)
//   256..511   grid cell (source) of page p, position n at 256 + 16 p + n
//   512..527   NMEA row (tag n: sentence choice in the high nibble, value in the low)
//   528..1615  demo data for the unit: 64 frames x 17 channels
#include <cstdint>
#include <string>

#include "core/prompt.h"
#include "tables/table_types.h"

namespace pelor::tables {

inline constexpr const char* kPageHeader = "[TABLE][7000][1][512]\n";
inline constexpr std::size_t kModeBytes = 0;
inline constexpr std::size_t kCellBytes = 256;
inline constexpr std::size_t kNmeaRow = 512;
inline constexpr std::size_t kDemoData = 528;
inline constexpr std::size_t kDemoFrames = 64;
inline constexpr std::size_t kDemoChannels = 17;
inline constexpr const char* kDemoDataFile = "DemoData.txt";

// The page configuration as the main window uses it (m_LabelMode / m_LabelCell).
inline std::uint8_t& LabelMode(PageTable& pages, std::size_t page, std::size_t label) {
    return pages[kModeBytes + kPositionCount * page + label];
}
inline std::uint8_t& LabelCell(PageTable& pages, std::size_t page, std::size_t label) {
    return pages[kCellBytes + kPositionCount * page + label];
}

// The mode byte as stored: bit 4 set for display types 4 and 8, else only the low four bits.
std::uint8_t NormalisedModeByte(std::uint8_t mode, int displayType);

// Writes directory + name. Mode bytes are normalised in `pages` first. With dualDisplay the
// lines name display 0 (pages 0..7) and display 1 (pages 8..15). The demo data comes from
// directory + "DemoData.txt" (its first line skipped) or is generated.
bool WritePageFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                   PageTable& pages, int displayType, bool dualDisplay);

// Puts page table bytes first .. first + count - 1 into the page file directory + name in
// place: only the two hex digits of those byte entry lines change, every other line stays as
// it is (lines end in CR LF afterwards). A file that holds no byte entry line for one of them
// is refused with a message and left as it was. Quiet on success.
bool UpdatePageFileEntries(core::Prompt& prompt, const std::string& directory,
                           const std::string& name, const PageTable& pages, std::size_t first,
                           std::size_t count);

}  // namespace pelor::tables
