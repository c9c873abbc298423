// What a skipper does with the pointer: switch an output of the switch module from the main
// window and see the module's report turn it green, then red; arrange a page with the right
// button's label menu; on a touch screen open the touch menu and the switch window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/dashboard.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/label_menus.h"
#include "ui/switch_window.h"
#include "ui/touch_menus_dialog.h"
#include "ui/window_interaction.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// The whole screen, popups and other windows included.
QImage GrabScreen() {
    QCoreApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The colour in the middle of a widget as the X server shows it.
QColor ShownColor(ui::CDataViewerDlg& window, QWidget& widget) {
    const QImage shot = scenario::GrabWindow(window);
    const QPoint at = widget.mapTo(&window, widget.rect().center());
    return shot.pixelColor(at);
}

TEST(InteractionScenario, SwitchButtonAndLabelMenuWithThePointer) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    // One cycle of about 500 bytes every 0.7 s: the TCP link's 500-byte reads keep up, so a
    // report is seen within a cycle or two.
    scenario::RunConnectedWindow(demo, 700ms, [&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        const auto output5 = [&] {
            std::lock_guard lock(d.channels.mutex);
            return d.channels.SwitchState[5];
        };
        ASSERT_EQ(output5(), 0);

        // Output 5 on: the module's report turns the button green.
        QPushButton* button = window.Button(app::kIdSwitch0 + 5);
        scenario::Click(*button, button->rect().center());
        ASSERT_TRUE(scenario::WaitUntil([&] { return output5() == 1; }, 6s))
            << "the module never reported output 5 on";
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                const QColor c = ShownColor(window, *button);
                return c.green() > c.red() + 60;
            },
            3s))
            << "output 5 is on but its button is not green";
        EXPECT_EQ(button->size(), QSize(32, 32));
        scenario::SaveShot(scenario::GrabWindow(window), "interaction-switch-on");

        // And off again: red.
        scenario::Click(*button, button->rect().center());
        ASSERT_TRUE(scenario::WaitUntil([&] { return output5() == 0; }, 6s))
            << "the module never reported output 5 off";
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                const QColor c = ShownColor(window, *button);
                return c.red() > c.green() + 60;
            },
            3s))
            << "output 5 is off but its button is not red";

        // Right button in grid cell 13: the label menu; label 4, "SmallDial".
        QWidget* area = window.GaugeAreaWidget();
        const core::Rect cell = d.display.Layout().cells[13];
        scenario::Click(*area, QPoint(cell.x + cell.width / 2, cell.y + cell.height / 2), 3);
        QMenu* top = window.Interaction().Menus().Top();
        ASSERT_TRUE(scenario::WaitUntil([&] { return top->isVisible(); }, 3s))
            << "no label menu after a right click in a cell";
        EXPECT_EQ(d.page.m_nSelectedCell, 13);
        scenario::Pump(200ms);
        scenario::SaveShot(GrabScreen(), "interaction-context-menu");

        QMenu* popup = window.Interaction().Menus().Popup(4);
        scenario::Click(*top, top->actionGeometry(popup->menuAction()).center());
        ASSERT_TRUE(scenario::WaitUntil([&] { return popup->isVisible(); }, 3s));
        scenario::Pump(200ms);
        scenario::SaveShot(GrabScreen(), "interaction-context-menu-label");
        QAction* dial = window.Interaction().Menus().Action(32815);
        scenario::Click(*popup, popup->actionGeometry(dial).center());
        const int page = d.page.m_nCurrentPage;
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return d.labelModes[page][4] == 6 && d.labelCells[page][4] == 13; }, 3s))
            << "the menu choice did not reach the page configuration";
        EXPECT_FALSE(top->isVisible());

        // Outside every cell: no menu.
        scenario::Click(*area, QPoint(4, 4), 3);
        scenario::Pump(300ms);
        EXPECT_FALSE(top->isVisible());
        EXPECT_EQ(d.page.m_nSelectedCell, 13);
    });
}

