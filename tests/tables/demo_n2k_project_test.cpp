// The NMEA 2000 demo project in examples/demo-n2k: it loads without a single message, every
// channel takes an NMEA 2000 source, and the maker regenerates it byte for byte.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../../tools/demo_project_n2k.h"
#include "core/prompt.h"
#include "table_test_support.h"
#include "tables/project_tables.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

const std::string kN2kDemoDir = PELOR_SOURCE_DIR "/examples/demo-n2k/";

TEST(N2kDemoProject, LoadsWithoutAnyMessageWithASourceForEveryChannel) {
    ScriptedPrompt prompt;
    Project project;
    project.directory = kN2kDemoDir;
    ASSERT_EQ(LoadProject(prompt, project, kN2kDemoDir, "DemoN2K.cdp", false), "DemoN2K.cdp");
    auto tables = std::make_unique<ProjectTables>();
    LoadStartupTables(prompt, project, *tables);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;

    EXPECT_EQ(project.logFile, "N2KLog.ebl");
    EXPECT_EQ(tables->values.pageCount, tools::kN2kDemoPageCount);
    EXPECT_EQ(tables->values.displayType, tools::kDemoDisplayType);
    EXPECT_EQ(tables->labelSettings.LabelStrings[0], "RPM     ");
    EXPECT_EQ(tables->labelSettings.LabelStrings[12], "AWA     ");
    for (std::size_t c = 0; c < 16; ++c) {
        const auto& want = tools::kN2kDemoChannels[c];
        EXPECT_EQ(tables->options[256 + 2 * c], want.group << 4 | want.instance) << c;
        EXPECT_EQ(tables->options[257 + 2 * c], want.field) << c;
        // The value is shown as the network sends it, not through a calibration table.
        EXPECT_EQ(tables->options[48 + c] & 0x80, 0) << c;
    }
    // Every channel is on some page; every page has gauges.
    for (std::size_t c = 0; c < 16; ++c) {
        bool shown = false;
        for (std::size_t p = 0; p < 4; ++p) shown = shown || LabelMode(tables->pages, p, c) != 0;
        EXPECT_TRUE(shown) << "channel " << c;
    }
    EXPECT_EQ(LabelMode(tables->pages, 0, 0), display::kModeLargeRamp);
    EXPECT_EQ(LabelMode(tables->pages, 2, 10), display::kModeLargeDial);  // the heading
}

TEST(N2kDemoProject, RegeneratesByteIdentically) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(tools::MakeN2kDemoProject(prompt, dir.Dir()));
    std::size_t made = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ScratchDir::ReadBytes(kN2kDemoDir + name), dir.Read(name)) << name;
        ++made;
    }
    EXPECT_EQ(made, 16u);
    // Nothing in the folder that the maker does not write.
    std::size_t present = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(kN2kDemoDir))
        ++present;
    EXPECT_EQ(present, made);
}

}  // namespace
}  // namespace pelor::tables
