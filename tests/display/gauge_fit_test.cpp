// Every gauge of the demo project's pages, placed by the page configuration into the grid of
// every display type, lies wholly inside the gauge area and clear of every other gauge: at
// full scale and at a display scale of 60 (the buffer keeps full size and is only shrunk when
// copied to the window, so the placement must not shrink with it).
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "display/gauge_paint.h"
#include "display/gauge_style.h"
#include "display/layout.h"
#include "tables/page_file.h"
#include "tables/project_file.h"
#include "tables/project_tables.h"

namespace pelor::display {
namespace {

const std::string kDemoDir = PELOR_SOURCE_DIR "/examples/demo/";
const std::string kN2kDemoDir = PELOR_SOURCE_DIR "/examples/demo-n2k/";

struct PlacedGauge {
    int label = 0;
    int mode = 0;
    int cell = 0;
    core::Rect rect;
};

bool Inside(const core::Rect& r, const core::Rect& area) {
    return r.x >= area.x && r.y >= area.y && r.x + r.width <= area.x + area.width &&
           r.y + r.height <= area.y + area.height;
}

bool Overlap(const core::Rect& a, const core::Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

std::string Describe(const PlacedGauge& g) {
    std::ostringstream out;
    out << "label " << g.label << " mode " << g.mode << " cell " << g.cell << " at (" << g.rect.x
        << ", " << g.rect.y << ") " << g.rect.width << " x " << g.rect.height;
    return out.str();
}

// The gauges a page shows on a layout, as the channel update places them.
std::vector<PlacedGauge> PlacePage(tables::PageTable& pages, int page, const LayoutState& layout,
                                   const GaugeStyles& styles) {
    std::vector<PlacedGauge> placed;
    for (int label = 0; label < 16; ++label) {
        const int mode = tables::LabelMode(pages, page, label) & 0x0F;
        const int cell = tables::LabelCell(pages, page, label);
        if (StyleIndexForMode(mode) < 0) continue;
        if (layout.modeUnavailable[mode] || CellMissing(layout, cell)) continue;
        const int x = cell < kGridValues ? layout.gridX[cell] : 0;
        const int y = cell < kGridValues ? layout.gridY[cell] : 0;
        placed.push_back({label, mode, cell, GaugeRect(layout.displayType, styles, mode, x, y)});
    }
    return placed;
}

// Checks every page of the project in `dir` on every display type with a grid.
void CheckDemoFits(const std::string& dir, const std::string& projectFile) {
    SCOPED_TRACE(dir + projectFile);
    core::ScriptedPrompt prompt;
    tables::Project project;
    project.directory = dir;
    ASSERT_EQ(tables::LoadProject(prompt, project, dir, projectFile, false), projectFile);
    auto t = std::make_unique<tables::ProjectTables>();
    tables::LoadStartupTables(prompt, project, *t);
    ASSERT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const int pageCount = t->values.pageCount;
    ASSERT_GT(pageCount, 0);
    const GaugeStyles styles = DefaultGaugeStyles();

    int checked = 0;
    for (int type = 0; type < kDisplayTypeCount; ++type) {
        // The types without a grid place every gauge at the origin: a page configuration
        // cannot lay anything out there.
        if (DisplayTypeFor(type).grid == 0) continue;
        for (int scale : {100, 60}) {
            const LayoutState layout = ComputeLayout(type, scale, false);
            for (int page = 0; page < pageCount; ++page) {
                const auto placed = PlacePage(t->pages, page, layout, styles);
                const std::string where = "type " + std::to_string(type) + " scale " +
                                          std::to_string(scale) + " page " + std::to_string(page) +
                                          ": ";
                for (std::size_t i = 0; i < placed.size(); ++i) {
                    ++checked;
                    EXPECT_TRUE(Inside(placed[i].rect, layout.gaugeArea))
                        << where << Describe(placed[i]) << " leaves the gauge area";
                    for (std::size_t j = i + 1; j < placed.size(); ++j) {
                        EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect))
                            << where << Describe(placed[i]) << " overlaps " << Describe(placed[j]);
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(GaugeFit, EveryDemoPageFitsEveryDisplayTypeAtFullAndReducedScale) {
    CheckDemoFits(kDemoDir, "Demo.cdp");
    CheckDemoFits(kN2kDemoDir, "DemoN2K.cdp");
}

TEST(GaugeFit, ReducedScaleShrinksTheCellsButNotTheBufferPlacement) {
    const LayoutState full = ComputeLayout(9, 100, false);
    const LayoutState reduced = ComputeLayout(9, 60, false);
    EXPECT_EQ(reduced.gridX, full.gridX);
    EXPECT_EQ(reduced.gridY, full.gridY);
    // Cell 7 spans x 160..220 and y 80..120 of the buffer; in the window that is 60 percent.
    EXPECT_EQ(reduced.cells[7], (core::Rect{20 + 96, 20 + 48, 36, 24}));
    EXPECT_EQ(CellAt(reduced, 20 + 96 + 1, 20 + 48 + 1), 7);
}

TEST(GaugeFit, MissingCellsAndHiddenModes) {
    struct Case {
        int type;
        int cell;
        bool missing;
        const char* legend;
    };
    const Case kCases[] = {
        {1, 15, false, "the fixed block's last cell"},
        {1, 16, true, "the fixed block has sixteen cells"},
        {9, 41, false, "T100L has all 42"},
        {0, 30, false, "no grid: nothing is missing, everything lands at the origin"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(CellMissing(ComputeLayout(c.type, 100, false), c.cell), c.missing) << c.legend;
    }
    // The short wide model has fewer rows than seven: its last row of cells is missing.
    EXPECT_TRUE(CellMissing(ComputeLayout(2, 100, false), 36));
}

}  // namespace
}  // namespace pelor::display