// Switch buttons clicked one after another before the module reports: 5, 6, and 7 twice. The
// module ends with 5 and 6 on and 7 off, and no button is left pending (yellow).
TEST(InteractionScenario, QuickSwitchClicksAllHold) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::RunConnectedWindow(demo, 700ms, [&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        const auto state = [&](int k) {
            std::lock_guard lock(d.channels.mutex);
            return d.channels.SwitchState[static_cast<std::size_t>(k)];
        };
        for (const int k : {5, 6, 7, 7}) {
            QPushButton* b = window.Button(app::kIdSwitch0 + k);
            scenario::Click(*b, b->rect().center());
        }
        ASSERT_TRUE(scenario::WaitUntil(
            [&] { return state(5) == 1 && state(6) == 1 && state(7) == 0; }, 6s))
            << "outputs 5, 6, 7: " << int(state(5)) << int(state(6)) << int(state(7));
        const auto shown = [&](int k) {
            return ShownColor(window, *window.Button(app::kIdSwitch0 + k));
        };
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                const QColor on5 = shown(5), on6 = shown(6), off7 = shown(7);
                return on5.green() > on5.red() + 60 && on6.green() > on6.red() + 60 &&
                       off7.red() > off7.green() + 60;
            },
            3s))
            << "buttons 5 and 6 are not green or 7 is not red";
        scenario::SaveShot(scenario::GrabWindow(window), "interaction-quick-switches");
        EXPECT_EQ(QApplication::activeModalWidget(), &window) << "a message came up";
    });
}

// PAGE with a link: the pressed picture is on the screen when the command goes out, and the
// normal one comes back afterwards.
TEST(InteractionScenario, PageButtonIsSeenPressedWhileItsCommandIsSent) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::RunConnectedWindow(demo, 700ms, [&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        QPushButton* page = window.Button(app::kIdPage);
        const QRect area(page->mapTo(&window, QPoint(0, 0)), page->size());
        const QImage normal = scenario::GrabWindow(window).copy(area);
        const int before = d.page.m_nCurrentPage;

        scenario::Click(*page, page->rect().center());
        QImage pressed;
        ASSERT_TRUE(scenario::WaitUntil(
            [&] {
                const QImage now = scenario::GrabWindow(window).copy(area);
                if (scenario::ChangedShare(normal, now) < 0.05) return false;
                pressed = now;
                return true;
            },
            1s))
            << "PAGE never showed pressed";
        EXPECT_NE(d.page.m_nCurrentPage, before) << "the click did not run Next page";
        scenario::SaveShot(pressed, "interaction-page-pressed");
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                return scenario::ChangedShare(normal, scenario::GrabWindow(window).copy(area)) <
                       0.01;
            },
            2s))
            << "PAGE stayed pressed";
        // The unit got the command: its status sentence names the new page.
        EXPECT_TRUE(
            scenario::WaitUntil([&] { return window.windowTitle().contains("PAGE 1"); }, 5s))
            << window.windowTitle().toStdString();
    });
}

TEST(InteractionScenario, TouchMenuAndSwitchWindowOnATouchScreen) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "1"},
                             {"IPAddress", "127.0.0.1"},
                             {"ShowCOMStatus", "128"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_EQ(d.page.m_bTouchMode, 1);
        QWidget* area = window.GaugeAreaWidget();
        const core::Rect zone = d.display.Layout().touchZones[display::kTouchMenu];

        // The touch menu runs its own loop: look at it and press SWITCH from inside it.
        bool seen = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<ui::TouchMenusDialog*>(QApplication::activeModalWidget());
            if (menu == nullptr || seen) return;
            seen = true;
            scenario::Pump(300ms);
            EXPECT_EQ(menu->windowTitle().toStdString(), "Touch Menus");
            EXPECT_EQ(menu->Button(1673)->size(), QSize(96, 96));
            scenario::SaveShot(GrabScreen(), "interaction-touch-menus");
            scenario::Click(*menu->Button(1673), menu->Button(1673)->rect().center());
        });
        driver.start(50);
        scenario::Click(*area, QPoint(zone.x + zone.width / 2, zone.y + zone.height / 2));
        ASSERT_TRUE(scenario::WaitUntil([&] { return seen; }, 5s)) << "no touch menu";
        ASSERT_TRUE(scenario::WaitUntil(
            [&] {
                return window.Interaction().Switches() != nullptr &&
                       window.Interaction().Switches()->isVisible();
            },
            5s))
            << "SWITCH did not open the Kantelo window";
        driver.stop();
        scenario::Pump(400ms);
        scenario::SaveShot(GrabScreen(), "interaction-kantelo-window");
        ui::SwitchWindow* w = window.Interaction().Switches();
        // A press with the pointer flips the button's look (no link: nothing is sent).
        const bool before = w->State(2);
        scenario::Click(*w->Button(2), w->Button(2)->rect().center());
        EXPECT_TRUE(scenario::WaitUntil([&] { return w->State(2) != before; }, 3s));
        w->close();
    });
}

}  // namespace
