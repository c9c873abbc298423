#include "app/interaction.h"

#include <gtest/gtest.h>

#include "app/dashboard.h"
#include "core/clock.h"
#include "core/prompt.h"
#include "core/settings_store.h"
#include "core/view.h"

namespace pelor::app {
namespace {

struct Fixture {
    explicit Fixture(int displayType = 9, int scale = 100) {
        std::lock_guard lock(dashboard.channels.mutex);
        dashboard.page.m_nDisplayType = displayType;
        dashboard.display.ApplyLayout(dashboard.channels, displayType, scale, false);
    }
    core::ScriptedPrompt prompt;
    core::MemorySettingsStore store;
    core::RecordingView view;
    core::ManualClock clock;
    Dashboard dashboard{prompt, store, view, clock};
};

TEST(Interaction, LabelMenuChoiceSetsModeAndSelectedCell) {
    Fixture f;
    Dashboard& d = f.dashboard;
    d.page.m_nCurrentPage = 2;
    // Grid C: cell 7 is column 1 of row 1, x 160..220, y 80..120, offset by 20.
    ASSERT_TRUE(SelectCellAt(d, 20 + 170, 20 + 90));
    EXPECT_EQ(d.page.m_nSelectedCell, 7);
    d.channels.m_PosMode[4] = 6;
    ASSERT_TRUE(RunLabelMenuCommand(d, 32815));  // label 4, DIAL
    EXPECT_EQ(d.labelModes[2][4], 6);
    EXPECT_EQ(d.labelCells[2][4], 7);
    EXPECT_EQ(d.channels.m_PosMode[4], 0) << "live positions cleared";
    EXPECT_EQ(d.channels.m_bRedrawAll, 1);

    // NONE keeps the cell; a later choice takes the newly selected cell.
    ASSERT_TRUE(SelectCellAt(d, 20 + 5, 20 + 5));
    EXPECT_EQ(d.page.m_nSelectedCell, 0);
    ASSERT_TRUE(RunLabelMenuCommand(d, 32823));  // label 4, NONE
    EXPECT_EQ(d.labelModes[2][4], 0);
    EXPECT_EQ(d.labelCells[2][4], 7);
    ASSERT_TRUE(RunLabelMenuCommand(d, 32852));  // label 4, SMALL TEXT
    EXPECT_EQ(d.labelModes[2][4], 12);
    EXPECT_EQ(d.labelCells[2][4], 0);
    EXPECT_EQ(d.labelModes[0][4], 0) << "other pages untouched";

    EXPECT_FALSE(RunLabelMenuCommand(d, 1181));
}

TEST(Interaction, PointOutsideEveryCellKeepsTheSelection) {
    Fixture f;
    Dashboard& d = f.dashboard;
    d.page.m_nSelectedCell = 9;
    EXPECT_FALSE(SelectCellAt(d, 5, 5)) << "the 20-pixel margin holds no cell";
    EXPECT_FALSE(SelectCellAt(d, 5000, 5000));
    EXPECT_EQ(d.page.m_nSelectedCell, 9);
}

TEST(Interaction, ClearGridAndFirstPage) {
    Fixture f;
    Dashboard& d = f.dashboard;
    d.page.m_nCurrentPage = 1;
    d.labelModes[1].fill(6);
    d.labelModes[0][3] = 4;
    d.channels.m_PosMode[2] = 6;
    ClearCurrentPage(d);
    for (int l = 0; l < 16; ++l) EXPECT_EQ(d.labelModes[1][static_cast<std::size_t>(l)], 0);
    EXPECT_EQ(d.labelModes[0][3], 4);
    EXPECT_EQ(d.channels.m_PosMode[2], 0);

    d.channels.m_bRedrawAll = 0;
    ToggleGrid(d);
    EXPECT_EQ(d.page.m_bShowGrid, 1);
    EXPECT_EQ(d.channels.m_bRedrawAll, 1);
    ToggleGrid(d);
    EXPECT_EQ(d.page.m_bShowGrid, 0);

    d.page.m_nPageCount = 5;
    d.page.m_nCurrentPage = 3;
    GoToFirstPage(d);
    EXPECT_EQ(d.page.m_nCurrentPage, 0);
}

TEST(Interaction, TouchZonesAtFullAndHalfScale) {
    struct Case {
        int type, scale, x, y, want;
        const char* legend;
    };
    const Case kCases[] = {
        {6, 100, 400, 300, display::kTouchNextPage, "type 6 next page"},
        {6, 100, 400, 100, display::kTouchSwitches, "type 6 switch window"},
        {6, 100, 100, 100, display::kTouchFirstPage, "type 6 first page"},
        {6, 100, 100, 300, display::kTouchMenu, "type 6 touch menu"},
        {6, 100, 100, 255, -1, "type 6 gap between the rows"},
        {6, 50, 200, 150, display::kTouchNextPage, "type 6 at 50: (175,130)-(360,270)"},
        {6, 50, 400, 150, -1, "type 6 at 50: right of every zone"},
        {6, 50, 100, 150, display::kTouchMenu, "type 6 at 50: touch menu"},
        {9, 100, 350, 100, -1, "type 9 between first page and switches"},
        {9, 50, 210, 140, display::kTouchNextPage, "type 9 at 50"},
        {11, 100, 600, 300, display::kTouchMenu, "type 11 touch menu"},
        {12, 50, 100, 250, display::kTouchFirstPage, "type 12 at 50"},
    };
    for (const auto& c : kCases) {
        const auto layout = display::ComputeLayout(c.type, c.scale, false);
        EXPECT_EQ(TouchZoneAt(layout, c.x, c.y), c.want) << c.legend;
    }
}

TEST(Interaction, FullScreenRectangles) {
    const core::Rect normal{0, 0, 800, 570};
    struct Case {
        int type;
        core::Rect want;
    };
    const Case kCases[] = {
        {1, {4, 4, 800, 340}},   {2, {4, 4, 900, 340}},  {3, {2, 2, 800, 560}},
        {4, {4, 4, 640, 820}},   {10, {4, 4, 640, 820}}, {6, {4, 4, 775, 560}},
        {7, {2, 2, 674, 560}},   {9, {2, 2, 674, 560}},  {8, {4, 5, 780, 960}},
        {11, {4, 4, 1200, 560}}, {12, {4, 4, 480, 825}}, {13, {2, 2, 670, 569}},
        {14, {2, 2, 670, 569}},
    };
    for (const auto& c : kCases) {
        const auto r = FullScreenRect(c.type, normal);
        ASSERT_TRUE(r.has_value()) << c.type;
        EXPECT_EQ(*r, c.want) << c.type;
    }
    for (int type : {0, 5, 15, -1}) EXPECT_FALSE(FullScreenRect(type, normal).has_value());
    // The layout keeps the normal window as (width, height, 10, 10).
    const auto layout = display::ComputeLayout(9, 100, false);
    EXPECT_EQ(NormalWindowRect(layout), (core::Rect{10, 10, 800, 570}));
    EXPECT_EQ(*FullScreenRect(9, NormalWindowRect(layout)), (core::Rect{2, 2, 674, 560}));
}

TEST(Interaction, ToolTipTexts) {
    EXPECT_EQ(ToolTipText(1002), "Next - click to goto next display screen");
    EXPECT_EQ(ToolTipText(1005), "USB Log - click to start USB data log");
    EXPECT_EQ(ToolTipText(1181), "Clear Screen - click to erase current screen");
    EXPECT_EQ(ToolTipText(1534), "Switch/Indicator 1 - Red=OFF, Green=ON, Yellow=UNKNOWN");
    EXPECT_EQ(ToolTipText(1545), "Switch/Indicator 12 - Red=OFF, Green=ON, Yellow=UNKNOWN");
    EXPECT_EQ(ToolTipText(1), "");
    EXPECT_EQ(ToolTipText(1546), "");
}

TEST(Interaction, SwitchToggleWithoutALinkSendsNothing) {
    Fixture f;
    f.dashboard.tables.values.kanteloMode = 0x40;
    EXPECT_EQ(ToggleSwitchOutput(f.dashboard, 5), unit::ToggleResult::NoLink);
    f.dashboard.tables.values.kanteloMode = 0x20;
    EXPECT_EQ(ToggleSwitchOutput(f.dashboard, 5), unit::ToggleResult::NotAModule);
    EXPECT_EQ(f.view.ButtonPicture(1539), "");
}

}  // namespace
}  // namespace pelor::app
