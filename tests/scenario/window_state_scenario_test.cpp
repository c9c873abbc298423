// What the window says about itself: the status window beside live gauges, a unit that goes
// away mid-run, and the keys that do and do not end the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "file_bytes.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/gauge_area.h"
#include "ui/qt_settings_store.h"

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
                    ui::QtSettingsStore::ApplicationName());
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
                    ui::QtSettingsStore::ApplicationName());
    EXPECT_TRUE(saved.contains("GaugeStaleSeconds"));
}

using pelor::testing::ReadBytes;

// Plays the person at the message boxes that come up: each new box is recorded (its text and
// the line under it) and answered with the button `answer` gives for it, by the pointer.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::function<QMessageBox::StandardButton(const QMessageBox&)> answer)
        : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start(40);
    }
    std::vector<std::string> boxes;
    std::function<void(QFileDialog&)> onChooser;
    int choosers = 0;

private:
    void Look() {
        // The pointer and keys below run events, and with them this timer again.
        if (busy_) return;
        busy_ = true;
        LookOnce();
        busy_ = false;
    }
    void LookOnce() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* chooser = qobject_cast<QFileDialog*>(modal); chooser != nullptr) {
            if (chooser == lastChooser_ || !chooser->isVisible()) return;
            lastChooser_ = chooser;
            QObject::connect(chooser, &QObject::destroyed, &timer_,
                             [this] { lastChooser_ = nullptr; });
            ++choosers;
            if (onChooser) onChooser(*chooser);
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr || !box->isVisible()) return;
        QAbstractButton* b = box->button(answer_(*box));
        if (box != lastBox_) {
            lastBox_ = box;
            // A later box may be built at the same address: this one is forgotten once gone.
            QObject::connect(box, &QObject::destroyed, &timer_, [this] { lastBox_ = nullptr; });
            boxes.push_back(box->text().toStdString() + "|" + box->informativeText().toStdString());
            scenario::Pump(150ms);
            if (b != nullptr) scenario::Click(*b, b->rect().center());
        } else if (b != nullptr) {
            // Still up (the pointer landed before the box was placed): press it again.
            scenario::Click(*b, b->rect().center());
        }
    }

    std::function<QMessageBox::StandardButton(const QMessageBox&)> answer_;
    QTimer timer_;
    QMessageBox* lastBox_ = nullptr;
    QFileDialog* lastChooser_ = nullptr;
    bool busy_ = false;
};

// An empty project file: one question that names the file, Yes, the project chosen in the
// chooser by typing its path, and the window comes up with that project's tables; no table
// chooser is shown and the empty file is left as it was.
TEST(WindowStateScenario, AnEmptyProjectAsksOnceAndTheChosenProjectOpens) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    const std::string empty = demo.Dir() + "Empty.cdp";
    { std::ofstream(empty, std::ios::binary); }
    scenario::WriteSettings({{"ProjectFilePath", empty}, {"ConnectionType", "1"}});

    BoxAnswerer person([](const QMessageBox&) { return QMessageBox::Yes; });
    person.onChooser = [&](QFileDialog& chooser) {
        auto* name = chooser.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        scenario::Pump(200ms);
        scenario::Click(*name, name->rect().center());
        scenario::Key(chooser, "ctrl+a");  // the typed path replaces the offered name
        scenario::Type(chooser, demo.Project());
        scenario::Key(chooser, "Return");
    };
    bool shown = false;
    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        shown = true;
        EXPECT_EQ(window.dashboard().project.projectFile, "Demo.cdp");
        EXPECT_EQ(window.dashboard().project.labelsFile, "DemoLabels.txt");
        EXPECT_GT(window.dashboard().page.m_nPageCount, 0) << "the options table was loaded";
        EXPECT_EQ(window.dashboard().tables.labelSettings.KanteloLabels[0].find_first_not_of(' '),
                  0u)
            << "the switch labels were loaded";
        scenario::SaveShot(scenario::GrabWindow(window), "empty-project-then-chosen");
    });
    EXPECT_TRUE(shown);
    ASSERT_EQ(person.boxes.size(), 1u) << ::testing::PrintToString(person.boxes);
    EXPECT_EQ(person.boxes[0].rfind(
                  "Invalid Project File . Click YES to reload new project file|" + empty, 0),
              0u)
        << person.boxes[0];
    EXPECT_EQ(person.choosers, 1) << "only the project chooser, no table chooser";
    EXPECT_EQ(ReadBytes(empty), "");
}

