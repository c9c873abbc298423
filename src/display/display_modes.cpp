#include "display/display_modes.h"

#include "display/gauge_style.h"

namespace pelor::display {

namespace {

struct ModeRow {
    int style;       // gauge style record that draws the mode; -1: the mode draws nothing
    bool usesFrame;  // the value chooses the frame (bars, dials, histogram, huge text)
};

// One row per mode code 0..15.
constexpr ModeRow kModeRows[kModeCodeCount] = {
    {-1, false},               // 0 none
    {kStyleData, false},       // 1 data
    {kStyleHistogram, true},   // 2 histogram
    {-1, false},               // 3 unassigned
    {kStyleBargraph, true},    // 4 bargraph
    {kStyleIndicator, false},  // 5 indicator
    {kStyleDial, true},        // 6 dial
    {-1, false},               // 7 unassigned
    {kStyleLargeDial, true},   // 8 large dial
    {kStyleLargeRamp, true},   // 9 large ramp
    {kStyleLargeText, false},  // 10 large text
    {kStyleBarText, true},     // 11 bar text
    {kStyleSmallText, false},  // 12 small text
    {kStyleHugeText, true},    // 13 huge text
    {-1, false},               // 14 unassigned
    {-1, false},               // 15 unassigned
};

const ModeRow* RowOf(int mode) {
    if (mode < 0 || mode >= kModeCodeCount) return nullptr;
    return &kModeRows[mode];
}

}  // namespace

int StyleIndexForMode(int mode) {
    const ModeRow* row = RowOf(mode);
    return row == nullptr ? -1 : row->style;
}

int ModeForGaugeTypeCode(int code) {
    switch (code) {
        case 79:
            return kModeData;
        case 6:
        case 106:
            return kModeBargraph;
        case 110:
        case 111:
        case 112:
        case 113:
            return kModeIndicator;
        case 3:
        case 103:
            return kModeDial;
        case 4:
        case 104:
            return kModeLargeDial;
        case 2:
        case 9:
        case 102:
        case 109:
            return kModeLargeRamp;
        case 70:
            return kModeLargeText;
        case 7:
        case 107:
            return kModeBarText;
        case 8:
        case 108:
            return kModeHugeText;
        default:
            return kModeNone;
    }
}

bool ModeUsesFrame(int mode) {
    const ModeRow* row = RowOf(mode);
    return row != nullptr && row->usesFrame;
}

}  // namespace pelor::display
