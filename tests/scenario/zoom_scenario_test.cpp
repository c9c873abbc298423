// The gauge area follows the window: resized through the X server it is drawn again at the
// new size (the artwork re-made, not stretched), the buttons keep their size beside it, a
// right click finds the cell under the pointer at the new scale, and F11 fills the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>
#include <string>

#include "app/dashboard.h"
#include "display/display_modes.h"
#include "scenario_support.h"
#include "ui/artwork.h"
#include "ui/data_viewer_dlg.h"
#include "ui/label_menus.h"
#include "ui/window_interaction.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Resizes the top-level window through the X server, as a user dragging its corner would.
void ResizeThroughX(QWidget& window, int width, int height) {
    const std::string id = std::to_string(static_cast<unsigned long long>(window.winId()));
    const std::string command = "xdotool windowsize --sync " + id + " " + std::to_string(width) +
                                " " + std::to_string(height);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Pixels of the gauge area (widget coordinates) that are not near black.
int LitPixels(const QImage& shot, const QRect& r) {
    int lit = 0;
    for (int y = r.top(); y <= r.bottom() && y < shot.height(); ++y) {
        for (int x = r.left(); x <= r.right() && x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (std::max({qRed(p), qGreen(p), qBlue(p)}) > 90) ++lit;
        }
    }
    return lit;
}

TEST(ZoomScenario, ResizedWindowRedrawsTheGaugesLargerAndThePointerFollows) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::RunConnectedWindow(demo, 300ms, [&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_DOUBLE_EQ(window.ViewZoom(), 1.0);
        const QSize start = window.size();
        const core::Rect area = d.display.Layout().scaledGaugeArea;
        scenario::Pump(800ms);
        const QImage small = scenario::GrabWindow(window);
        QWidget* gauges = window.GaugeAreaWidget();
        const QPoint origin = gauges->mapTo(&window, QPoint(0, 0));
        const int smallLit = LitPixels(
            small, QRect(origin + QPoint(area.x, area.y), QSize(area.width, area.height)));
        ASSERT_GT(smallLit, 2000) << "the gauges drew almost nothing";

        // F11: the whole screen; again: the window as it was.
        const QRect before = window.geometry();
        scenario::Key(window, "F11");
        const QRect screen = window.screen()->geometry();
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.size() == screen.size(); }, 5s))
            << window.width() << "x" << window.height();
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.ViewZoom() > 1.5; }, 5s))
            << window.ViewZoom();
        scenario::Pump(600ms);
        scenario::SaveShot(scenario::GrabWindow(window), "zoom-full-screen");
        scenario::Key(window, "F11");
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.size() == before.size(); }, 5s))
            << window.width() << "x" << window.height();
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.ViewZoom() == 1.0; }, 5s))
            << window.ViewZoom();

        // Twice as wide and high (the screen is 1920 x 1200).
        ResizeThroughX(window, start.width() * 2, start.height() * 2 - 30);
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.ViewZoom() > 1.8; }, 5s))
            << "zoom " << window.ViewZoom() << " at " << window.width() << "x" << window.height();
        const double zoom = window.ViewZoom();
        EXPECT_LE(zoom, 2.4);  // the buttons do not grow: the gauges take the rest
        scenario::Pump(800ms);
        const QImage large = scenario::GrabWindow(window);
        scenario::SaveShot(large, "zoom-resized");
        const QRect zoomed(origin + QPoint(int(area.x * zoom), int(area.y * zoom)),
                           QSize(int(area.width * zoom), int(area.height * zoom)));
        ASSERT_TRUE(window.rect().contains(zoomed)) << "the zoomed gauge area leaves the window";
        const int largeLit = LitPixels(large, zoomed);
        // The same gauges over zoom squared as many pixels.
        EXPECT_GT(largeLit, smallLit * zoom * zoom * 0.7) << smallLit << " -> " << largeLit;
        EXPECT_LT(largeLit, smallLit * zoom * zoom * 1.4) << smallLit << " -> " << largeLit;

        // The artwork was drawn again at the zoom: a strip held now is the zoomed size.
        const display::GaugeStyle& dial = d.display.Styles()[1];
        ASSERT_TRUE(window.Canvas().HasPicture(display::StripPictureName(1)));
        EXPECT_EQ(window.Canvas().Zoom(), window.ViewZoom());
        // The buttons keep their size, right of the gauge area.
        QPushButton* output5 = window.Button(app::kIdSwitch0 + 5);
        EXPECT_EQ(output5->size(), QSize(32, 32));
        QPushButton* page = window.Button(app::kIdPage);
        EXPECT_GE(page->mapTo(&window, QPoint(0, 0)).x(), zoomed.right() - 40);
        (void)dial;

        // A right click in the middle of cell 13 at the new scale finds cell 13.
        const core::Rect cell = d.display.Layout().cells[13];
        const QPoint at(int((cell.x + cell.width / 2) * zoom),
                        int((cell.y + cell.height / 2) * zoom));
        scenario::Click(*gauges, at, 3);
        QMenu* top = window.Interaction().Menus().Top();
        ASSERT_TRUE(scenario::WaitUntil([&] { return top->isVisible(); }, 3s))
            << "no label menu after a right click in a zoomed cell";
        EXPECT_EQ(d.page.m_nSelectedCell, 13);
        top->hide();
    });
}

}  // namespace
