// Night at the helm: N switches day, dusk and night in the running window, every page of both
// demo projects turns deep red with live values, minus dims it, and the look comes back after
// a restart; on a touch screen the touch menu's DAY/NIGHT does the same, and the dialogs a
// skipper opens at night (touch menu, preferences sheet, playback window) are red as well.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

#include "app/dashboard.h"
#include "display/look.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/playback_window.h"
#include "ui/preferences_sheet.h"
#include "ui/qt_settings_store.h"
#include "ui/touch_menus_dialog.h"
#include "ui/window_interaction.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// No pixel of a night window may carry more green or blue than this (0..255). The palette
// keeps both at or below 12; the rest is room for the X server's rounding.
constexpr int kNightLimit = 16;
// Dialogs drawn by the widget style: its thin contrast lines are translucent white over the
// dark ground, which leaves faint grey edges (about #483c3c at most) that no palette reaches.
constexpr int kNightDialogLimit = 64;

struct Brightest {
    int red = 0;
    int greenBlue = 0;
    QPoint where;  // of the brightest green or blue
    QColor colour;
};

Brightest Measure(const QImage& image) {
    Brightest b;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            b.red = std::max(b.red, qRed(line[x]));
            const int gb = std::max(qGreen(line[x]), qBlue(line[x]));
            if (gb > b.greenBlue) {
                b.greenBlue = gb;
                b.where = QPoint(x, y);
                b.colour = QColor(line[x]);
            }
        }
    }
    return b;
}

QImage GrabScreen() {
    QCoreApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

QImage GrabWidgetOnScreen(QWidget& w) {
    const QRect r(w.mapToGlobal(QPoint(0, 0)), w.size());
    return GrabScreen().copy(r);
}

// Expects `image` to be night-red: nothing green or blue above the limit, something lit, and
// mostly dark.
void ExpectNight(const QImage& image, const std::string& what, int limit = kNightLimit) {
    const Brightest b = Measure(image);
    EXPECT_LE(b.greenBlue, limit) << what << ": green or blue " << b.greenBlue << " at ("
                                  << b.where.x() << "," << b.where.y() << "), colour "
                                  << b.colour.name().toStdString();
    EXPECT_GE(b.red, 90) << what << ": nothing lit at night";
    // Lit text on a dark ground, not a bright red ground: a light palette tinted red passes
    // the green-and-blue limit but blinds at night.
    EXPECT_LT(scenario::LitShare(image, 100), 0.3) << what << ": a bright ground at night";
}

display::Palette PaletteOf(ui::CDataViewerDlg& window) {
    return window.WindowLook().palette;
}

struct Demo {
    const char* example;
    const char* mode;
    const char* connection;
    const char* title;  // what the title shows once data flows
};

void NightOverEveryPage(const Demo& demo) {
    scenario::EnsureApplication();
    scenario::DemoProject project(demo.example);
    scenario::Simulator sim({"--tcp", "0", "--mode", demo.mode, "--interval", "250"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteTcpSettings(project, sim, demo.connection);
    const std::string name = std::string("look-") + demo.example;

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return window.windowTitle().contains(demo.title); }, 8s))
            << window.windowTitle().toStdString();
        ASSERT_EQ(PaletteOf(window), display::Palette::Day);
        scenario::Pump(600ms);
        const QImage day = scenario::GrabWindow(window);
        EXPECT_GT(Measure(day).greenBlue, 120) << "the day window should not look red already";

        scenario::Key(window, "n");
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return PaletteOf(window) == display::Palette::Dusk; }, 3s));
        scenario::Pump(600ms);
        scenario::SaveShot(scenario::GrabWindow(window), name + "-dusk");

        scenario::Key(window, "n");
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return PaletteOf(window) == display::Palette::Night; }, 3s));

        // Every page with its live values, as the X server shows it.
        const int pages = std::max(1, d.page.m_nPageCount);
        QPushButton* page = window.Button(app::kIdPage);
        ASSERT_NE(page, nullptr);
        for (int i = 0; i < pages; ++i) {
            scenario::Pump(700ms);
            const QImage night = scenario::GrabWindow(window);
            scenario::SaveShot(night, name + "-night-page" + std::to_string(i + 1));
            ExpectNight(night, demo.example + std::string(" page ") + std::to_string(i + 1));
            EXPECT_GT(scenario::ChangedShare(day, night), 0.2);
            scenario::Click(*page, page->rect().center());
        }

        // Three steps dimmer: the brightest red falls.
        const int fullRed = Measure(scenario::GrabWindow(window)).red;
        for (int i = 0; i < 3; ++i) scenario::Key(window, "minus");
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.WindowLook().brightness == 7; }, 3s))
            << window.WindowLook().brightness;
        scenario::Pump(600ms);
        const QImage dim = scenario::GrabWindow(window);
        scenario::SaveShot(dim, name + "-night-dimmed");
        EXPECT_LT(Measure(dim).red, fullRed - 30);
        EXPECT_LE(Measure(dim).greenBlue, kNightLimit);
    });

    // Closing the window kept the look; the next start comes up in it.
    {
        QSettings saved(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                        ui::QtSettingsStore::ApplicationName());
        EXPECT_EQ(saved.value(app::kPaletteName).toInt(), 2);
        EXPECT_EQ(saved.value(app::kBrightnessName).toInt(), 7);
    }
    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        EXPECT_EQ(PaletteOf(window), display::Palette::Night);
        EXPECT_EQ(window.WindowLook().brightness, 7);
        scenario::Pump(700ms);
        const Brightest b = Measure(scenario::GrabWindow(window));
        EXPECT_LE(b.greenBlue, kNightLimit) << "restarted at night but drew green or blue";
        // N from night goes back to day.
        scenario::Key(window, "n");
        EXPECT_TRUE(
            scenario::WaitUntil([&] { return PaletteOf(window) == display::Palette::Day; }, 3s));
    });
}

