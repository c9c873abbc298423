// The demo project in examples/demo: it loads without a single message, and the maker
// regenerates it byte for byte.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "../../tools/demo_project.h"
#include "core/prompt.h"
#include "core/text_file.h"
#include "table_test_support.h"
#include "tables/project_tables.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

const std::string kDemoDir = PELOR_SOURCE_DIR "/examples/demo/";

TEST(DemoProject, LoadsWithoutAnyMessage) {
    ScriptedPrompt prompt;
    Project project;
    project.directory = kDemoDir;
    ASSERT_EQ(LoadProject(prompt, project, kDemoDir, "Demo.cdp", false), "Demo.cdp");
    auto tables = std::make_unique<ProjectTables>();
    LoadStartupTables(prompt, project, *tables);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;

    EXPECT_EQ(project.logFile, "DemoLog.csv");
    EXPECT_EQ(project.themeFile, "");
    EXPECT_FALSE(project.webBitmapEnabled);
    EXPECT_EQ(tables->values.pageCount, tools::kDemoPageCount);
    EXPECT_EQ(tables->values.displayType, tools::kDemoDisplayType);
    EXPECT_FALSE(tables->values.dualDisplay);
    EXPECT_EQ(tables->labelSettings.LabelStrings[0], "ENG TEMP");
    EXPECT_EQ(tables->labelSettings.LabelStrings[15], "RPM     ");
    EXPECT_EQ(tables->labelSettings.KanteloLabels[2], "BILGE   ");
    EXPECT_EQ(tables->labelSettings.symbolCodes[3], 68);
    EXPECT_TRUE(tables->labelSettings.switchPowerOn[2]);
    EXPECT_EQ(tables->labelSettings.httpPostAddress, "127.0.0.1/pelor");
    EXPECT_EQ(CalibrationText(tables->calibration, 0, 255), " 150.0");
    EXPECT_EQ(CalibrationText(tables->calibration, 10, 0), "  -5.0");
    EXPECT_EQ(LabelMode(tables->pages, 0, 15), display::kModeLargeRamp);
    // Every display mode that fits the portrait models appears on some page (the bar graph
    // and huge text are wider than their gauge area).
    for (std::uint8_t mode : {1, 2, 5, 6, 8, 9, 10, 11, 12}) {
        EXPECT_NE(std::find(tables->pages.begin(), tables->pages.begin() + 256, mode),
                  tables->pages.begin() + 256)
            << "mode " << int(mode);
    }
    // Alarms on two channels.
    EXPECT_GT(tables->values.alarms[1], 0);
    EXPECT_GT(tables->values.alarms[2], 0);
}

TEST(DemoProject, RegeneratesByteIdentically) {
    // Every file the maker writes is committed exactly as it writes it. The demo folder also
    // holds files made otherwise (theme, recorded logs); those are not compared here.
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(tools::MakeDemoProject(prompt, dir.Dir()));
    std::size_t made = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ScratchDir::ReadBytes(kDemoDir + name), dir.Read(name)) << name;
        ++made;
    }
    EXPECT_EQ(made, 16u);
}

// Start-up from lent contents (how the start-up fuzz target runs without writing files) reads
// exactly what it reads from the disk, and a name that is not lent is a missing file.
TEST(DemoProject, LentFilesLoadTheSameTablesAsTheDisk) {
    const auto load = [](ScriptedPrompt& prompt, Project& project) {
        project.directory = kDemoDir;
        auto tables = std::make_unique<ProjectTables>();
        if (LoadProject(prompt, project, kDemoDir, "Demo.cdp", false) == "Demo.cdp") {
            LoadStartupTables(prompt, project, *tables);
        }
        return tables;
    };
    ScriptedPrompt diskPrompt;
    Project diskProject;
    const auto disk = load(diskPrompt, diskProject);

    core::LentFiles lent;
    for (const auto& entry : std::filesystem::directory_iterator(kDemoDir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        lent[kDemoDir + entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The labels are lent under another name only: start-up must not find them on the disk.
    lent.erase(kDemoDir + "DemoLabels.txt");
    core::LendFiles(&lent);
    struct End {
        ~End() { core::LendFiles(nullptr); }
    } end;
    ScriptedPrompt memoryPrompt;
    Project memoryProject;
    const auto memory = load(memoryPrompt, memoryProject);

    EXPECT_EQ(memory->calibration, disk->calibration);
    EXPECT_EQ(memory->pages, disk->pages);
    EXPECT_EQ(memory->options, disk->options);
    EXPECT_EQ(memoryProject.logFile, diskProject.logFile);
    // A missing table asks for its file (cancelled here) and keeps what the table held.
    EXPECT_EQ(diskPrompt.FileDialogCount(), 0U);
    EXPECT_EQ(memoryPrompt.FileDialogCount(), 1U) << "the labels file was found although not lent";
    EXPECT_NE(memory->labels, disk->labels);

    core::TextFile other;
    EXPECT_FALSE(other.Open(PELOR_SOURCE_DIR "/README.md", core::TextFile::Mode::Read));
}

}  // namespace
}  // namespace pelor::tables
