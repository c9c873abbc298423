// The preferences sheet's OK sequence on a started dashboard (a copy of the demo project),
// with every question and file dialog answered by a scripted prompt.
#include "prefs/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "file_bytes.h"
#include "tables/calibration_file.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/page_file.h"
#include "tables/table_file.h"
#include "temp_dir.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;

using pelor::testing::ReadBytes;

struct Hooks : app::WindowHooks {
    void ApplyLayout() override { ++layouts; }
    int layouts = 0;
};

// The demo project copied into a scratch folder, and a dashboard started on it.
class DemoDashboard : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = pelor::testing::MakeTempDir("pelor-prefs");
        dir_ = root_ + "/demo/";
        cwd_ = fs::current_path().string();
        fs::copy(std::string(PELOR_SOURCE_DIR) + "/examples/demo", dir_);
        store.values["ProjectFilePath"] = dir_ + "Demo.cdp";
        ASSERT_TRUE(dashboard.Initialise(hooks));
        ASSERT_TRUE(prompt.shown.empty()) << prompt.MessageTexts().front();
        hooks.layouts = 0;
    }
    void TearDown() override {
        std::error_code ec;
        fs::current_path(cwd_, ec);
        fs::remove_all(root_, ec);
    }

    core::ScriptedPrompt prompt;
    core::MemorySettingsStore store;
    core::RecordingView view;
    core::ManualClock clock;
    Hooks hooks;
    app::Dashboard dashboard{prompt, store, view, clock};
    std::string root_, dir_, cwd_;
};

TEST_F(DemoDashboard, UnchangedSheetAsksNothingAndLaysOutAgain) {
    const auto copies = prefs::MakePreferencesCopies(dashboard);
    EXPECT_EQ(copies.files.projectPath, dir_ + "Demo.cdp");
    EXPECT_EQ(prefs::CheckPreferences(copies), std::nullopt);
    const auto optionsBefore = dashboard.tables.options;
    EXPECT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks), prefs::PreferencesResult::Applied);
    EXPECT_TRUE(prompt.shown.empty()) << "choosing the same project asks nothing";
    EXPECT_EQ(hooks.layouts, 1);
    EXPECT_EQ(dashboard.project.projectFile, "Demo.cdp");
    for (std::size_t b = 32; b < 1536; ++b) {
        ASSERT_EQ(dashboard.tables.options[b], optionsBefore[b]) << "byte " << b;
    }
}

