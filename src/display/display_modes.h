#pragma once
// Display modes: how one value is shown. The codes are stored in the page tables and sent by
// the unit's screen records as three-digit gauge type codes.
#include <cstdint>

namespace pelor::display {

enum Mode : std::int32_t {
    kModeNone = 0,
    kModeData = 1,
    kModeHistogram = 2,
    kModeBargraph = 4,
    kModeIndicator = 5,
    kModeDial = 6,
    kModeLargeDial = 8,
    kModeLargeRamp = 9,
    kModeLargeText = 10,
    kModeBarText = 11,
    kModeSmallText = 12,
    kModeHugeText = 13,
};

inline constexpr int kModeCodeCount = 16;
inline constexpr int kStyleCount = 11;

// Index of the gauge style record that draws `mode`, or -1 for the codes that draw nothing
// (0, 3, 7, 14, 15 and anything out of range).
int StyleIndexForMode(int mode);

// The mode a unit gauge type code maps to (kModeNone for codes not assigned).
int ModeForGaugeTypeCode(int code);

// True for the modes that draw a frame chosen by the value (bars, dials, histogram, huge text).
bool ModeUsesFrame(int mode);

}  // namespace pelor::display
