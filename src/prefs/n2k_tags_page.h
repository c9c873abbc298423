#pragma once
// The NMEA 2000 page: for each of the sixteen displays the PGN to listen to, the device
// instance, the parameter within the PGN, a number (capacity, scale, set point or threshold)
// and a source byte with an enable flag. They are options bytes 256..335:
//   256 + 2k  PGN choice (high nibble) and instance (low nibble)   257 + 2k  parameter
//   288 + 2k  number, high byte                                     289 + 2k  number, low byte
//   320 + k   source choice (bits 0..6), enable (bit 7)
// The PGN slots and the adapter flag after them (336..367) are not the page's.
#include <array>
#include <string>
#include <vector>

#include "core/prompt.h"
#include "tables/options_section.h"
#include "tables/table_types.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

inline constexpr int kN2kRowCount = 16;
inline constexpr int kN2kPgnChoiceCount = 16;
inline constexpr std::size_t kN2kTagsFirst = 256;
inline constexpr std::size_t kN2kTagsCount = 80;

// "DISABLED", "PGN 127488 - Engine Pramater Rapid", ... "PGN 129026 - COG & SOG".
const std::array<const char*, kN2kPgnChoiceCount>& N2kPgnChoices();
// The parameters of PGN choice `pgn` in index order; {"DISABLED"} outside 1..15.
const std::vector<std::string>& N2kParameterChoices(int pgn);
// The caption of a row's number field for its PGN and parameter; "" when the row has none.
std::string N2kNumberCaption(int pgn, int parameter);
// "Label 0" .. "Label 14", "PORTRPMM".
std::string N2kRowCaption(int row);

struct N2kRow {
    int instance = 0;   // 0..9
    int pgn = 0;        // 0..15
    int parameter = 0;  // 0..255; may lie past the PGN's list when a file says so
    int number = 0;     // 0..65535
    int source = 0;     // 0..9 (0..127 kept when a file holds more)
    bool enabled = false;
};

struct N2kTagsPage {
    std::array<N2kRow, kN2kRowCount> rows{};
    // The rows as the options gave them. An instance or source the user left as it was may
    // be what the file holds past 9 (up to 15 and 127), and is written back as held.
    std::array<N2kRow, kN2kRowCount> asLoaded{};
};

N2kTagsPage N2kTagsFromOptions(const OptionsTable& options);
// Writes bytes 256..335 only.
void ApplyN2kTags(const N2kTagsPage& page, OptionsTable& options);
// "" when every row is in range (a changed instance or source 0 to 9), else the message naming
// the first row that is not.
std::string CheckN2kTagsPage(const N2kTagsPage& page);

// Bytes 256..335 as a section of the options file.
extern const OptionsSectionRow<N2kTagsPage> kN2kTagsSection;

// OPEN: bytes 256..335 of directory + optionsFile into `page` ("Error loading Options file" when
// the file cannot be read; the page is then left as it was).
bool OpenN2kTagsPage(core::Prompt& prompt, const std::string& directory,
                     const std::string& optionsFile, N2kTagsPage& page);

// PREFSAVE: rewrites lines 256..335 of the options file in place, then "File Saved". A page
// with a field out of range is refused with a message and nothing is written.
bool SaveN2kTagsPage(core::Prompt& prompt, const std::string& directory,
                     const std::string& optionsFile, const N2kTagsPage& page);

}  // namespace pelor::prefs
