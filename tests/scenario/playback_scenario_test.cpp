// Playing a log back as a new user does: no link, a read-only demo log, RECORD pressed with the
// pointer, fast forward in the "Log Playback" window; the gauge area must show the log's
// values, and after PAGE the next page's gauges, for a sentence log and an adapter frame log.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <filesystem>

#include "logs/playback_modes.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/gauge_area.h"
#include "ui/playback_window.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// What the X server shows of the gauge area alone.
QImage GaugeAreaShot(ui::CDataViewerDlg& window) {
    const QImage whole = scenario::GrabWindow(window);
    auto* area = window.findChild<ui::GaugeArea*>();
    if (area == nullptr) return whole;
    const core::Rect r = window.dashboard().display.Layout().scaledGaugeArea;
    return whole.copy(r.x, r.y + area->y(), r.width, r.height);
}

ui::PlaybackDialog* OpenPlaybackDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<ui::PlaybackDialog*>(w);
        if (d != nullptr && d->isVisible()) return d;
    }
    return nullptr;
}

void PlayAndExpectValues(const std::string& log, const std::string& shot) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    const std::string path = demo.Dir() + log;
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    // No link; one step a second, as the demo runs.
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "1"},
                             {"IPAddress", "127.0.0.1"},
                             {"CaptureInterval", "1"},
                             {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        window.dashboard().Capture().SetLogPath(path);
        const QImage bare = GaugeAreaShot(window);
        scenario::SaveShot(bare, shot + "-before");

        QPushButton* record = window.Button(app::kIdRecord);
        scenario::Click(*record, record->rect().center());
        ui::PlaybackDialog* dialog = nullptr;
        ASSERT_TRUE(
            scenario::WaitUntil([&] { return (dialog = OpenPlaybackDialog()) != nullptr; }, 3s))
            << "RECORD on a read-only log opened no playback window";
        // Out of the way of the gauge area, as a user would drag it.
        dialog->move(window.geometry().right() + 20, window.geometry().top());
        scenario::Pump(200ms);
        QPushButton* forward = dialog->Button(logs::PlaybackButton::FastForward);
        scenario::Click(*forward, forward->rect().center());

        QImage playing;
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                playing = GaugeAreaShot(window);
                return scenario::ChangedShare(bare, playing) > 0.02;
            },
            6s))
            << "the gauge area stayed empty while the log played";
        scenario::SaveShot(playing, shot + "-playing");
        EXPECT_TRUE(window.windowTitle().startsWith("playing back log"))
            << window.windowTitle().toStdString();

        // Paused on the slider, PAGE shows the log's values on the next page.
        QPushButton* pause = dialog->Button(logs::PlaybackButton::Stop);
        scenario::Click(*pause, pause->rect().center());
        scenario::Pump(300ms);
        const QImage before = GaugeAreaShot(window);
        QPushButton* page = window.Button(app::kIdPage);
        scenario::Click(*page, page->rect().center());
        QImage next;
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                next = GaugeAreaShot(window);
                return window.dashboard().page.m_nCurrentPage == 1 &&
                       scenario::ChangedShare(bare, next) > 0.02 &&
                       scenario::ChangedShare(before, next) > 0.01;
            },
            4s))
            << "after PAGE the paused playback showed no values";
        scenario::SaveShot(next, shot + "-next-page");

        scenario::Click(*record, record->rect().center());
        EXPECT_TRUE(scenario::WaitUntil([&] { return OpenPlaybackDialog() == nullptr; }, 3s));
    });
}

TEST(PlaybackScenario, ASentenceLogDrawsItsValuesAndFollowsThePage) {
    PlayAndExpectValues("DemoLog.txt", "playback-text");
}

TEST(PlaybackScenario, AnAdapterFrameLogDrawsItsValues) {
    PlayAndExpectValues("DemoLog.ebl", "playback-ebl");
}

}  // namespace
