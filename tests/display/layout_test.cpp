#include "display/layout.h"

#include <gtest/gtest.h>

namespace pelor::display {
namespace {

TEST(Layout, GridCIsTheGivenTable) {
    GridValues x;
    GridValues y;
    BuiltInGrid('C', x, y);
    const int columns[] = {0, 160, 220, 320, 420, 470};
    const int rows[] = {0, 80, 120, 180, 260, 350, 420, 500};
    for (int k = 0; k < kGridValues; ++k) {
        EXPECT_EQ(x[k], columns[k % 6]) << k;
        EXPECT_EQ(y[k], rows[k / 6]) << k;
    }
}

TEST(Layout, EveryModelGridIncreasesAndFitsItsGaugeArea) {
    for (int type = 0; type < kDisplayTypeCount; ++type) {
        const LayoutState l = ComputeLayout(type, 100, false);
        for (int k = 0; k < kCellCount; ++k) {
            const core::Rect& c = l.cells[k];
            if (c.width == 0) continue;
            EXPECT_GT(c.height, 0) << "type " << type << " cell " << k;
            EXPECT_GE(c.x, l.gaugeArea.x - 2) << "type " << type << " cell " << k;
            EXPECT_LE(c.x + c.width, l.gaugeArea.x + l.gaugeArea.width + 2)
                << "type " << type << " cell " << k;
            EXPECT_LE(c.y + c.height, l.gaugeArea.y + l.gaugeArea.height + 2)
                << "type " << type << " cell " << k;
        }
    }
}

TEST(Layout, CellsTouchZonesAndWindowSizes) {
    struct Case {
        int type = 0;
        int scale = 100;
        bool status = false;
        int cell = 0;
        core::Rect wantCell;
        core::Rect wantNextPage;
        int wantWidth = 0;
        int wantHeight = 0;
        const char* legend = "";
    };
    const Case kCases[] = {
        {9, 100, false, 0, {20, 20, 160, 80}, {400, 260, 210, 280}, 800, 570, "T100L cell 0"},
        {9,
         100,
         true,
         5,
         {490, 20, 170, 80},
         {400, 260, 210, 280},
         800,
         700,
         "last column ends at the area's right edge"},
        {9, 100, false, 41, {490, 440, 170, 80}, {400, 260, 210, 280}, 800, 570, "cell 41"},
        {6,
         50,
         false,
         7,
         {100, 60, 30, 20},
         {175, 130, 185, 140},
         475,
         295,
         "T050L at half scale: 650 s + 150 by 570 s + 10"},
        {1, 100, false, 5, {180, 80, 160, 60}, {0, 0, 330, 350}, 800, 340, "fixed 4 x 4 block"},
        {1, 100, false, 16, {0, 0, 0, 0}, {0, 0, 330, 350}, 800, 340, "block has 16 cells"},
        {2,
         100,
         false,
         30,
         {0, 0, 0, 0},
         {0, 0, 500, 137},
         1080,
         210,
         "wide model's short rows are empty"},
        {11, 100, false, 0, {20, 20, 250, 83}, {0, 0, 500, 250}, 1350, 560, "T200L"},
        {12, 100, true, 0, {20, 20, 150, 140}, {0, 0, 350, 400}, 600, 860, "T200P"},
        {14, 100, false, 0, {20, 20, 294, 123}, {0, 0, 600, 395}, 1350, 840, "T400L"},
        {5, 100, false, 0, {0, 0, 0, 0}, {0, 0, 330, 260}, -1, -1, "type 5 keeps the window"},
    };
    for (const auto& c : kCases) {
        const LayoutState l = ComputeLayout(c.type, c.scale, c.status);
        EXPECT_EQ(l.cells[c.cell], c.wantCell) << c.legend;
        EXPECT_EQ(l.touchZones[kTouchNextPage], c.wantNextPage) << c.legend;
        EXPECT_EQ(l.windowWidth, c.wantWidth) << c.legend;
        EXPECT_EQ(l.windowHeight, c.wantHeight) << c.legend;
        EXPECT_EQ(l.normalWindow, (core::Rect{c.wantWidth, c.wantHeight, 10, 10})) << c.legend;
    }
}

TEST(Layout, HalfScaleHalvesZonesCellsAndTheScreenCopyButNotTheBuffer) {
    const LayoutState full = ComputeLayout(9, 100, false);
    const LayoutState half = ComputeLayout(9, 50, false);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(half.touchZones[i].x, full.touchZones[i].x / 2);
        EXPECT_EQ(half.touchZones[i].width, full.touchZones[i].width / 2);
    }
    // The grid stays in buffer pixels: the buffer is shrunk as a whole when copied.
    EXPECT_EQ(half.gridX[2], 220);
    EXPECT_EQ(half.gridY[12], 120);
    EXPECT_EQ(half.cells[2], (core::Rect{20 + 110, 20, 50, 40}));
    EXPECT_EQ(half.gaugeArea, full.gaugeArea);
    EXPECT_EQ(half.scaledGaugeArea, (core::Rect{20, 20, 320, 250}));
    EXPECT_EQ(CellAt(half, 20 + 80 + 1, 20 + 40 + 1), 7);
}

TEST(Layout, WindowPlacementAndGreyedModes) {
    EXPECT_EQ(ComputeLayout(6, 100, false).windowY, 6);
    EXPECT_EQ(ComputeLayout(6, 100, true).windowY, 5);
    EXPECT_EQ(ComputeLayout(10, 100, false).windowY, 5);
    const LayoutState t0 = ComputeLayout(0, 100, false);
    EXPECT_TRUE(t0.modeUnavailable[kModeLargeRamp]);
    EXPECT_TRUE(t0.modeUnavailable[kModeSmallText]);
    EXPECT_FALSE(t0.modeUnavailable[kModeDial]);
    const LayoutState t1 = ComputeLayout(1, 100, false);
    EXPECT_TRUE(t1.modeUnavailable[kModeDial]);
    EXPECT_FALSE(t1.modeUnavailable[kModeData]);
    EXPECT_FALSE(ComputeLayout(9, 100, false).modeUnavailable[kModeHistogram]);
}

TEST(Layout, ApplyLayoutResetsPositionsAndClearPageEmptiesTheCurrentPage) {
    decode::ChannelStore store;
    store.m_PosMode.fill(6);
    store.m_PosX.fill(5);
    store.m_bRedrawAll = 0;
    LayoutState layout;
    ApplyLayout(layout, store, 10, 100, true);
    EXPECT_EQ(layout.displayType, 10);
    EXPECT_EQ(store.m_PosMode[3], 0);
    EXPECT_EQ(store.m_PosX[15], 0);
    EXPECT_EQ(store.m_bRedrawAll, 1);
    EXPECT_EQ(layout.statusRect.y, layout.scaledGaugeArea.y + layout.scaledGaugeArea.height + 10);

    LabelGrid modes{};
    for (auto& page : modes) page.fill(4);
    store.m_PosMode.fill(4);
    store.m_bRedrawAll = 0;
    ClearPage(modes, 2, store);
    EXPECT_EQ(modes[2][15], 0);
    EXPECT_EQ(modes[1][0], 4);
    EXPECT_EQ(store.m_PosMode[7], 0);
    EXPECT_EQ(store.m_bRedrawAll, 1);
    ClearPage(modes, 99, store);  // out of range: nothing but the live modes
}

}  // namespace
}  // namespace pelor::display
