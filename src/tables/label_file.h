#pragma once
// The display labels file ("[TABLE][6800][8][128]"), 8-byte text entries:
//   0..15  gauge labels           16..27 switch labels        28..31 kept as loaded
//   32     "DISABLED"             33..47 NMEA sentence heads
//   48..53 hour table from the UTC offset ("%02d" x 4 per entry)
//   54..56 tachometer hour counters "0hhhhmmf"   57 "00000000"
//   58     seconds minute hour day  59 month, 00, year, flag, flag
//   60..61 switch power-on flags (+ "11"/"00" reset, "00")
//   62..63 switch symbol "M:" flags  64..69 symbol codes mod 64 ("%04d%04d")
//   70..79 "00000000"             80..87 HTTP post address field (64 characters)
// Only entries 0..87 are kept in memory; a save keeps entries 88..127 as the file it replaces
// held them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompt.h"
#include "tables/table_types.h"

namespace pelor::tables {

inline constexpr const char* kLabelHeader = "[TABLE][6800][8][128]\n";
inline constexpr std::size_t kLabelEntryCount = 128;  // entries the header names
inline constexpr std::size_t kLabelStringCount = 64;
inline constexpr std::size_t kKanteloSwitchCount = 12;
inline constexpr std::size_t kSymbolCodeCount = 16;
// The HTTP post address keeps at most this many characters: ":80" follows in its 64-byte field.
inline constexpr std::size_t kHttpAddressMax = 61;

// One tachometer hour counter: four hour digits (thousands first), two minute digits (tens
// first) and a flag character carried through unchanged.
struct TachometerSetting {
    std::array<std::uint8_t, 6> digits{};
    char flag = '0';
};

// The NMEA time settings, stored as digit strings in label entries 48..59.
struct NmeaTimeSettings {
    std::uint8_t utcOffset = 0;  // hours; entry 48 starts the 24-hour table there
    std::array<TachometerSetting, 3> tachometers{};
    std::uint8_t seconds = 0, minute = 0, hour = 0, day = 0;  // entry 58
    std::uint8_t month = 0, middle = 0, year = 0;             // entry 59
    char dateFlag = '0';                                      // entry 59, written twice
};

// Everything the application takes from the labels file beside the raw entries.
struct LabelSettings {
    std::array<std::string, kLabelStringCount> LabelStrings;     // entries 0..63, 8 bytes each
    std::array<std::string, kKanteloSwitchCount> KanteloLabels;  // entries 16..27
    std::array<bool, kKanteloSwitchCount> switchPowerOn{};
    bool powerOnReset = false;
    std::array<std::uint8_t, kSymbolCodeCount> symbolCodes{};  // 0..63 "T:", 64..127 "M:"
    NmeaTimeSettings time;
    std::string httpPostAddress;  // without the ":80" and the '#' fill
};

// The 8 bytes of label entry `entry`.
std::string_view LabelEntry(const LabelTable& labels, std::size_t entry);
void SetLabelEntry(LabelTable& labels, std::size_t entry, std::string_view text);

// Decodes a loaded labels table (digits are value = character - '0', modulo 256).
LabelSettings DecodeLabelSettings(const LabelTable& labels);

// Name of switch symbol code c (the name of c mod 64), and the 128 choice texts
// "T:Button" ... "T:Sym 63", "M:Button" ... "M:Sym 63".
std::string SymbolName(int code);
std::vector<std::string> SymbolChoices();

// The 64-character HTTP field: the address (cut at 61 characters), ":80", then '#' fill.
std::array<char, 64> HttpField(std::string_view address);
// The address in a 64-character field: trailing '#' fill and a final ":80" removed.
std::string HttpAddressFromField(std::string_view field);

// Fills entries 16..27 and 32..87 from `settings` (entries 0..15 and 28..31 are written as
// they are in `labels`), then writes the file projectDir + name: entries 0..87, then the
// lines of entries 88..127 of the file it replaces, unchanged. Returns success.
bool WriteLabelFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                    LabelTable& labels, const LabelSettings& settings);

}  // namespace pelor::tables
