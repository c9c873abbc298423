#include "app/interaction.h"

#include "app/dashboard.h"
#include "app/label_menu_table.h"
#include "core/format.h"

namespace pelor::app {

bool SelectCellAt(Dashboard& d, int x, int y) {
    const int cell = display::CellAt(d.display.Layout(), x, y);
    if (cell < 0) return false;
    d.page.m_nSelectedCell = cell;
    return true;
}

bool RunLabelMenuCommand(Dashboard& d, int commandId) {
    const auto choice = LabelMenuChoiceFor(commandId);
    if (!choice) return false;
    const int page = d.page.m_nCurrentPage;
    if (page < 0 || page >= static_cast<int>(d.labelModes.size())) return true;
    const auto p = static_cast<std::size_t>(page);
    const auto label = static_cast<std::size_t>(choice->label);
    {
        // The decoders place values by this configuration: change it with the store held.
        std::lock_guard lock(d.channels.mutex);
        d.labelModes[p][label] = static_cast<std::uint8_t>(choice->mode);
        if (choice->mode != display::kModeNone) {
            d.labelCells[p][label] = static_cast<std::uint8_t>(d.page.m_nSelectedCell);
        }
    }
    d.ResetPositions();
    return true;
}

void ClearCurrentPage(Dashboard& d) {
    {
        std::lock_guard lock(d.channels.mutex);
        display::ClearPage(d.labelModes, d.page.m_nCurrentPage, d.channels);
    }
    d.view.RequestRepaint();
}

void ToggleGrid(Dashboard& d) {
    d.page.m_bShowGrid = d.page.m_bShowGrid == 1 ? 0 : 1;
    {
        std::lock_guard lock(d.channels.mutex);
        d.channels.m_bRedrawAll = 1;
    }
    d.view.RequestRepaint();
}

void GoToFirstPage(Dashboard& d) {
    if (!d.Links().Connected()) {
        d.page.m_nCurrentPage = d.page.m_nPageCount;
        d.NextPage();
        return;
    }
    // The unit only knows "next page": it is stepped on until it wraps to page 0, the window
    // following each step, so that both show the same page. On page 0 nothing is sent.
    for (int step = 0; step <= static_cast<int>(tables::kPageCount); ++step) {
        if (d.page.m_nCurrentPage == 0 || !d.NextPage()) return;
    }
}

unit::ToggleResult ToggleSwitchOutput(Dashboard& d, int output) {
    const auto& values = d.tables.values;
    unit::SwitchSetup setup;
    setup.moduleKind = values.kanteloMode;
    setup.bankInstance = values.kanteloCountHigh;
    setup.connected = d.Links().Connected();
    setup.connectionType = setup.connected ? d.Links().OpenType() : d.settings.connectionType;
    return unit::ToggleSwitch(
        setup, d.channels, output,
        [&d](std::string_view bytes) { return d.Links().SendToLink(bytes, false); }, d.view,
        d.prompt, d.clock.MonotonicMs());
}

int TouchZoneAt(const display::LayoutState& layout, int x, int y) {
    for (int zone = 0; zone < 4; ++zone) {
        const core::Rect& r = layout.touchZones[static_cast<std::size_t>(zone)];
        if (r.width > 0 && r.height > 0 && x >= r.x && x < r.x + r.width && y >= r.y &&
            y < r.y + r.height) {
            return zone;
        }
    }
    return -1;
}

core::Rect NormalWindowRect(const display::LayoutState& layout) {
    const core::Rect& n = layout.normalWindow;
    return {n.width, n.height, n.x, n.y};
}

std::optional<core::Rect> FullScreenRect(int displayType, const core::Rect& normal) {
    switch (displayType) {
        case 1:
            return core::Rect{4, 4, 800, 340};
        case 2:
            return core::Rect{4, 4, 900, 340};
        case 3:
            return core::Rect{2, 2, 800, 560};
        case 4:
        case 10:
            return core::Rect{4, 4, 640, 820};
        case 6:
            return core::Rect{4, 4, 775, 560};
        case 7:
        case 9:
            return core::Rect{2, 2, normal.width - 126, normal.height - 10};
        case 8:
            return core::Rect{4, 5, 780, 960};
        case 11:
            return core::Rect{4, 4, 1200, 560};
        case 12:
            return core::Rect{4, 4, 480, 825};
        case 13:
        case 14:
            return core::Rect{2, 2, normal.width - 130, normal.height - 1};
        default:
            return std::nullopt;
    }
}

std::string ToolTipText(int controlId) {
    switch (controlId) {
        case kIdPage:
            return "Next - click to goto next display screen";
        case kIdFlash:
            return "Flash - click to upload files to Remote Sensor Unit";
        case kIdRecord:
            return "Data Log - click to start recording or playback";
        case kIdStop:
            return "USB Log - click to start USB data log";
        case kIdConnect:
            return "Connect - click to connect to Remote Sensor Unit";
        case kIdSave:
            return "Save - click to save current screen layout";
        case kIdDisplay:
            return "Preferences - click to change system settings";
        case kIdClear:
            return "Clear Screen - click to erase current screen";
        default:
            break;
    }
    if (controlId >= kIdSwitch0 && controlId < kIdSwitch0 + kSwitchButtonCount) {
        return core::Format("Switch/Indicator %d - Red=OFF, Green=ON, Yellow=UNKNOWN",
                            controlId - 1533);
    }
    return {};
}

}  // namespace pelor::app
