// RECORD as a new user tries it: a double click opens the log chooser, which lists the
// project's tables; a calibration table typed as the log is refused with a message and the
// log stays the project's own. A click on RECORD then asks before adding to that log (it holds
// an earlier recording), records into it after Yes, and a second click stops: the table is
// unchanged and the log keeps its single header line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;
using pelor::testing::ReadBytes;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Types `text` into the focused field of `window`, one key at a time as a person does.
void Type(QWidget& window, const std::string& text) {
    for (const char c : text) {
        scenario::Key(window, c == '.' ? std::string("period") : std::string(1, c));
    }
}

TEST(RecordScenario, AProjectTableIsRefusedAsTheLogAndAnEarlierLogIsAddedToAfterAsking) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "250"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteTcpSettings(demo, sim);
    const std::string table = demo.Dir() + "DemoCal11.txt";
    const std::string tableBefore = ReadBytes(table);
    const std::string log = demo.Dir() + "DemoLog.csv";
    const std::string logBefore = ReadBytes(log);
    ASSERT_EQ(Count(logBefore, "Date Time, Count,"), 1u);

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s))
            << "never connected: " << window.windowTitle().toStdString();
        ASSERT_EQ(window.dashboard().Capture().LogPath(), log);

        // The dialogs are modal: a timer inside their event loops plays the person.
        std::vector<std::string> boxes;
        std::vector<std::string> details;
        bool chooserSeen = false;
        QMessageBox* lastBox = nullptr;
        QTimer person;
        QObject::connect(&person, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* chooser = qobject_cast<QFileDialog*>(modal); chooser != nullptr) {
                if (chooserSeen || !chooser->isVisible()) return;
                chooserSeen = true;
                scenario::Key(*chooser, "ctrl+a");
                Type(*chooser, "DemoCal11.txt");
                scenario::Key(*chooser, "Return");
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
                if (!box->isVisible()) return;
                QAbstractButton* b = box->button(QMessageBox::Yes);
                if (b == nullptr) b = box->button(QMessageBox::Ok);
                if (box != lastBox) {
                    lastBox = box;
                    boxes.push_back(box->text().toStdString());
                    details.push_back(box->informativeText().toStdString());
                    if (b != nullptr) scenario::Click(*b, b->rect().center());
                } else {
                    scenario::Key(*box, "Return");
                }
            }
        });
        person.start(40);

        QPushButton* record = window.Button(app::kIdRecord);
        ASSERT_NE(record, nullptr);
        scenario::DoubleClick(*record, record->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return !boxes.empty() && QApplication::activeModalWidget() == &window; }, 20s))
            << "no refusal; chooser seen: " << chooserSeen;
        EXPECT_TRUE(chooserSeen);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0],
                  "This file is a table or the project file of the open project and cannot be a "
                  "log. Choose another file for the log.");
        EXPECT_EQ(details[0], table);
        EXPECT_EQ(window.dashboard().Capture().LogPath(), log) << "the log stays as it was";
        EXPECT_FALSE(window.dashboard().Capture().Recording());

        // RECORD on the project's log, which holds an earlier recording: asked, Yes, recording.
        scenario::Click(*record, record->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return window.dashboard().Capture().RecordCount() >= 3; }, 15s))
            << "not recording; boxes: " << ::testing::PrintToString(boxes);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].rfind(log + "\n", 0), 0u) << boxes[1];
        scenario::Click(*record, record->rect().center());
        EXPECT_TRUE(
            scenario::WaitUntil([&] { return !window.dashboard().Capture().Recording(); }, 5s));
        person.stop();
        EXPECT_EQ(boxes.size(), 2u) << ::testing::PrintToString(boxes);
    });

    EXPECT_EQ(ReadBytes(table), tableBefore) << "the calibration table was written to";
    const std::string logAfter = ReadBytes(log);
    EXPECT_EQ(logAfter.rfind(logBefore, 0), 0u) << "the earlier recording is kept";
    EXPECT_GT(logAfter.size(), logBefore.size()) << "nothing recorded";
    EXPECT_EQ(Count(logAfter, "Date Time, Count,"), 1u) << "a second header line";
    EXPECT_NE(logAfter.find(",000001,", logBefore.size()), std::string::npos)
        << "the added rows are numbered from 1";
}

}  // namespace
