#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/settings.h"

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
    for (const char* option :
         {"--project FILE", "--discovery-target ADDR[:PORT]", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, DiscoveryTargetDefaultsToTheBroadcastAndTakesLoopback) {
    EXPECT_EQ(ParseCommandLine({}).discoveryTarget.address, "192.168.0.255");
    EXPECT_EQ(ParseCommandLine({}).discoveryTarget.port, 30718);
    struct Case {
        std::vector<std::string> args;
        std::string address;
        int port;  // 0: the line is refused
    };
    const Case cases[] = {
        {{"--discovery-target", "127.0.0.1:40000"}, "127.0.0.1", 40000},
        {{"--discovery-target=127.0.0.5"}, "127.0.0.5", 30718},
        {{"--discovery-target"}, "", 0},
        {{"--discovery-target="}, "", 0},
        {{"--discovery-target", "gateway.local"}, "", 0},
        {{"--discovery-target", "127.0.0.1:99999"}, "", 0},
    };
    for (const auto& c : cases) {
        const auto line = ParseCommandLine(c.args);
        if (c.port == 0) {
            EXPECT_FALSE(line.error.empty()) << c.args.back();
            continue;
        }
        EXPECT_TRUE(line.error.empty()) << line.error;
        EXPECT_EQ(line.discoveryTarget.address, c.address);
        EXPECT_EQ(line.discoveryTarget.port, c.port);
        EXPECT_TRUE(pelor::links::IsLoopbackAddress(line.discoveryTarget.address));
    }
    // The settings of this run take the command line's target; it is not a stored value.
    pelor::app::SetDiscoveryTargetInUse({"127.0.0.9", 4444});
    const pelor::app::Settings settings;
    EXPECT_EQ(settings.discoveryTarget.address, "127.0.0.9");
    EXPECT_EQ(settings.discoveryTarget.port, 4444);
    pelor::app::SetDiscoveryTargetInUse({});
}

}  // namespace