// Files may hold what the pages would refuse if it were typed: labels with an apostrophe or a
// byte past 0x7E, time entries that are not digits, a 64-character HTTP field, more than 16
// pages, an NMEA 2000 instance of 12. The untouched sheet still closes with OK, keeps what
// the files hold where it can be written back, and every field the user changes is checked.
TEST_F(DemoDashboard, ValuesFromFilesDoNotKeepAnUntouchedSheetFromClosing) {
    auto& t = dashboard.tables;
    tables::SetLabelEntry(t.labels, 0, "O'BRIEN ");
    tables::SetLabelEntry(t.labels, 17, "CAF\xC9    ");
    for (std::size_t e = 48; e < 60; ++e) tables::SetLabelEntry(t.labels, e, "        ");
    for (std::size_t e = 80; e < 88; ++e) tables::SetLabelEntry(t.labels, e, "abcdefgh");
    t.labelSettings = tables::DecodeLabelSettings(t.labels);
    ASSERT_EQ(t.labelSettings.time.month, 80) << "two blanks decode past any month";
    ASSERT_EQ(t.labelSettings.httpPostAddress.size(), 64u);
    t.options[0] = 20;
    t.options[256 + 2 * 3] = 0x1C;  // row 3: PGN 1, instance 12
    t.options[320 + 3] = 100;       // row 3: source 100

    auto copies = prefs::MakePreferencesCopies(dashboard);
    EXPECT_EQ(prefs::CheckPreferences(copies), std::nullopt);
    EXPECT_EQ(copies.options.httpPostAddress, t.labelSettings.httpPostAddress.substr(0, 61))
        << "cut to what the writers keep";
    EXPECT_EQ(copies.nmeaTags.time.month, 0) << "an unreadable setting starts as not set";
    EXPECT_EQ(copies.nmeaTags.time.utcOffset, 0);
    EXPECT_EQ(copies.nmeaTags.time.tachometers[1].digits[4], 0);

    // What the user changes is checked as always, and named with its page.
    using P = prefs::PreferencesPage;
    const struct {
        const char* what;
        std::function<void(prefs::PreferencesCopies&)> change;
        prefs::PreferencesPage page;
        const char* message;
    } edits[] = {
        {"label", [](auto& c) { c.labels.labels[0] = "O'NEIL"; }, P::Labels,
         "Display Label 0: a label is at most 8 characters of plain text, without apostrophes"},
        {"switch label", [](auto& c) { c.labels.kanteloLabels[1] = "CAF\xC9S"; }, P::Labels,
         "Kantelo Label 1: a label is at most 8 characters of plain text, without apostrophes"},
        {"pages", [](auto& c) { c.options[prefs::OptionsField::Pages] = 19; }, P::Options,
         "Pages must be 0 to 16"},
        {"instance", [](auto& c) { c.n2kTags.rows[3].instance = 11; }, P::N2kTags,
         "NMEA 2000: Label 3 Instance must be 0 to 9"},
        {"month", [](auto& c) { c.nmeaTags.time.month = 13; }, P::NmeaTags,
         "NMEA TAGS: Month  must be 0 to 12"},
    };
    for (const auto& e : edits) {
        auto changed = copies;
        e.change(changed);
        EXPECT_EQ(prefs::CheckPreferences(changed), (prefs::PreferencesProblem{e.page, e.message}))
            << e.what;
    }

    EXPECT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks), prefs::PreferencesResult::Applied);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(t.labelSettings.LabelStrings[0], "O'BRIEN ");
    EXPECT_EQ(t.labelSettings.KanteloLabels[1], "CAF\xC9    ");
    EXPECT_EQ(tables::LabelEntry(t.labels, 0), "O'BRIEN ");
    EXPECT_EQ(t.options[0], 20);
    EXPECT_EQ(t.options[256 + 2 * 3], 0x1C);
    EXPECT_EQ(t.options[320 + 3], 100);
    EXPECT_EQ(t.labelSettings.httpPostAddress, copies.options.httpPostAddress);
}

