#pragma once
// The CHANNELS page: where each of the sixteen displays takes its input and sends its output.
// It edits options bytes 32..63 ("Channels  "):
//   32 + d  input of display d   bits 0..3 source 0..15, bit 7 NMEA input (clear: analog)
//   48 + d  output of display d  bits 0..3 index 0..15, bit 7 disabled, bit 6 index mode
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/prompt.h"
#include "tables/options_section.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

inline constexpr int kDisplayCount = 16;
inline constexpr int kChannelNumberMax = 15;

enum class ChannelOutputMode { Enabled, Disabled, Index };

struct ChannelInputRow {
    int number = 0;
    bool nmea = false;  // "NEMA" button; false is "Analog"
};
struct ChannelOutputRow {
    int number = 0;
    ChannelOutputMode mode = ChannelOutputMode::Enabled;
};

struct ChannelsPage {
    std::array<ChannelInputRow, kDisplayCount> inputs{};
    std::array<ChannelOutputRow, kDisplayCount> outputs{};
};

using ChannelBytes = std::array<std::uint8_t, 32>;

ChannelsPage ChannelsFromBytes(std::span<const std::uint8_t, 32> bytes);
ChannelBytes BytesFromChannels(const ChannelsPage& page);

// "" when every number is within 0..15, else the message that names the first bad row.
std::string CheckChannelsPage(const ChannelsPage& page);

// Bytes 32..63 as a section of the options file.
extern const OptionsSectionRow<ChannelsPage> kChannelsSection;

// OPEN: reads bytes 32..63 of directory + optionsFile into `page` ("Error loading Channels
// file" when it cannot).
bool OpenChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, ChannelsPage& page);

// PREFSAVE: rewrites lines 32..63 of the options file in place, then "File Saved". A page with
// a number out of range is refused with a message and nothing is written.
bool SaveChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, const ChannelsPage& page);

}  // namespace pelor::prefs
