// The NMEA 2000 demo as a new user starts it: the NMEA 2000 demo project, connected at start
// to the simulator's adapter frames over TCP on 127.0.0.1. The caption reports the frames,
// the gauges come up and move, and PAGE pressed with the pointer shows each of the four
// pages with gauges of its own.
#include <gtest/gtest.h>

#include <QPushButton>

#include "../../tools/demo_project_n2k.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

TEST(N2kDemoScenario, EveryPageShowsMovingGaugesFromTheAdapterFrames) {
    scenario::EnsureApplication();
    scenario::DemoProject demo("demo-n2k");
    scenario::Simulator sim({"--tcp", "0", "--mode", "frames", "--interval", "250"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "132"},  // TCP frames, connect at start
                             {"IPAddress", "127.0.0.1"},
                             {"TCPPort", std::to_string(sim.Port())},
                             {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return window.windowTitle().contains("N2K Packets"); }, 8s))
            << "caption never reported frames: " << window.windowTitle().toStdString();
        QPushButton* page = window.Button(app::kIdPage);
        ASSERT_NE(page, nullptr);

        // Lit pixels are counted inside the gauge area, where the background picture alone
        // lights 2.2 % and the sparsest page (six digital boxes, two bars) about 4 %: the
        // window around it is black.
        QWidget* area = window.GaugeAreaWidget();
        ASSERT_NE(area, nullptr);
        const QRect gauges(area->mapTo(&window, QPoint(0, 0)), area->size());

        std::vector<QImage> pages;
        for (int p = 0; p < tools::kN2kDemoPageCount; ++p) {
            ASSERT_EQ(window.dashboard().page.m_nCurrentPage, p);
            // Wait until the page's gauges are up, then until they move.
            QImage first;
            ASSERT_TRUE(scenario::WaitUntil(
                [&] {
                    first = scenario::GrabWindow(window);
                    return scenario::LitShare(first.copy(gauges)) > 0.03;
                },
                8s))
                << "page " << p << " shows almost nothing";
            QImage later;
            EXPECT_TRUE(scenario::WaitUntil(
                [&] {
                    later = scenario::GrabWindow(window);
                    return scenario::ChangedShare(first, later) > 0.0005;
                },
                8s))
                << "no gauge of page " << p << " moved";
            scenario::SaveShot(later, "n2k-demo-page" + std::to_string(p));
            pages.push_back(later);

            scenario::Click(*page, page->rect().center());
            ASSERT_TRUE(scenario::WaitUntil(
                [&] {
                    return window.dashboard().page.m_nCurrentPage ==
                           (p + 1) % tools::kN2kDemoPageCount;
                },
                3s))
                << "PAGE clicked through the X server did not turn page " << p;
        }
        // Each page has a layout of its own.
        for (std::size_t a = 0; a < pages.size(); ++a) {
            for (std::size_t b = a + 1; b < pages.size(); ++b)
                EXPECT_GT(scenario::ChangedShare(pages[a], pages[b]), 0.05)
                    << "pages " << a << " and " << b << " look alike";
        }
    });
}

}  // namespace