// The display scale is the gauge area's size in percent, 1 to 100: a value in range is kept
// through OK and shown again when the sheet reopens; any other is refused with a message.
TEST_F(DemoDashboard, DisplayScaleKeepsValidValuesAndRefusesOthers) {
    auto copies = prefs::MakePreferencesCopies(dashboard);
    for (int bad : {0, -5, 101, 150, 5000}) {
        copies.options[prefs::OptionsField::DisplayScale] = bad;
        EXPECT_EQ(prefs::CheckPreferences(copies),
                  (prefs::PreferencesProblem{prefs::PreferencesPage::Options,
                                             "Display Scale must be 1 to 100"}))
            << bad;
    }
    for (int good : {1, 55, 100}) {
        copies = prefs::MakePreferencesCopies(dashboard);
        copies.options[prefs::OptionsField::DisplayScale] = good;
        ASSERT_EQ(prefs::CheckPreferences(copies), std::nullopt) << good;
        prefs::ApplyPreferences(dashboard, copies, hooks);
        EXPECT_EQ(dashboard.settings.displayScale, good);
        EXPECT_EQ(dashboard.page.m_nDisplayScale, good);
        EXPECT_EQ(
            prefs::MakePreferencesCopies(dashboard).options[prefs::OptionsField::DisplayScale],
            good)
            << "shown again on reopening";
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DemoDashboard, ChangingOneSensorTableAsksForItAndReloadsOnlyIt) {
    core::ScriptedPrompt quiet;
    tables::CalibrationRows rows;
    for (auto& r : rows) r = {"  42.0", " 1", "new"};
    ASSERT_TRUE(tables::WriteCalibrationFile(quiet, dir_, "NewCal.txt", "8300", rows));
    const auto table2 = dashboard.tables.calibration[2];

    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.files.sensorFiles[3] = "NewCal.txt";
    prompt.files.push_back(dir_ + "NewCal.txt");
    prefs::ApplyPreferences(dashboard, copies, hooks);

    ASSERT_EQ(prompt.FileDialogCount(), 1u);
    EXPECT_EQ(prompt.shown[0].dialog.initialName, "NewCal.txt");
    EXPECT_TRUE(prompt.MessageTexts().empty());
    EXPECT_EQ(dashboard.project.calibrationFiles[3], "NewCal.txt");
    EXPECT_EQ(tables::CalibrationText(dashboard.tables.calibration, 3, 9), "  42.0");
    EXPECT_EQ(dashboard.tables.calibration[2], table2);
}

TEST_F(DemoDashboard, SwitchingProjectsAsksAndYesEndsWithTheNewProjectPersisted) {
    fs::create_directory(root_ + "/other");
    const std::string other = root_ + "/other/";
    fs::copy_file(dir_ + "Demo.cdp", other + "Boat.cdp");

    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    prompt.answers.push_back(core::Answer::Yes);
    EXPECT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks),
              prefs::PreferencesResult::EndProgram);
    ASSERT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"The Project File has changed. Click YES to quit program "
                                       "to reload new project file"});
    EXPECT_EQ(prompt.shown[0].caption, "Status");
    EXPECT_EQ(hooks.layouts, 0) << "nothing else happens";

    dashboard.Destroy(hooks);
    EXPECT_EQ(std::get<std::string>(store.values.at("ProjectFilePath")), other + "Boat.cdp");
}

// Yes to the switch only remembers the chosen project: its file is left byte for byte (here a
// short one with comments and bare line feeds, which a rewrite would normalise and fill with
// this project's names), while this project's own change goes into this project's file.
TEST_F(DemoDashboard, SwitchingProjectsWithYesLeavesTheChosenFileAsItIs) {
    fs::create_directory(root_ + "/other");
    const std::string other = root_ + "/other/";
    const std::string shortProject =
        "[Pelor_Project_File]\n[Version 3.04]\nBoatLabels.txt ; flybridge\nBoatPages.txt\n";
    { std::ofstream(other + "Boat.cdp", std::ios::binary) << shortProject; }
    dashboard.project.logFile = "Trip.csv";  // chosen on the FILES page earlier in this run

    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    prompt.answers.push_back(core::Answer::Yes);
    ASSERT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks),
              prefs::PreferencesResult::EndProgram);
    dashboard.Destroy(hooks);

    EXPECT_EQ(ReadBytes(other + "Boat.cdp"), shortProject);
    EXPECT_EQ(std::get<std::string>(store.values.at("ProjectFilePath")), other + "Boat.cdp");
    EXPECT_NE(ReadBytes(dir_ + "Demo.cdp").find("\r\nTrip.csv\r\n"), std::string::npos);
}

TEST_F(DemoDashboard, SwitchingProjectsAndAnsweringNoKeepsThisProject) {
    fs::create_directory(root_ + "/other");
    const std::string other = root_ + "/other/";
    fs::copy_file(dir_ + "Demo.cdp", other + "Boat.cdp");
    const std::string otherBytes = ReadBytes(other + "Boat.cdp");

    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    copies.files.labelsFile = "DemoLabels.txt";
    prompt.answers.push_back(core::Answer::No);
    EXPECT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks), prefs::PreferencesResult::Applied);
    EXPECT_EQ(dashboard.project.directory, dir_);
    EXPECT_EQ(dashboard.project.projectFile, "Demo.cdp");
    EXPECT_EQ(fs::current_path().string() + "/", dir_);

    dashboard.Destroy(hooks);
    EXPECT_EQ(std::get<std::string>(store.values.at("ProjectFilePath")), dir_ + "Demo.cdp");
    EXPECT_EQ(ReadBytes(other + "Boat.cdp"), otherBytes) << "the other project is not touched";
}

