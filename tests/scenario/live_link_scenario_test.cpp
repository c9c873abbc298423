// The demo as a new user starts it: the demo project, connected at start to the simulated unit
// over TCP on 127.0.0.1; the gauges come up and move, and PAGE pressed with the pointer turns
// the page.
#include <gtest/gtest.h>

#include <QPushButton>

#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

TEST(LiveLinkScenario, GaugesComeUpAndMoveAndPageTurnsFromThePointer) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::RunConnectedWindow(demo, 250ms, [&](ui::CDataViewerDlg& window) {
        const QImage first = scenario::GrabWindow(window);
        scenario::SaveShot(first, "live-link-first");
        EXPECT_GT(scenario::LitShare(first), 0.02) << "the gauge area shows almost nothing";

        QImage later;
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                later = scenario::GrabWindow(window);
                return scenario::ChangedShare(first, later) > 0.0005;
            },
            8s))
            << "no gauge moved";
        scenario::SaveShot(later, "live-link-later");

        QPushButton* page = window.Button(app::kIdPage);
        ASSERT_NE(page, nullptr);
        const int before = window.dashboard().page.m_nCurrentPage;
        scenario::Click(*page, page->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return window.dashboard().page.m_nCurrentPage != before; }, 3s))
            << "PAGE clicked through the X server did not turn the page";
    });
}

}  // namespace
