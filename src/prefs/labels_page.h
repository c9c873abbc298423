#pragma once
// The LABELS page: the sixteen gauge labels (label entries 0..15), and per Kantelo switch its
// label, symbol code and power-on flag, plus the power-on reset of all relays. The page only
// collects: the labels file is written when the sheet ends ("Save Display Labels?").
#include <array>
#include <string>

#include "tables/label_file.h"
#include "tables/table_types.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

inline constexpr int kPageLabelCount = 16;
inline constexpr int kLabelWidth = 8;

struct LabelsPage {
    std::array<std::string, kPageLabelCount> labels;  // at most 8 characters each
    std::array<std::string, kKanteloSwitchCount> kanteloLabels;
    std::array<int, kKanteloSwitchCount> symbolCodes{};  // 0..127
    std::array<bool, kKanteloSwitchCount> powerOn{};
    bool powerOnReset = false;
    bool saveRequested = false;
    // The labels as the file gave them. A label the user left as it was is not checked: the
    // file may hold one the page would refuse (an apostrophe, a byte past 0x7E), and it is
    // written back as held.
    std::array<std::string, kPageLabelCount> labelsAsLoaded;
    std::array<std::string, kKanteloSwitchCount> kanteloLabelsAsLoaded;
};

// The captions of the sixteen label fields: "Display Label 0" .. "Display Label 11",
// "NMEA Label ", "PULSE Label 2", "PULSE Label 1", "PULSE Label 0".
std::string LabelCaption(int entry);

// The page for the loaded labels (trailing blanks of each 8-byte entry dropped).
LabelsPage LabelsPageFrom(const LabelSettings& settings);

// "" when every label the user changed fits 8 plain characters without apostrophes and every
// code is 0..127.
std::string CheckLabelsPage(const LabelsPage& page);

// Puts the page's values into the window's labels: entries 0..15 and 16..27 of `labels`, the
// label strings, the switch labels, flags and symbol codes.
void ApplyLabelsPage(const LabelsPage& page, LabelTable& labels, LabelSettings& settings);

}  // namespace pelor::prefs
