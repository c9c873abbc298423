#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

using pelor::app::ParseCommandLine;

TEST(CommandLine, ReadsTheDashboardsOptionsAndLeavesQtsOwn) {
    struct Case {
        const char* legend;
        std::vector<std::string> args;
        bool help;
        bool version;
        std::string project;
        bool error;
    };
    const Case cases[] = {
        {"nothing", {}, false, false, "", false},
        {"help", {"--help"}, true, false, "", false},
        {"short help", {"-h"}, true, false, "", false},
        {"version", {"--version"}, false, true, "", false},
        {"project", {"--project", "boat/Demo.cdp"}, false, false, "boat/Demo.cdp", false},
        {"project=", {"--project=/x/Demo.cdp"}, false, false, "/x/Demo.cdp", false},
        {"project without file", {"--project"}, false, false, "", true},
        {"project= without file", {"--project="}, false, false, "", true},
        {"Qt's option with value",
         {"-platform", "offscreen", "-p", "a.cdp"},
         false,
         false,
         "a.cdp",
         false},
        {"Qt's option=value", {"-style=fusion"}, false, false, "", false},
        {"unknown", {"--fullscreen"}, false, false, "", true},
        {"stray word", {"Demo.cdp"}, false, false, "", true},
    };
    for (const auto& c : cases) {
        const auto line = ParseCommandLine(c.args);
        EXPECT_EQ(line.help, c.help) << c.legend;
        EXPECT_EQ(line.version, c.version) << c.legend;
        EXPECT_EQ(line.project, c.project) << c.legend;
        EXPECT_EQ(!line.error.empty(), c.error) << c.legend << ": " << line.error;
    }
}

TEST(CommandLine, UsageNamesEveryOption) {
    const std::string usage = pelor::app::UsageText("pelor");
    for (const char* option : {"--project FILE", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
