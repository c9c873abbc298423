#include "display/display.h"

#include <gtest/gtest.h>

#include "core/prompt.h"

namespace pelor::display {
namespace {

TEST(Display, EntryPointFollowsTheDisplayTypeAndTheme) {
    Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, 9, 100, false);
    EXPECT_EQ(display.BufferSize().width, 800);
    EXPECT_EQ(display.BufferSize().height, 540);
    EXPECT_EQ(display.BackgroundPicture(), "BACKGROUND4");
    EXPECT_EQ(display.GridX()[1], 160);
    EXPECT_EQ(display.GridY()[6], 80);
    EXPECT_EQ(display.StyleFrameCounts(),
              (std::array<int, kStyleCount>{15, 14, 11, 11, 1, 1, 1, 1, 15, 15, 1}));

    display.ApplyLayout(store, 8, 100, false);
    EXPECT_EQ(display.BackgroundPicture(), "");
    display.ApplyLayout(store, 14, 100, false);
    EXPECT_EQ(display.BufferSize().width, 1350);
    EXPECT_EQ(display.BufferSize().height, 820);

    // Screen records use the current display type.
    const std::string record = "m003 \"100,100, 47 \" \"1234\" \"RPM     \" ";
    display.ParseScreenRecords(record, store);
    EXPECT_EQ(store.m_PosX[1], 136);

    core::ScriptedPrompt prompt;
    ASSERT_TRUE(display.LoadThemeFile(
        std::string(PELOR_SOURCE_DIR) + "/examples/demo/DemoTheme.txt", prompt));
    EXPECT_EQ(display.Resources().styles[kStyleDial].valueFont, "DejaVu Sans 24");
    EXPECT_EQ(display.Resources().styles[kStyleDial].valueColor, (core::Color{255, 176, 40}));
    EXPECT_EQ(display.Resources().gridColor, (core::Color{0, 96, 160}));
    EXPECT_EQ(display.GetTheme().modeNames[0], "Big Ramp");
}

}  // namespace
}  // namespace pelor::display
