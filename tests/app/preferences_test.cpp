// The preferences sheet's OK sequence on a started dashboard (a copy of the demo project),
// with every question and file dialog answered by a scripted prompt.
#include "app/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tables/calibration_file.h"
#include "tables/label_file.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Hooks : app::WindowHooks {
    void ApplyLayout() override { ++layouts; }
    int layouts = 0;
};

// The demo project copied into a scratch folder, and a dashboard started on it.
class DemoDashboard : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "pelor-prefs-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
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
    const auto copies = app::MakePreferencesCopies(dashboard);
    EXPECT_EQ(copies.files.projectPath, dir_ + "Demo.cdp");
    EXPECT_EQ(app::CheckPreferences(copies), "");
    const auto optionsBefore = dashboard.tables.options;
    EXPECT_EQ(app::ApplyPreferences(dashboard, copies, hooks), app::PreferencesResult::Applied);
    EXPECT_TRUE(prompt.shown.empty()) << "choosing the same project asks nothing";
    EXPECT_EQ(hooks.layouts, 1);
    EXPECT_EQ(dashboard.project.projectFile, "Demo.cdp");
    for (std::size_t b = 32; b < 1536; ++b) {
        ASSERT_EQ(dashboard.tables.options[b], optionsBefore[b]) << "byte " << b;
    }
}

TEST_F(DemoDashboard, ChangingOneSensorTableAsksForItAndReloadsOnlyIt) {
    core::ScriptedPrompt quiet;
    tables::CalibrationRows rows;
    for (auto& r : rows) r = {"  42.0", " 1", "new"};
    ASSERT_TRUE(tables::WriteCalibrationFile(quiet, dir_, "NewCal.txt", "8300", rows));
    const auto table2 = dashboard.tables.calibration[2];

    auto copies = app::MakePreferencesCopies(dashboard);
    copies.files.sensorFiles[3] = "NewCal.txt";
    prompt.files.push_back(dir_ + "NewCal.txt");
    app::ApplyPreferences(dashboard, copies, hooks);

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

    auto copies = app::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    prompt.answers.push_back(core::Answer::Yes);
    EXPECT_EQ(app::ApplyPreferences(dashboard, copies, hooks), app::PreferencesResult::EndProgram);
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

    auto copies = app::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    prompt.answers.push_back(core::Answer::Yes);
    ASSERT_EQ(app::ApplyPreferences(dashboard, copies, hooks), app::PreferencesResult::EndProgram);
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

    auto copies = app::MakePreferencesCopies(dashboard);
    copies.files.projectPath = other + "Boat.cdp";
    copies.files.labelsFile = "DemoLabels.txt";
    prompt.answers.push_back(core::Answer::No);
    EXPECT_EQ(app::ApplyPreferences(dashboard, copies, hooks), app::PreferencesResult::Applied);
    EXPECT_EQ(dashboard.project.directory, dir_);
    EXPECT_EQ(dashboard.project.projectFile, "Demo.cdp");
    EXPECT_EQ(fs::current_path().string() + "/", dir_);

    dashboard.Destroy(hooks);
    EXPECT_EQ(std::get<std::string>(store.values.at("ProjectFilePath")), dir_ + "Demo.cdp");
    EXPECT_EQ(ReadBytes(other + "Boat.cdp"), otherBytes) << "the other project is not touched";
}

TEST_F(DemoDashboard, ThemeMessagesAndLabelsSaveQuestion) {
    auto copies = app::MakePreferencesCopies(dashboard);
    copies.files.themePath = dir_ + "DemoTheme.txt";
    copies.labels.labels[0] = "RPM PORT";
    copies.labels.saveRequested = true;
    prompt.answers.push_back(core::Answer::Yes);
    app::ApplyPreferences(dashboard, copies, hooks);
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
    copies = app::MakePreferencesCopies(dashboard);
    EXPECT_EQ(copies.files.themePath, dir_ + "DemoTheme.txt");
    copies.files.themePath.clear();
    app::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Please restart Pelor to load new theme",
                                        "No Theme file selected - using default theme"}));
    EXPECT_EQ(prompt.shown[1].caption, "Error");
    EXPECT_EQ(dashboard.project.themeFile, "");
}

TEST_F(DemoDashboard, OptionsFieldsAndSectionsComeBackIntoTheWindow) {
    auto copies = app::MakePreferencesCopies(dashboard);
    copies.options[tables::OptionsField::Pages] = 3;
    copies.options[tables::OptionsField::DisplayScale] = 0;
    copies.alarms.displays[11].invert = true;
    copies.channels.inputs[4] = {9, true};
    app::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.page.m_nPageCount, 3);
    EXPECT_EQ(dashboard.settings.displayScale, 100) << "out of range becomes 100";
    EXPECT_EQ(dashboard.tables.values.alarms[150 - 64], 1);
    EXPECT_EQ(dashboard.tables.values.channels[4], 0x89);
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
