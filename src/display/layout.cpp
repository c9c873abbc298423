#include "display/layout.h"

#include <algorithm>

namespace pelor::display {

namespace {

// Gauge areas by display-model group, in buffer pixels.
constexpr core::Rect kAreaSmall{20, 20, 500, 280};       // type 0
constexpr core::Rect kAreaFixedBlock{20, 20, 640, 680};  // type 1
constexpr core::Rect kAreaWide{20, 20, 980, 255};        // type 2
constexpr core::Rect kAreaLandscape{20, 20, 640, 500};   // types 3, 5, 6, 7, 9
constexpr core::Rect kAreaPortrait{20, 20, 592, 760};    // types 4, 8, 10
constexpr core::Rect kAreaT200L{20, 20, 1000, 520};      // type 11
constexpr core::Rect kAreaT200P{20, 20, 592, 1010};      // type 12
constexpr core::Rect kAreaLarge{22, 22, 1178, 768};      // types 13, 14

constexpr std::array<DisplayTypeInfo, kDisplayTypeCount> kTypes{{
    {"", 0, 540, -1, 540, -1, kAreaSmall, 0, 0, 0},
    {"", '1', 800, 600, 800, 340, kAreaFixedBlock, 0, 0, 0},
    {"", 'A', 900, 340, 1080, 210, kAreaWide, 0, 0, 1},
    {"", 'B', 950, 700, 800, 570, kAreaLandscape, 2000, 2100, 3},
    {"", 'E', 780, 860, 780, 850, kAreaPortrait, 0, 0, 5},
    {"", 0, -1, -1, -1, -1, kAreaLandscape, 0, 0, 0},
    {"T050L", 'B', 950, 700, 800, 570, kAreaLandscape, 2000, 2100, 3},
    {"", 'C', 800, 700, 800, 570, kAreaLandscape, 2000, 2100, 4},
    {"T050P", 'D', 780, 960, 780, 960, kAreaPortrait, 0, 0, 0},
    {"T100L", 'C', 800, 700, 800, 570, kAreaLandscape, 2000, 2100, 4},
    {"T100P", 'E', 780, 860, 780, 850, kAreaPortrait, 2300, 2400, 5},
    {"T200L", 'G', 1340, 680, 1350, 560, kAreaT200L, 2000, 2100, 7},
    {"T200P", 'H', 600, 860, 600, 825, kAreaT200P, 2300, 2400, 6},
    {"T300L", 'F', 1350, 960, 1350, 840, kAreaLarge, 1700, 1500, 11},
    {"T400L", 'F', 1350, 960, 1350, 840, kAreaLarge, 1360, 1200, 11},
}};

struct GridShape {
    char letter;
    std::array<std::int32_t, 6> columns;
    std::array<std::int32_t, 8> rows;
};

// Every row of a grid shares its column values. Grid C is the T100L's; the others follow it
// so that a page laid out for one model fits the others: the portrait models keep its
// rows' order with more room between them and narrower columns, the larger landscape models
// spread it over their area. A row value equal to the next one (or to the area's bottom)
// leaves that row of cells missing: the short wide model has three rows.
constexpr std::array<GridShape, 8> kGrids{{
    {'A', {0, 245, 337, 490, 643, 720}, {0, 80, 120, 255, 255, 255, 255, 255}},
    {'B', {0, 160, 220, 320, 420, 480}, {0, 80, 120, 180, 260, 340, 420, 500}},
    {'C', {0, 160, 220, 320, 420, 470}, {0, 80, 120, 180, 260, 350, 420, 500}},
    {'D', {0, 150, 200, 300, 385, 450}, {0, 100, 150, 230, 330, 440, 540, 760}},
    {'E', {0, 150, 200, 300, 385, 450}, {0, 100, 150, 230, 330, 440, 540, 760}},
    {'F', {0, 294, 405, 589, 773, 865}, {0, 123, 184, 276, 399, 538, 645, 768}},
    {'G', {0, 250, 344, 500, 656, 734}, {0, 83, 125, 187, 270, 364, 437, 520}},
    {'H', {0, 150, 200, 300, 385, 450}, {0, 140, 210, 310, 440, 590, 720, 1010}},
}};

// Fixed 4 x 4 block of the type without a model grid: cells 0..15 of 160 x 60.
constexpr int kBlockWidth = 160;
constexpr int kBlockHeight = 60;

constexpr int Scaled(int value, int scale) {
    return static_cast<int>(static_cast<long long>(value) * scale / 100);
}

core::Rect ScaledRect(core::Rect r, int scale) {
    return {Scaled(r.x, scale), Scaled(r.y, scale), Scaled(r.width, scale),
            Scaled(r.height, scale)};
}

core::Rect Corners(int x1, int y1, int x2, int y2) {
    return {x1, y1, x2 - x1, y2 - y1};
}

std::array<core::Rect, 4> TouchZonesAtFullScale(int displayType, const core::Rect& area) {
    switch (displayType) {
        case 3:
        case 6:
            return {Corners(350, 260, 720, 540), Corners(350, 0, 720, 250), Corners(0, 0, 350, 250),
                    Corners(0, 260, 350, 540)};
        case 7:
        case 9:
            return {Corners(400, 260, 610, 540), Corners(400, 0, 610, 250), Corners(0, 0, 300, 250),
                    Corners(0, 260, 300, 540)};
        case 11:
            return {Corners(0, 0, 500, 250), Corners(500, 0, 1000, 250), Corners(0, 250, 500, 530),
                    Corners(500, 250, 1000, 530)};
        case 12:
            return {Corners(0, 0, 350, 400), Corners(350, 0, 720, 400), Corners(0, 400, 350, 820),
                    Corners(350, 400, 720, 820)};
        default: {
            // The other models: the quarters of the gauge area, in the order of type 11.
            const int right = area.x + area.width;
            const int bottom = area.y + area.height;
            const int midX = right / 2;
            const int midY = bottom / 2;
            return {Corners(0, 0, midX, midY), Corners(midX, 0, right, midY),
                    Corners(0, midY, midX, bottom), Corners(midX, midY, right, bottom)};
        }
    }
}

void MarkUnavailable(LayoutState& layout) {
    layout.modeUnavailable.fill(false);
    auto mark = [&](std::initializer_list<int> modes) {
        for (int m : modes) layout.modeUnavailable[m] = true;
    };
    switch (layout.displayType) {
        case 0:
            mark({kModeLargeRamp, kModeLargeText, kModeSmallText});
            break;
        case 1:
            mark({kModeBarText, kModeDial, kModeHistogram, kModeHugeText, kModeLargeDial,
                  kModeLargeRamp, kModeLargeText});
            break;
        case 2:
            mark({kModeHistogram, kModeLargeDial, kModeLargeRamp, kModeLargeText});
            break;
        default:
            break;
    }
}

// The window size at a display scale other than 100: the gauge part shrinks, the button
// column (150 pixels) and the frame (10 pixels) do not. For T050L without the status
// window this is 650 s + 150 by 570 s + 10.
void ScaledWindow(const DisplayTypeInfo& t, LayoutState& layout) {
    const int s = layout.scale;
    if (t.widthWithoutStatus < 0) return;
    const int width = layout.statusWindow ? t.widthWithStatus : t.widthWithoutStatus;
    layout.windowWidth = Scaled(width - 150, s) + 150;
    if (t.heightWithoutStatus < 0) return;
    layout.windowHeight = Scaled(t.heightWithoutStatus, s) + 10;
    if (layout.statusWindow) layout.windowHeight += t.heightWithStatus - t.heightWithoutStatus;
}

}  // namespace

const DisplayTypeInfo& DisplayTypeFor(int displayType) {
    if (displayType < 0 || displayType >= kDisplayTypeCount) return kTypes[0];
    return kTypes[static_cast<std::size_t>(displayType)];
}

void BuiltInGrid(char letter, GridValues& x, GridValues& y) {
    x.fill(0);
    y.fill(0);
    if (letter == '1') {
        for (int i = 0; i < 16; ++i) {
            x[i] = (i % 4) * kBlockWidth;
            y[i] = (i / 4) * kBlockHeight;
        }
        return;
    }
    for (const auto& g : kGrids) {
        if (g.letter != letter) continue;
        for (int k = 0; k < kGridValues; ++k) {
            x[k] = g.columns[k % 6];
            y[k] = g.rows[k / 6];
        }
    }
}

LayoutState ComputeLayout(int displayType, int scale, bool statusWindow) {
    LayoutState layout;
    layout.displayType = displayType;
    layout.scale = (scale < 1 || scale > 100) ? 100 : scale;
    layout.statusWindow = statusWindow;
    const DisplayTypeInfo& t = DisplayTypeFor(displayType);
    const int s = layout.scale;

    MarkUnavailable(layout);

    const auto zones = TouchZonesAtFullScale(displayType, t.gaugeArea);
    for (int i = 0; i < 4; ++i) layout.touchZones[i] = ScaledRect(zones[i], s);

    layout.gaugeArea = t.gaugeArea;
    layout.scaledGaugeArea = {t.gaugeArea.x, t.gaugeArea.y, Scaled(t.gaugeArea.width, s),
                              Scaled(t.gaugeArea.height, s)};

    BuiltInGrid(t.grid, layout.gridX, layout.gridY);
    if (t.grid == '1') {
        for (int k = 0; k < 16; ++k) {
            layout.cells[k] = {Scaled(layout.gridX[k], s) + kGridOffset,
                               Scaled(layout.gridY[k], s) + kGridOffset, Scaled(kBlockWidth, s),
                               Scaled(kBlockHeight, s)};
        }
    } else if (t.grid != 0) {
        const int rightEdge = t.gaugeArea.width;
        for (int k = 0; k < kCellCount; ++k) {
            const int x1 = layout.gridX[k];
            const int x2 = (k % 6 == 5) ? rightEdge : layout.gridX[k + 1];
            const int y1 = layout.gridY[k];
            const int y2 = layout.gridY[k + 6];
            if (x2 > x1 && y2 > y1) {
                const int left = Scaled(x1, s);
                const int top = Scaled(y1, s);
                layout.cells[k] = {left + kGridOffset, top + kGridOffset, Scaled(x2, s) - left,
                                   Scaled(y2, s) - top};
            }
        }
    }

    if (s == 100) {
        layout.windowWidth = statusWindow ? t.widthWithStatus : t.widthWithoutStatus;
        layout.windowHeight = statusWindow ? t.heightWithStatus : t.heightWithoutStatus;
    } else {
        ScaledWindow(t, layout);
    }
    layout.windowX = 4;
    layout.windowY = (!statusWindow && (displayType == 6 || displayType == 9)) ? 6 : 5;
    layout.normalWindow = {layout.windowWidth, layout.windowHeight, 10, 10};

    const core::Rect& a = layout.scaledGaugeArea;
    if (statusWindow) {
        const int room = t.heightWithStatus - t.heightWithoutStatus - 20;
        layout.statusRect = {a.x, a.y + a.height + 10, a.width, std::max(room, 80)};
    }
    layout.buttonColumn = {a.x + a.width + 10, a.y, 120, a.height};
    return layout;
}

int CellAt(const LayoutState& layout, int x, int y) {
    for (int k = 0; k < kCellCount; ++k) {
        const core::Rect& r = layout.cells[k];
        if (r.width > 0 && r.height > 0 && x >= r.x && x < r.x + r.width && y >= r.y &&
            y < r.y + r.height) {
            return k;
        }
    }
    return -1;
}

bool CellMissing(const LayoutState& layout, int cell) {
    if (cell < 0 || cell >= kCellCount) return false;
    const DisplayTypeInfo& t = DisplayTypeFor(layout.displayType);
    if (t.grid == 0) return false;
    if (t.grid == '1') return cell >= 16;
    const int x1 = layout.gridX[cell];
    const int x2 = (cell % 6 == 5) ? t.gaugeArea.width : layout.gridX[cell + 1];
    return x2 <= x1 || layout.gridY[cell + 6] <= layout.gridY[cell];
}

void ResetPositions(decode::ChannelStore& store) {
    store.m_PosMode.fill(0);
    store.m_PosFrame.fill(0);
    store.m_PosX.fill(0);
    store.m_PosY.fill(0);
    store.m_bRedrawAll = 1;
}

void ApplyLayout(LayoutState& layout, decode::ChannelStore& store, int displayType, int scale,
                 bool statusWindow) {
    layout = ComputeLayout(displayType, scale, statusWindow);
    ResetPositions(store);
}

void ClearPage(LabelGrid& labelModes, int currentPage, decode::ChannelStore& store) {
    if (currentPage >= 0 && currentPage < static_cast<int>(labelModes.size())) {
        labelModes[static_cast<std::size_t>(currentPage)].fill(0);
    }
    store.m_PosMode.fill(0);
    store.m_bRedrawAll = 1;
}

}  // namespace pelor::display
