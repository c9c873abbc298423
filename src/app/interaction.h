#pragma once
// What the pointer, the label menus, the touch zones and the switch buttons do to the
// dashboard, without a window: the window turns its events into these calls.
#include <optional>
#include <string>

#include "core/canvas.h"
#include "display/layout.h"
#include "unit/switch_module.h"

namespace pelor::app {

class Dashboard;

// Context menu, first step: selects the grid cell under (x, y) (gauge-area coordinates, the
// cells' own). False when no cell holds the point; the selected cell is then kept.
bool SelectCellAt(Dashboard& d, int x, int y);

// A label menu command: the label's mode on the current page becomes the item's mode and,
// except for NONE, its cell becomes the selected cell; then the live positions are cleared.
// False for ids that are not label menu commands.
bool RunLabelMenuCommand(Dashboard& d, int commandId);

// CLEAR: every label of the current page to NONE, the drawn modes cleared, full repaint.
void ClearCurrentPage(Dashboard& d);

// Double click: the layout grid on or off, then a bare repaint.
void ToggleGrid(Dashboard& d);

// The first-page zone. Without a link the window goes to page 0 (the page count as current
// page, then next page, which wraps). With a link, Next page runs until the page wraps to 0,
// so that the unit, which only knows "next page", ends on page 0 with the window; on page 0
// nothing is sent, and a failed write stops the steps.
void GoToFirstPage(Dashboard& d);

// Toggles switch output `output` (0..11) of the switch module over the open link.
unit::ToggleResult ToggleSwitchOutput(Dashboard& d, int output);

// The touch zone (display::TouchZone) holding (x, y), tested in zone order, or -1.
int TouchZoneAt(const display::LayoutState& layout, int x, int y);

// The normal window as a rectangle (x 10, y 10, the layout's width and height); the layout
// keeps it as (width, height, 10, 10).
core::Rect NormalWindowRect(const display::LayoutState& layout);

// The full-screen window rectangle (x, y, width, height) of a display type; `normal` is the
// normal window rectangle (its width and height are used). Nothing for types that keep the
// window as it is.
std::optional<core::Rect> FullScreenRect(int displayType, const core::Rect& normal);

// The tool tip of a main-window control, or "" for controls without one.
std::string ToolTipText(int controlId);

}  // namespace pelor::app
