// Every page of the demo project on the real window, on the default landscape model and on a
// portrait model (the logic test covers every display type): live values from the simulated unit,
// every page turned with the pointer, and no gauge reaching the right or bottom edge of the gauge
// area, where it would be cut.
#include <gtest/gtest.h>

#include <QPushButton>
#include <fstream>
#include <sstream>
#include <string>

#include "display/layout.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/gauge_area.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Rewrites byte 6 (the display type) of the demo copy's options file: entry line 7.
void SetDisplayType(const std::string& optionsPath, int type) {
    std::ifstream in(optionsPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    std::size_t at = 0;
    for (int line = 0; line < 7; ++line) at = s.find('\n', at) + 1;
    ASSERT_EQ(s.compare(at, 4, "db %"), 0) << "unexpected options line";
    static const char kHex[] = "0123456789ABCDEF";
    s[at + 4] = kHex[(type >> 4) & 0xF];
    s[at + 5] = kHex[type & 0xF];
    std::ofstream(optionsPath, std::ios::binary | std::ios::trunc) << s;
}

// Pixels of `shot` inside `r` that differ from `bare` by more than a little.
int ChangedPixels(const QImage& bare, const QImage& shot, const QRect& r) {
    int changed = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb a = bare.pixel(x, y);
            const QRgb b = shot.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qGreen(a) - qGreen(b)) > 24 ||
                std::abs(qBlue(a) - qBlue(b)) > 24) {
                ++changed;
            }
        }
    }
    return changed;
}

void ShowEveryPage(int displayType) {
    SCOPED_TRACE("display type " + std::to_string(displayType));
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    SetDisplayType(demo.Dir() + "DemoOptions.txt", displayType);
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "200"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "1"},
                             {"IPAddress", "127.0.0.1"},
                             {"TCPPort", std::to_string(sim.Port())},
                             {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_EQ(d.page.m_nDisplayType, displayType);
        auto* area = window.findChild<ui::GaugeArea*>();
        ASSERT_NE(area, nullptr);
        const core::Rect g = d.display.Layout().scaledGaugeArea;
        const QPoint origin = area->mapTo(&window, QPoint(g.x, g.y));
        const QRect gauges(origin, QSize(g.width, g.height));
        // The last pixels inside the gauge area, right and bottom, and the gap between the
        // area and the button column.
        const QRect rightEdge(gauges.right() - 3, gauges.top(), 4, gauges.height());
        const QRect bottomEdge(gauges.left(), gauges.bottom() - 3, gauges.width(), 4);
        const int column = d.display.Layout().buttonColumn.x;
        const QRect gap(
            gauges.right() + 1, gauges.top(),
            std::max(1, area->mapTo(&window, QPoint(column, 0)).x() - gauges.right() - 1),
            gauges.height());

        scenario::Pump(300ms);
        const QImage bare = scenario::GrabWindow(window);
        ASSERT_TRUE(window.rect().contains(gauges)) << "gauge area outside the window";

        QPushButton* connect = window.Button(app::kIdConnect);
        ASSERT_NE(connect, nullptr);
        scenario::Click(*connect, connect->rect().center());
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s))
            << "never connected: " << window.windowTitle().toStdString();

        QPushButton* next = window.Button(app::kIdPage);
        ASSERT_NE(next, nullptr);
        for (int page = 0; page < d.page.m_nPageCount; ++page) {
            if (page > 0) {
                // A pointer already at the spot makes xdotool's synchronous move wait: click
                // a few pixels apart each time.
                scenario::Click(*next, next->rect().center() + QPoint(page % 2 == 0 ? 4 : -4, 0));
                ASSERT_TRUE(scenario::WaitUntil([&] { return d.page.m_nCurrentPage == page; }, 3s));
            }
            // Wait until every gauge the page places on this display type has had a value.
            const auto& layout = d.display.Layout();
            int expected = 0;
            for (int label = 0; label < 16; ++label) {
                const int mode = d.labelModes[page][label] & 0x0F;
                if (display::StyleIndexForMode(mode) >= 0 && !layout.modeUnavailable[mode] &&
                    !display::CellMissing(layout, d.labelCells[page][label])) {
                    ++expected;
                }
            }
            auto placed = [&] {
                std::lock_guard lock(d.channels.mutex);
                int n = 0;
                for (int m : d.channels.m_PosMode) n += m != 0 ? 1 : 0;
                return n;
            };
            EXPECT_TRUE(scenario::WaitUntil([&] { return placed() >= expected; }, 6s))
                << "page " << page << ": " << placed() << " of " << expected << " gauges placed";
            scenario::Pump(300ms);
            const QImage shot = scenario::GrabWindow(window);
            scenario::SaveShot(shot, "gauges-fit-type" + std::to_string(displayType) + "-page" +
                                         std::to_string(page));
            EXPECT_EQ(ChangedPixels(bare, shot, rightEdge), 0)
                << "page " << page << ": a gauge reaches the right edge of the gauge area";
            EXPECT_EQ(ChangedPixels(bare, shot, bottomEdge), 0)
                << "page " << page << ": a gauge reaches the bottom edge of the gauge area";
            EXPECT_EQ(ChangedPixels(bare, shot, gap), 0)
                << "page " << page << ": something drawn right of the gauge area";
            EXPECT_GT(ChangedPixels(bare, shot, gauges), 2000)
                << "page " << page << " shows almost nothing";
        }
    });
}

TEST(GaugesFitScenario, LandscapeT100L) {
    ShowEveryPage(9);
}

TEST(GaugesFitScenario, PortraitT100P) {
    ShowEveryPage(10);
}

}  // namespace