TEST_F(DemoDashboard, ThemeMessagesAndLabelsSaveQuestion) {
    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.files.themePath = dir_ + "DemoTheme.txt";
    copies.labels.labels[0] = "RPM PORT";
    copies.labels.saveRequested = true;
    prompt.answers.push_back(core::Answer::Yes);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Save Display Labels?",
                                        "Please restart Pelor to load new theme"}));
    EXPECT_EQ(dashboard.project.themeFile, "DemoTheme.txt") << "kept as a bare name";
    EXPECT_EQ(dashboard.tables.labelSettings.LabelStrings[0], "RPM PORT");

    // The labels file on disk is what the labels writer gives for the same values.
    core::ScriptedPrompt quiet;
    auto labels = dashboard.tables.labels;
    ASSERT_TRUE(tables::WriteLabelFile(quiet, root_ + "/", "Expected.txt", labels,
                                       dashboard.tables.labelSettings));
    EXPECT_EQ(ReadBytes(dir_ + "DemoLabels.txt"), ReadBytes(root_ + "/Expected.txt"));

    prompt.shown.clear();
    copies = prefs::MakePreferencesCopies(dashboard);
    EXPECT_EQ(copies.files.themePath, dir_ + "DemoTheme.txt");
    copies.files.themePath.clear();
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Please restart Pelor to load new theme",
                                        "No Theme file selected - using default theme"}));
    EXPECT_EQ(prompt.shown[1].caption, "Error");
    EXPECT_EQ(dashboard.project.themeFile, "");
}

TEST_F(DemoDashboard, OptionsFieldsAndSectionsComeBackIntoTheWindow) {
    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.options[prefs::OptionsField::Pages] = 3;
    copies.options[prefs::OptionsField::DisplayScale] = 0;
    copies.alarms.displays[11].invert = true;
    copies.channels.inputs[4] = {9, true};
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.page.m_nPageCount, 3);
    EXPECT_EQ(dashboard.settings.displayScale, 100) << "out of range becomes 100";
    EXPECT_EQ(dashboard.tables.values.alarms[150 - 64], 1);
    EXPECT_EQ(dashboard.tables.values.channels[4], 0x89);
    EXPECT_TRUE(prompt.shown.empty());
}

// The NMEA tags live in the page file, which only the main window's save writes whole: OK
// after a tag changed writes the file's NMEA row, and nothing else of the file, so the tags
// survive the exit while an unsaved layout change stays unsaved.
TEST_F(DemoDashboard, OkWritesChangedNmeaTagsIntoThePageFilesNmeaRowOnly) {
    const std::string before = ReadBytes(dir_ + "DemoPages.txt");
    ASSERT_EQ(dashboard.tables.pages[512], 0x40);
    dashboard.tables.pages[0] = 0x06;  // a layout change not saved
    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.nmeaTags.tags[0] = {0, 0};
    copies.nmeaTags.tags[3] = {3, 2};
    copies.nmeaTags.tags[11] = {1, 15};
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.MessageTexts().front();

    // The file as it was, with the three tag lines' digits changed.
    std::string expected = before;
    const auto setDigits = [&](int entry, const char* digits) {
        std::size_t at = 0;
        for (int line = 0; line <= entry; ++line) at = expected.find('\n', at) + 1;
        ASSERT_EQ(expected.compare(at, 4, "db %"), 0) << entry;
        expected.replace(at + 4, 2, digits);
    };
    setDigits(512, "00");
    setDigits(515, "32");
    setDigits(523, "1F");
    EXPECT_EQ(ReadBytes(dir_ + "DemoPages.txt"), expected);

    // Cancelling after nothing changed, or OK with the tags as they were, writes nothing.
    const auto written = fs::last_write_time(dir_ + "DemoPages.txt");
    fs::last_write_time(dir_ + "DemoPages.txt", written - std::chrono::hours(1));
    prefs::ApplyPreferences(dashboard, prefs::MakePreferencesCopies(dashboard), hooks);
    EXPECT_EQ(fs::last_write_time(dir_ + "DemoPages.txt"), written - std::chrono::hours(1));
}