// An empty project file and No: the program ends without a window.
TEST(WindowStateScenario, AnEmptyProjectAndNoEndsWithoutAWindow) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    const std::string empty = demo.Dir() + "Empty.cdp";
    { std::ofstream(empty, std::ios::binary); }
    scenario::WriteSettings({{"ProjectFilePath", empty}, {"ConnectionType", "1"}});
    BoxAnswerer person([](const QMessageBox&) { return QMessageBox::No; });
    const std::filesystem::path cwd = std::filesystem::current_path();
    ui::CDataViewerDlg window;
    bool everShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { everShown |= window.isVisible(); });
    watch.start(20);
    EXPECT_EQ(window.DoModal(), ui::CDataViewerDlg::kNotStarted);
    EXPECT_FALSE(everShown);
    EXPECT_EQ(person.boxes.size(), 1u) << ::testing::PrintToString(person.boxes);
    EXPECT_EQ(person.choosers, 0);
    std::error_code ec;
    std::filesystem::current_path(cwd, ec);
}

// CLEAR empties page 0; Alt+F4 asks "Save Page Definations?" and Cancel keeps the window; OK
// asks again and Yes writes the page file with the cleared page before the program ends.
TEST(WindowStateScenario, ClearThenClosingAsksToSaveThePageLayout) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ConnectionType", "1"}});
    const std::string pages = demo.Dir() + "DemoPages.txt";
    const std::string before = ReadBytes(pages);
    ASSERT_NE(before.find("db %06;DISPLAY  00-PAGE 00"), std::string::npos);

    int asked = 0;
    BoxAnswerer person([&](const QMessageBox& box) {
        if (box.text() != "Save Page Definations?") return QMessageBox::Ok;
        return asked++ == 0 ? QMessageBox::Cancel : QMessageBox::Yes;
    });
    bool stayed = false;
    bool closed = false;
    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        QPushButton* clear = window.Button(app::kIdClear);
        scenario::Click(*clear, clear->rect().center());
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.dashboard().PagesUnsaved(); }, 2s));

        scenario::Key(window, "alt+F4");
        ASSERT_TRUE(scenario::WaitUntil([&] { return person.boxes.size() == 1; }, 3s));
        scenario::Pump(400ms);
        stayed = window.isVisible();
        EXPECT_EQ(ReadBytes(pages), before) << "Cancel wrote the page file";

        QPushButton* ok = window.Button(app::kIdOk);
        scenario::Click(*ok, ok->rect().center());
        closed = scenario::WaitUntil([&] { return !window.isVisible(); }, 5s);
    });
    EXPECT_TRUE(stayed) << "Cancel closed the window";
    EXPECT_TRUE(closed) << "Yes did not end the program";
    ASSERT_EQ(person.boxes.size(), 2u) << ::testing::PrintToString(person.boxes);
    EXPECT_EQ(person.boxes[0], "Save Page Definations?|");
    EXPECT_EQ(person.boxes[1], "Save Page Definations?|");
    const std::string after = ReadBytes(pages);
    EXPECT_NE(after, before);
    for (int position = 0; position < 16; ++position) {
        char line[40];
        std::snprintf(line, sizeof line, "db %%00;DISPLAY  %02d-PAGE 00 \r\n", position);
        EXPECT_NE(after.find(line), std::string::npos) << "page 0 position " << position;
    }
    // The other pages are as they were.
    const auto page1 = [](const std::string& text) {
        const auto at = text.find("DISPLAY  00-PAGE 01");
        return at == std::string::npos ? std::string() : text.substr(at - 7, 16 * 29);
    };
    EXPECT_FALSE(page1(before).empty());
    EXPECT_EQ(page1(after), page1(before));
}

}  // namespace
