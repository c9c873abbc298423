// A project whose files hold values the preferences pages would refuse if they were typed: an
// owner opens the sheet with DISPLAY and presses OK with the pointer without touching a page.
// The sheet closes without a message and the window keeps what the files hold.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/prompt.h"
#include "scenario_support.h"
#include "tables/options_file.h"
#include "tables/table_file.h"
#include "ui/data_viewer_dlg.h"
#include "ui/preferences_sheet.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Rewrites the text entries `entries` (entry number to its 8 characters) of a labels file.
void RewriteLabelEntries(const std::string& path, const std::map<int, std::string>& entries) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    for (const auto& [entry, text] : entries) {
        const auto line = static_cast<std::size_t>(entry) + 1;  // after the header
        ASSERT_LT(line, lines.size());
        ASSERT_EQ(text.size(), 8u);
        lines[line] = "db '" + text + "' ; " + std::to_string(entry) + " ";
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& l : lines) out << l << "\r\n";
}

TEST(PreferencesFileValuesScenario, AnUntouchedSheetClosesWithOk) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    // Labels: an apostrophe, a byte past 0x7E, time entries that are not digits and an HTTP
    // field of 64 characters without ":80".
    std::map<int, std::string> entries = {{0, "O'BRIEN "}, {1, "CAF\xC9    "}};
    for (int e = 48; e < 60; ++e) entries[e] = "        ";
    for (int e = 80; e < 88; ++e) entries[e] = "abcdefgh";
    RewriteLabelEntries(demo.Dir() + "DemoLabels.txt", entries);
    // Options: 20 pages and an NMEA 2000 row with instance 12.
    core::ScriptedPrompt quiet;
    tables::OptionsTable options{};
    ASSERT_EQ(tables::LoadTableFile(quiet, demo.Dir(), "DemoOptions.txt", options, false),
              "DemoOptions.txt");
    options[0] = 20;
    options[256 + 2 * 3] = 0x1C;
    ASSERT_TRUE(tables::WriteOptionsFile(quiet, demo.Dir(), "DemoOptions.txt", options));
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        const auto& t = window.dashboard().tables;
        ASSERT_EQ(t.options[0], 20) << "the project's files are the ones written above";
        ASSERT_EQ(t.labelSettings.LabelStrings[0], "O'BRIEN ");

        // A message box would stop OK: its text is noted and the box closed, so that the test
        // ends either way.
        std::vector<std::string> messages;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            messages.push_back(box->text().toStdString());
            box->done(QMessageBox::Ok);
        });
        watcher.start(40);

        bool closed = false;
        scenario::OnSheetPage(window, "OPTIONS", [&](ui::PreferencesSheet& sheet, QWidget&) {
            QPushButton* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            scenario::Click(*ok, ok->rect().center());
            closed = scenario::WaitUntil([&] { return !sheet.isVisible(); }, 5s);
            if (!closed) sheet.reject();
        });
        watcher.stop();
        EXPECT_TRUE(closed) << "the untouched sheet stayed open";
        EXPECT_TRUE(messages.empty()) << "first message: " << messages.front();
        EXPECT_EQ(t.labelSettings.LabelStrings[0], "O'BRIEN ");
        EXPECT_EQ(t.labelSettings.LabelStrings[1], "CAF\xC9    ");
        EXPECT_EQ(t.options[0], 20);
        EXPECT_EQ(t.options[256 + 2 * 3], 0x1C);
    });
}

}  // namespace