// When the same sheet names another file for a table and edits that table's pages, OK loads
// the new file first and lays the edits over it: what the user changed is kept, the rest
// comes from the new file.
TEST_F(DemoDashboard, ARenamedTableIsLoadedFirstAndThePagesEditsAppliedOverIt) {
    core::ScriptedPrompt quiet;
    // Other files for the options, the labels and the pages, each unlike the project's own.
    tables::OptionsTable boatOptions = dashboard.tables.options;
    boatOptions[0] = 5;                // Pages
    boatOptions[7] = 99;               // Contrast
    boatOptions[64 + 2 * 2] = 17;      // alarm low threshold of display 2
    boatOptions[32 + 4] = 0x03;        // input of display 4
    boatOptions[256 + 2 * 5 + 1] = 4;  // NMEA 2000 row 5 parameter
    ASSERT_TRUE(tables::WriteOptionsFile(quiet, dir_, "BoatOptions.txt", boatOptions));
    tables::LabelTable boatLabels = dashboard.tables.labels;
    tables::SetLabelEntry(boatLabels, 1, "BOAT    ");
    tables::SetLabelEntry(boatLabels, 2, "KEEL    ");
    ASSERT_TRUE(tables::WriteLabelFile(quiet, dir_, "BoatLabels.txt", boatLabels,
                                       tables::DecodeLabelSettings(boatLabels)));
    tables::PageTable boatPages = dashboard.tables.pages;
    boatPages[512 + 1] = 0x21;
    boatPages[512 + 3] = 0x54;
    boatPages[5] = 0x0A;
    ASSERT_TRUE(tables::WritePageFile(quiet, dir_, "BoatPages.txt", boatPages, 0, false));

    auto copies = prefs::MakePreferencesCopies(dashboard);
    copies.optionsFile = "BoatOptions.txt";
    copies.files.labelsFile = "BoatLabels.txt";
    copies.files.pageFile = "BoatPages.txt";
    copies.options[prefs::OptionsField::Pages] = 3;
    copies.alarms.displays[11].invert = true;
    copies.channels.inputs[4] = {9, true};
    copies.labels.labels[2] = "RUDDER";
    copies.nmeaTags.tags[3] = {3, 2};
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.MessageTexts().front();
    EXPECT_EQ(dashboard.project.optionsFileC, "BoatOptions.txt");
    EXPECT_EQ(dashboard.project.labelsFile, "BoatLabels.txt");
    EXPECT_EQ(dashboard.project.pageFile, "BoatPages.txt");

    const auto& t = dashboard.tables;
    // The edits.
    EXPECT_EQ(t.options[0], 3);
    EXPECT_EQ(dashboard.page.m_nPageCount, 3);
    EXPECT_EQ(t.values.alarms[150 - 64], 1) << "display 11 inverted";
    EXPECT_EQ(t.options[32 + 4], 0x89);
    EXPECT_EQ(t.labelSettings.LabelStrings[2], "RUDDER  ");
    EXPECT_EQ(t.pages[512 + 3], 0x32);
    // The new files where the user changed nothing.
    EXPECT_EQ(t.options[7], 99);
    EXPECT_EQ(t.options[64 + 2 * 2], 17);
    EXPECT_EQ(t.options[256 + 2 * 5 + 1], 4);
    EXPECT_EQ(t.labelSettings.LabelStrings[1], "BOAT    ");
    EXPECT_EQ(t.pages[512 + 1], 0x21);
    EXPECT_EQ(t.pages[5], 0x0A);

    // The changed tag went into the new page file, not into the project's old one.
    tables::PageTable reread{};
    ASSERT_EQ(tables::LoadTableFile(quiet, dir_, "BoatPages.txt", reread, false), "BoatPages.txt");
    EXPECT_EQ(reread[512 + 3], 0x32);
    EXPECT_EQ(reread[512 + 1], 0x21);
}

}  // namespace
