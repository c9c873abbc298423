#pragma once
// Display types and their geometry: the grid of cells each display model offers, the window
// sizes with and without the status window, the touch zones, the gauge area, and the
// factors that turn the unit's screen-record coordinates into window pixels.
//
// Grids are 48 x and 48 y values (8 rows of 6, read row by row) in pixels at scale 100.
// Cell k = 6r + c (42 cells, 7 rows of 6) spans x[k]..x[k+1] (the last column ends at the
// gauge area's right edge) and y[k]..y[k+6]. Drawing coordinates are offset by 20 pixels.
#include <array>
#include <cstdint>

#include "core/canvas.h"
#include "decode/channel_store.h"
#include "display/display_modes.h"

namespace pelor::display {

inline constexpr int kDisplayTypeCount = 15;
inline constexpr int kGridValues = 48;
inline constexpr int kCellCount = 42;
inline constexpr int kGridOffset = 20;
// The status window's first text and its text limit.
inline constexpr const char* kStatusWindowText = " Communication Status window ";
inline constexpr int kStatusWindowLimit = 1000;

using GridValues = std::array<std::int32_t, kGridValues>;
using LabelGrid = std::array<std::array<std::uint8_t, 16>, 16>;  // [page][label]

enum TouchZone : int {
    kTouchNextPage = 0,
    kTouchSwitches = 1,
    kTouchFirstPage = 2,
    kTouchMenu = 3
};

// How the gauge area is cleared when the bare background is shown.
enum class BackgroundKind { Picture, Black };

struct DisplayTypeInfo {
    const char* model = "";     // "T050L" ..., or "" for the types without a display model
    char grid = 0;              // 'A'..'H', '1' for the fixed 4 x 4 block, 0 for none
    int widthWithStatus = -1;   // -1: leave as it is
    int heightWithStatus = -1;  // -1: leave as it is
    int widthWithoutStatus = -1;
    int heightWithoutStatus = -1;
    core::Rect gaugeArea;  // in the off-screen buffer, at scale 100
    int recordScaleX = 0;  // screen-record factor in thousandths; 0: records ignored
    int recordScaleY = 0;
    int background = 0;  // theme background entry 1..12, 0: black
};

// The table row of `displayType`; out-of-range codes get the row of type 0.
const DisplayTypeInfo& DisplayTypeFor(int displayType);

// The built-in grid of a letter ('A'..'H', '1'); all zero for anything else.
void BuiltInGrid(char letter, GridValues& x, GridValues& y);

// Everything ApplyLayout derives for one display type, scale and status-window setting.
struct LayoutState {
    int displayType = 0;
    int scale = 100;            // percent, 1..100
    bool statusWindow = false;  // the status window is shown under the gauge area
    // Active grid in buffer pixels (the buffer keeps full size at every scale and is shrunk
    // only when copied to the window): where the page configuration places gauges and where
    // the grid lines are drawn.
    GridValues gridX{};
    GridValues gridY{};
    std::array<core::Rect, kCellCount> cells{};  // window pixels; empty where unused
    std::array<core::Rect, 4> touchZones{};      // by TouchZone, window pixels
    core::Rect gaugeArea;                        // buffer pixels (unscaled)
    core::Rect scaledGaugeArea;                  // where the gauge area lands in the window
    int windowWidth = -1;                        // -1: keep the current size
    int windowHeight = -1;
    int windowX = 4;
    int windowY = 5;
    core::Rect normalWindow;  // width, height, 10, 10: restored when leaving full screen
    core::Rect statusRect;    // the status window under the gauge area (empty when hidden)
    core::Rect buttonColumn;  // where the main window's buttons go, right of the gauge area
    std::array<bool, kModeCodeCount> modeUnavailable{};  // greyed in the label menus
};

// Computes the layout of a display type. A scale outside 1..100 counts as 100.
LayoutState ComputeLayout(int displayType, int scale, bool statusWindow);

// Index of the cell containing window point (x, y), or -1.
int CellAt(const LayoutState& layout, int x, int y);

// Whether cell `cell` (0..41) is missing from the display type's grid: the fixed block has
// 16 cells, the short wide model fewer rows. The types without a grid miss none (everything
// they place lands at the origin).
bool CellMissing(const LayoutState& layout, int cell);

// Clears mode, frame and position of all sixteen channels and asks for the bare background
// on the next paint. The caller holds the store's mutex and then requests the repaint.
void ResetPositions(decode::ChannelStore& store);

// Applies a display type: recomputes the layout and resets the positions.
void ApplyLayout(LayoutState& layout, decode::ChannelStore& store, int displayType, int scale,
                 bool statusWindow);

// Sets the mode of every label of `currentPage` to NONE and clears the drawn modes; the
// caller holds the store's mutex and then requests the repaint.
void ClearPage(LabelGrid& labelModes, int currentPage, decode::ChannelStore& store);

}  // namespace pelor::display
