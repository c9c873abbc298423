// What the window says about itself: the status window beside live gauges, a unit that goes
// away mid-run, and the keys that do and do not end the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSettings>

#include "app/qt_settings_store.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/gauge_area.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

QImage GaugeAreaShot(ui::CDataViewerDlg& window) {
    const QImage whole = scenario::GrabWindow(window);
    auto* area = window.findChild<ui::GaugeArea*>();
    if (area == nullptr) return whole;
    const core::Rect r = window.dashboard().display.Layout().scaledGaugeArea;
    return whole.copy(r.x, r.y + area->y(), r.width, r.height);
}

// Bright pixels: gauge texts and lit needles and bars, not the dark background picture.
double Bright(const QImage& image) {
    return scenario::LitShare(image, 150);
}

// The reader takes at most TCPBufferSize bytes per half second; a buffer that keeps up with
// the simulator leaves no backlog in the socket, so the end of the stream is seen at once.
void ConnectToSimulator(scenario::Simulator& sim, const scenario::DemoProject& demo,
                        const std::string& showStatus) {
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "129"},
                             {"IPAddress", "127.0.0.1"},
                             {"TCPPort", std::to_string(sim.Port())},
                             {"TCPBufferSize", "3000"},
                             {"ShowCOMStatus", showStatus}});
}

TEST(WindowStateScenario, TheStatusWindowKeepsTheGauges) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "200"});
    ASSERT_GT(sim.Port(), 0) << sim.Address();
    ConnectToSimulator(sim, demo, "1");

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s));
        auto* status = window.findChild<QWidget*>("StatusWindow");
        ASSERT_NE(status, nullptr);
        EXPECT_TRUE(status->isVisible());
        // Every look for two seconds finds the gauges drawn, while the status text changes.
        for (int i = 0; i < 8; ++i) {
            scenario::Pump(250ms);
            const QImage shot = GaugeAreaShot(window);
            if (i == 0) scenario::SaveShot(scenario::GrabWindow(window), "status-window");
            EXPECT_GT(Bright(shot), 0.01) << "look " << i << ": the gauges were blanked";
        }
    });
}

TEST(WindowStateScenario, AUnitKilledMidRunTurnsLinkAndGaugesStaleWithinTwoSeconds) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "200"});
    ASSERT_GT(sim.Port(), 0) << sim.Address();
    ConnectToSimulator(sim, demo, "0");

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s));
        scenario::Pump(500ms);
        QPushButton* connect = window.Button(app::kIdConnect);
        const QRect button = connect->geometry();
        const QImage connectedLook = scenario::GrabWindow(window).copy(button);
        const QImage live = GaugeAreaShot(window);
        scenario::SaveShot(live, "unit-killed-before");
        ASSERT_GT(Bright(live), 0.01);

        sim.Kill();
        QImage dead;
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                dead = GaugeAreaShot(window);
                return window.windowTitle().contains("link lost") &&
                       !window.dashboard().Links().Connected() && Bright(dead) < Bright(live) * 0.4;
            },
            2s))
            << "two seconds after the unit died: caption '" << window.windowTitle().toStdString()
            << "', bright share " << Bright(live) << " -> " << Bright(dead);
        scenario::SaveShot(scenario::GrabWindow(window), "unit-killed-after");

        // The Connect button no longer shows its connected look.
        const QImage lostLook = scenario::GrabWindow(window).copy(button);
        EXPECT_GT(scenario::ChangedShare(connectedLook, lostLook), 0.01);
    });
}

TEST(WindowStateScenario, EscapeLeavesItRunningAndAltF4ClosesAndSaves) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ConnectionType", "1"}});
    bool closedByKey = false;
    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        scenario::Key(window, "Escape");
        scenario::Pump(400ms);
        EXPECT_TRUE(window.isVisible()) << "Escape ended the program";
        scenario::Key(window, "Return");
        scenario::Pump(400ms);
        EXPECT_TRUE(window.isVisible()) << "Return pressed a button that closed the window";
        scenario::Key(window, "alt+F4");
        closedByKey = scenario::WaitUntil([&] { return !window.isVisible(); }, 3s);
    });
    EXPECT_TRUE(closedByKey) << "Alt+F4 did not close the window";
    QSettings saved(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                    app::QtSettingsStore::ApplicationName());
    EXPECT_TRUE(saved.contains("GaugeStaleSeconds")) << "the settings were not saved at close";
    EXPECT_EQ(saved.value("ProjectFilePath").toString().toStdString(), demo.Project());
}

TEST(WindowStateScenario, OkClosesAndSaves) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ConnectionType", "1"}});
    bool closed = false;
    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        QPushButton* ok = window.Button(app::kIdOk);
        scenario::Click(*ok, ok->rect().center());
        closed = scenario::WaitUntil([&] { return !window.isVisible(); }, 3s);
    });
    EXPECT_TRUE(closed);
    QSettings saved(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                    app::QtSettingsStore::ApplicationName());
    EXPECT_TRUE(saved.contains("GaugeStaleSeconds"));
}

}  // namespace
