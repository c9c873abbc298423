#include "tables/project_tables.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"
#include "tables/calibration_file.h"

namespace pelor::tables {
namespace {

using core::Answer;
using core::ScriptedPrompt;
using testing::ScratchDir;

TEST(LoadStartupTables, UnnamedTablesAreAskedForInOrder) {
    ScratchDir dir;
    Project project;
    project.directory = dir.Dir();
    auto tables = std::make_unique<ProjectTables>();
    tables->options.fill(0x55);
    ScriptedPrompt prompt;  // every dialog cancelled
    LoadStartupTables(prompt, project, *tables);

    std::vector<std::string> initialNames;
    for (const auto& s : prompt.shown) {
        ASSERT_TRUE(s.isFileDialog) << s.text;
        initialNames.push_back(s.dialog.initialName);
    }
    std::vector<std::string> want;
    want.reserve(16);
    for (int i = 0; i < 12; ++i) want.push_back("Calibration Table " + std::to_string(i) + " ");
    want.insert(want.end(), {"Display Labels", "Page Descriptions", "Log File Name", "Options"});
    EXPECT_EQ(initialNames, want);
    const auto& log = prompt.shown[14].dialog;
    EXPECT_EQ(log.defaultExtension, "txt");
    EXPECT_EQ(log.filter,
              "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files "
              "(*.ebl)|*.ebl|Text Files (*.txt)|*.txt||");
    EXPECT_EQ(prompt.shown[15].dialog.filter,
              "Text Files (*.txt)|*.txt|CSV Files (*.csv)|*.csv|HTM Web Log Files "
              "(*.htm)|*.htm|N2K Log Files (*.ebl)|*.ebl||");

    // A cancelled dialog keeps the default name; the log stays unnamed.
    EXPECT_EQ(project.calibrationFiles[11], "Calibration Table 11 ");
    EXPECT_EQ(project.labelsFile, "Display Labels");
    EXPECT_EQ(project.pageFile, "Page Descriptions");
    EXPECT_EQ(project.optionsFileC, "Options");
    EXPECT_EQ(project.logFile, "");
    EXPECT_EQ(tables->options, OptionsTable{}) << "options are zeroed before loading";
    EXPECT_EQ(tables->values.pageCount, 0);
}

TEST(LoadStartupTables, ChosenFilesAreLoadedAndTheValuesDerived) {
    ScratchDir dir;
    OptionsTable options{};
    options[0] = 3;
    options[6] = 9;
    ScriptedPrompt writes;
    ASSERT_TRUE(WriteOptionsFile(writes, dir.Dir(), "Opt.txt", options));
    Project project;
    project.directory = dir.Dir();
    project.logFile = "Run.csv";
    for (int i = 0; i < 12; ++i) project.calibrationFiles[i] = "missing.txt";
    project.labelsFile = project.pageFile = "missing.txt";
    auto tables = std::make_unique<ProjectTables>();
    ScriptedPrompt prompt;
    for (int i = 0; i < 14; ++i) prompt.files.push_back(std::nullopt);
    prompt.files.push_back(dir.Path("Opt.txt"));
    LoadStartupTables(prompt, project, *tables);
    EXPECT_TRUE(prompt.MessageTexts().empty());
    EXPECT_EQ(prompt.FileDialogCount(), 15u);
    EXPECT_EQ(project.optionsFileC, "Opt.txt");
    EXPECT_EQ(tables->values.pageCount, 3);
    EXPECT_EQ(tables->values.displayType, 9);
}

TEST(ReloadChangedTables, OnlyChangedNamesAreReloaded) {
    ScratchDir dir;
    ScriptedPrompt writes;
    CalibrationRows rows;
    for (auto& r : rows) r = {"42", "00", ""};
    ASSERT_TRUE(WriteCalibrationFile(writes, dir.Dir(), "new3.txt", "8000", rows));
    Project project;
    project.directory = dir.Dir();
    for (int i = 0; i < 12; ++i) project.calibrationFiles[i] = "c" + std::to_string(i) + ".txt";
    project.labelsFile = "L.txt";
    Project edited = project;
    edited.calibrationFiles[3] = "new3.txt";
    auto tables = std::make_unique<ProjectTables>();
    ScriptedPrompt prompt;
    prompt.files.push_back(dir.Path("new3.txt"));
    ReloadChangedTables(prompt, project, edited, *tables);
    ASSERT_EQ(prompt.shown.size(), 1u) << "one dialog, for table 3";
    EXPECT_EQ(prompt.shown[0].dialog.initialName, "new3.txt");
    EXPECT_EQ(project.calibrationFiles[3], "new3.txt");
    EXPECT_EQ(CalibrationText(tables->calibration, 3, 0), "    42");
    EXPECT_EQ(CalibrationText(tables->calibration, 2, 0), std::string(6, '\0'));

    // A changed options name that cannot be chosen again keeps the table zeroed.
    edited = project;
    edited.optionsFileC = "gone.txt";
    tables->options.fill(1);
    ScriptedPrompt cancel;
    ReloadChangedTables(cancel, project, edited, *tables);
    EXPECT_EQ(project.optionsFileC, "gone.txt");
    EXPECT_EQ(tables->options, OptionsTable{});
}

TEST(SaveLabelsAndPages, AsksTwiceAndWritesOnYes) {
    ScratchDir dir;
    Project project;
    project.directory = dir.Dir();
    project.labelsFile = "L.txt";
    project.pageFile = "P.txt";
    auto tables = std::make_unique<ProjectTables>();
    ScriptedPrompt prompt;
    prompt.answers = {Answer::No, Answer::Yes};
    SaveLabelsAndPages(prompt, project, *tables);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[0].text, "Save Display Labels?");
    EXPECT_EQ(prompt.shown[1].text, "Save Page Definations?");
    EXPECT_EQ(prompt.shown[1].caption, "Status");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("L.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("P.txt")));
}

}  // namespace
}  // namespace pelor::tables