TEST(LookScenario, NightKeyTurnsEveryUnitDemoPageRedDimsAndPersists) {
    NightOverEveryPage({"demo", "text", "129", "SIM"});
}

TEST(LookScenario, NightKeyTurnsEveryN2kDemoPageRed) {
    NightOverEveryPage({"demo-n2k", "frames", "132", "N2K Packets"});
}

ui::PlaybackDialog* OpenPlaybackDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<ui::PlaybackDialog*>(w);
        if (d != nullptr && d->isVisible()) return d;
    }
    return nullptr;
}

TEST(LookScenario, TouchMenuSwitchesToNightAndDialogsFollow) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    // A read-only log: RECORD opens it for playback.
    const std::string log = demo.Dir() + "DemoLog.txt";
    std::filesystem::permissions(log,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "1"},
                             {"IPAddress", "127.0.0.1"},
                             {"ShowCOMStatus", "128"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_EQ(d.page.m_bTouchMode, 1);
        QWidget* area = window.GaugeAreaWidget();
        const core::Rect zone = d.display.Layout().touchZones[display::kTouchMenu];

        // The touch menu runs its own loop: press DAY/NIGHT twice inside it (day -> dusk ->
        // night; the menu stays open), look at it, then close it.
        bool pressed = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<ui::TouchMenusDialog*>(QApplication::activeModalWidget());
            if (menu == nullptr || pressed) return;
            pressed = true;
            scenario::Pump(300ms);
            QPushButton* night = menu->Button(ui::kIdTouchNight);
            ASSERT_NE(night, nullptr);
            scenario::Click(*night, night->rect().center());
            scenario::Pump(300ms);
            scenario::Click(*night, night->rect().center());
            scenario::WaitUntil([&] { return PaletteOf(window) == display::Palette::Night; }, 3s);
            scenario::Pump(400ms);
            ExpectNight(GrabWidgetOnScreen(*menu), "touch menu");
            scenario::SaveShot(GrabScreen(), "look-night-touch-menu");
            menu->reject();
        });
        driver.start(50);
        scenario::Click(*area, QPoint(zone.x + zone.width / 2, zone.y + zone.height / 2));
        ASSERT_TRUE(scenario::WaitUntil([&] { return pressed; }, 5s)) << "no touch menu";
        driver.stop();
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return QApplication::activeModalWidget() == &window; }, 5s));
        EXPECT_EQ(PaletteOf(window), display::Palette::Night);
        scenario::Pump(500ms);
        ExpectNight(scenario::GrabWindow(window), "window after the touch menu");

        // The preferences sheet, every page, at night.
        bool sheetSeen = false;
        QTimer sheetDriver;
        QObject::connect(&sheetDriver, &QTimer::timeout, [&] {
            auto* sheet = qobject_cast<ui::PreferencesSheet*>(QApplication::activeModalWidget());
            if (sheet == nullptr || sheetSeen) return;
            sheetSeen = true;
            ASSERT_TRUE(scenario::WaitUntil([&] { return sheet->isVisible(); }, 3s));
            QTabWidget* tabs = sheet->Tabs();
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                scenario::Pump(200ms);
                const QImage shot = scenario::GrabWindow(*sheet);
                if (i == 0) scenario::SaveShot(shot, "look-night-preferences");
                ExpectNight(shot, "preferences page " + tabs->tabText(i).toStdString(),
                            kNightDialogLimit);
            }
            sheet->reject();
        });
        sheetDriver.start(50);
        QPushButton* display = window.Button(app::kIdDisplay);
        ASSERT_NE(display, nullptr);
        scenario::Click(*display, display->rect().center());
        EXPECT_TRUE(scenario::WaitUntil([&] { return sheetSeen; }, 5s)) << "no sheet";
        sheetDriver.stop();
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return QApplication::activeModalWidget() == &window; }, 5s));

        // The playback window.
        d.Capture().SetLogPath(log);
        QPushButton* record = window.Button(app::kIdRecord);
        scenario::Click(*record, record->rect().center());
        ui::PlaybackDialog* playback = nullptr;
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return (playback = OpenPlaybackDialog()) != nullptr; }, 3s))
            << "RECORD on a read-only log opened no playback window";
        playback->move(window.geometry().right() + 20, window.geometry().top());
        scenario::Pump(400ms);
        const QImage shot = GrabWidgetOnScreen(*playback);
        scenario::SaveShot(shot, "look-night-playback");
        ExpectNight(shot, "playback window", kNightDialogLimit);
        scenario::Click(*record, record->rect().center());
        EXPECT_TRUE(scenario::WaitUntil([&] { return OpenPlaybackDialog() == nullptr; }, 3s));
    });
}

}  // namespace
