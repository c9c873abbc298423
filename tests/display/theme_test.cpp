#include "display/theme.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/prompt.h"

namespace pelor::display {
namespace {

const std::string kDemo = std::string(PELOR_SOURCE_DIR) + "/examples/demo/DemoTheme.txt";

// Line numbers (0-based) in a theme file.
constexpr int kFirstBackgroundValue = 3;  // entry e: 3 + 2 (e - 1)
constexpr int kFirstStyle = 26;           // style f, entry n (0..10): 26 + 22 f + 2 n (+1 value)
constexpr int kGridValue = 26 + 22 * 11 + 1;
constexpr int kFirstPosition = kGridValue + 1;  // position p: label at + 18 p, index + 1

std::vector<std::string> DemoLines() {
    std::ifstream in(kDemo, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class ThemeTest : public ::testing::Test {
protected:
    // A folder per test: tests run in parallel.
    std::string dir = std::string(PELOR_BINARY_DIR) + "/theme_test/" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::string path = dir + "Theme.txt";

    void SetUp() override { std::filesystem::create_directories(dir); }

    bool Load(const std::vector<std::string>& lines) {
        std::ofstream out(path, std::ios::binary);
        for (const auto& l : lines) out << l << "\r\n";
        out.close();
        theme = DefaultTheme();
        styles = DefaultGaugeStyles();
        return LoadTheme(path, prompt, theme, styles);
    }

    core::ScriptedPrompt prompt;
    Theme theme;
    GaugeStyles styles;
};

TEST_F(ThemeTest, DemoThemeLoadsWithoutAMessageAndChangesTheLook) {
    const auto lines = DemoLines();
    ASSERT_EQ(lines.size(), 558u);
    ASSERT_TRUE(Load(lines));
    EXPECT_TRUE(prompt.shown.empty());
    for (int e = 1; e <= 12; ++e) EXPECT_EQ(theme.backgroundPaths[e], "") << e;
    EXPECT_EQ(styles[kStyleLargeDial].name, "Half Dial");
    EXPECT_EQ(theme.modeNames[2], "Half Dial");
    EXPECT_EQ(styles[kStyleDial].valueColor, Rgb(255, 176, 40));
    EXPECT_EQ(styles[kStyleDial].labelColor, Rgb(150, 210, 255));
    EXPECT_EQ(styles[kStyleBargraph].valueFontFace, "DejaVu Sans");
    EXPECT_EQ(styles[kStyleHugeText].valueFontHeight, 136);
    EXPECT_EQ(styles[kStyleDial].frameCount, 14);
    EXPECT_EQ(styles[kStyleDial].frameOffset, 255);
    EXPECT_EQ(theme.gridColor, Rgb(0, 96, 160));
    EXPECT_EQ(theme.positions[15].first[0][1], 160);
    EXPECT_EQ(theme.positions[15].second[7][0], 500);
}

TEST_F(ThemeTest, HeaderFaults) {
    struct Case {
        int line;
        std::string replacement;
        std::string want;
    };
    const Case kCases[] = {
        {0, "[Other_file]", "Wrong File Format -  " + path},
        {1, "[Version 1.0]", "Wrong Version [Version 1.1] -  " + path},
    };
    for (const auto& c : kCases) {
        auto lines = DemoLines();
        lines[c.line] = c.replacement;
        prompt.shown.clear();
        EXPECT_FALSE(Load(lines));
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.want});
        EXPECT_EQ(prompt.shown[0].caption, "Error");
    }
    EXPECT_FALSE(Load({}));
    EXPECT_EQ(prompt.MessageTexts().back(), "Error Reading from file");
    prompt.shown.clear();
    EXPECT_FALSE(LoadTheme(dir + "missing.txt", prompt, theme, styles));
    EXPECT_TRUE(prompt.shown.empty()) << "a file that cannot be opened fails silently";
}

TEST_F(ThemeTest, BackgroundFaultsFallBackAndGoOn) {
    auto lines = DemoLines();
    { std::ofstream(dir + "Sea.bmp") << "BM"; }
    lines[kFirstBackgroundValue + 0] = "[Sea.bmp]";
    lines[kFirstBackgroundValue + 2] = "[Missing.bmp] trailing";
    lines[kFirstBackgroundValue + 4] = "no bracket";
    lines[kFirstBackgroundValue + 6] = "[Sea.png]";
    ASSERT_TRUE(Load(lines));
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Theme BMP File does not exist - Missing.bmp",
                                        "Wrong format - missing [BackGroundBitmap]",
                                        "Wrong format - missing [BackGroundBitmap.bmp]"}));
    EXPECT_EQ(theme.backgroundPaths[1], dir + "Sea.bmp");
    EXPECT_EQ(theme.backgroundPaths[2], "");
    EXPECT_EQ(theme.gridColor, Rgb(0, 96, 160)) << "the rest of the file was read";
}

TEST_F(ThemeTest, StyleFaultsEndTheLoadKeepingWhatWasRead) {
    struct Case {
        int style;  // file order
        int entry;  // 0..10
        std::string value;
        std::string want;
    };
    const Case kCases[] = {
        {0, 0, "LargeDial.bmp", "Wrong format - missing [LargeDialBItmap]"},
        {0, 0, "[LargeDial.png]", "Wrong format - missing [LargeDialBItmap.bmp]"},
        {1, 0, "[Nothere.bmp]", "Theme BMP File does not exist - Nothere.bmp"},
        {1, 1, "[NoClose", "Wrong format - missing [GRAPHICNAME]"},
        {2, 2, "[256230015]", "Wrong format - missing [XXX,YYY,ZZZ]"},
        {2, 2, "256,230", "Wrong format - missing [XXX,YYY]"},
        {3, 3, "[550010]", "Wrong format - missing [XXX,YYY]"},
        {4, 4, "[Arial", "Wrong format - missing [FONTNAME]"},
        {5, 5, "64", "Wrong format - missing [XXX]"},
        {6, 6, "070,199,131", "Wrong format - missing [RRR,GGG,BBB]"},
        {7, 7, "030,010", "Wrong format - missing [XXX,YYY]"},
        {8, 8, "Arial", "Wrong format - missing [FONTNAME]"},
        {9, 9, "", "Wrong format - missing [XXX]"},
        {10, 10, "x", "Wrong format - missing [RRR,GGG,BBB]"},
    };
    for (const auto& c : kCases) {
        auto lines = DemoLines();
        lines[kFirstStyle + 22 * c.style + 2 * c.entry + 1] = c.value;
        prompt.shown.clear();
        EXPECT_FALSE(Load(lines)) << c.want;
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.want});
        if (c.style > 0) {
            EXPECT_EQ(theme.modeNames[0], "Big Ramp") << "earlier styles stay";
        }
        EXPECT_EQ(theme.gridColor, 0u) << "nothing after the fault is read";
    }
}

// A theme can ask for frames and strips far larger than any display shows (999 x 999 x 999
// pixels from three-digit fields, more with other characters in their places). Such a style is
// refused with a message naming its line, keeps its built-in record, and the rest loads.
TEST_F(ThemeTest, OversizedPictureStripsAreRefusedPerStyle) {
    struct Case {
        int style;  // file order
        std::string geometry;
        const char* legend;
    };
    const Case kCases[] = {
        {0, "[999,999,999,255]", "every number at its three-digit largest"},
        {1, "[1500,100,014,255]", "wider than any display"},
        {2, "[256,~~~,015,255]", "other characters make a height of 8 658"},
        {3, "[760,060,257,255]", "more frames than levels"},
        {4, "[000,150,001,000]", "no width"},
        {5, "[350,090,000,000]", "no frames"},
        {6, "[350,0/0,001,000]", "a negative height"},
        {7, "[999,999,020,000]", "each size allowed, the strip too large"},
    };
    const GaugeStyles builtIn = DefaultGaugeStyles();
    for (const auto& c : kCases) {
        auto lines = DemoLines();
        const int line = kFirstStyle + 22 * c.style + 2 * 2 + 1;
        lines[line] = c.geometry;
        prompt.shown.clear();
        EXPECT_FALSE(Load(lines)) << c.legend;
        ASSERT_EQ(prompt.shown.size(), 1u) << c.legend;
        const std::string& text = prompt.shown[0].text;
        EXPECT_EQ(prompt.shown[0].caption, "Error");
        EXPECT_NE(text.find("line " + std::to_string(line + 1) + ": " + c.geometry),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("built-in look"), std::string::npos) << text;
        const int index = kThemeStyleOrder[c.style];
        const GaugeStyle& got = styles[index];
        EXPECT_EQ(got.width, builtIn[index].width) << c.legend;
        EXPECT_EQ(got.height, builtIn[index].height) << c.legend;
        EXPECT_EQ(got.frameCount, builtIn[index].frameCount) << c.legend;
        EXPECT_EQ(got.valueFontFace, builtIn[index].valueFontFace) << c.legend;
        EXPECT_EQ(got.pictureFile, "") << c.legend;
        EXPECT_EQ(theme.modeNames[c.style], builtIn[index].name) << c.legend;
        // The other styles, the grid and the positions still come from the file.
        const int other = c.style == 0 ? 1 : 0;
        EXPECT_NE(theme.modeNames[other], DefaultTheme().modeNames[other]) << c.legend;
        EXPECT_EQ(theme.gridColor, Rgb(0, 96, 160)) << c.legend;
        EXPECT_EQ(theme.positions[15].second[7][0], 500) << c.legend;
    }
}

TEST_F(ThemeTest, PictureStripBounds) {
    struct Case {
        int width, height, frames;
        bool allowed;
    } const kCases[] = {
        {1, 1, 1, true},     {1400, 1720, 1, true}, {1401, 10, 1, false},  {10, 1721, 1, false},
        {64, 64, 256, true}, {64, 64, 257, false},  {256, 256, 256, true}, {257, 256, 256, false},
        {0, 10, 1, false},   {10, -1, 1, false},    {10, 10, 0, false},    {1400, 1720, 7, false},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(StripSizeAllowed(c.width, c.height, c.frames), c.allowed)
            << c.width << " x " << c.height << " x " << c.frames;
    }
}

TEST_F(ThemeTest, ValueLineRules) {
    auto lines = DemoLines();
    const int dialGeometryA = kFirstStyle + 22 * 1 + 2 * 2 + 1;
    const int dialGeometryB = kFirstStyle + 22 * 1 + 2 * 3 + 1;
    const int dialValueHeight = kFirstStyle + 22 * 1 + 2 * 5 + 1;
    lines[dialGeometryA] = " [064,064,007,030]";  // a space before "[": accepted, unchanged
    lines[dialGeometryB] = "[034,054,003,010]";   // multiplier and divisor
    lines[dialValueHeight] = "[24]";              // two digits: misread, not refused
    ASSERT_TRUE(Load(lines));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(styles[kStyleDial].width, 128);
    EXPECT_EQ(styles[kStyleDial].frameCount, 14);
    EXPECT_EQ(styles[kStyleDial].valueMultiplier, 3);
    EXPECT_EQ(styles[kStyleDial].valueDivisor, 10);
    EXPECT_EQ(styles[kStyleDial].valueFontHeight, '2' * 100 + '4' * 10 + ']' - 5328);

    lines[dialGeometryA] = "[064,064,007]";  // no fourth number: the offset stays
    ASSERT_TRUE(Load(lines));
    EXPECT_EQ(styles[kStyleDial].width, 64);
    EXPECT_EQ(styles[kStyleDial].frameCount, 7);
    EXPECT_EQ(styles[kStyleDial].frameOffset, 255);
}

TEST_F(ThemeTest, PositionRecords) {
    auto lines = DemoLines();
    lines[kFirstPosition + 18 * 2 + 1] = "[003]";
    EXPECT_FALSE(Load(lines));
    EXPECT_TRUE(prompt.shown.empty()) << "an out-of-step index ends the load silently";
    EXPECT_EQ(theme.positions[1].first[0][1], 160);
    EXPECT_EQ(theme.positions[2].first[0][1], 0);

    struct Case {
        int line;
        std::string value;
        std::string want;
    };
    const Case kCases[] = {
        {kFirstPosition + 18 * 4 + 1, "004", "Wrong format - missing [XXX]"},
        {kFirstPosition + 18 * 4 + 1, "[004", "Wrong format - missing [XXX]"},
        {kFirstPosition + 18 * 4 + 5, "000,160", "Wrong format - missing [XXX]"},
        {kFirstPosition + 18 * 4 + 5, "[000,160",
         "Wrong format - missing [XXX,XXX,XXX,XXX,XXX,XXX]"},
        {kGridValue, "000,096,160", "Wrong format - missing [XXX]"},
        {kGridValue, "[000,096,160", "Wrong format - missing [RRR,GGG,BBB]"},
    };
    for (const auto& c : kCases) {
        auto changed = DemoLines();
        changed[c.line] = c.value;
        prompt.shown.clear();
        EXPECT_FALSE(Load(changed)) << c.want;
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.want});
    }

    auto cut = DemoLines();
    cut.resize(kFirstPosition + 18 * 3);
    prompt.shown.clear();
    EXPECT_FALSE(Load(cut));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Position Information Missing from Theme File"});
    cut = DemoLines();
    cut.resize(kFirstPosition + 18 * 3 + 5);
    prompt.shown.clear();
    EXPECT_FALSE(Load(cut));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error Reading from file"});
}

TEST_F(ThemeTest, LongLinesSplitAtSeventyNineCharacters) {
    auto lines = DemoLines();
    lines[kFirstStyle + 2] = std::string(85, 'x');  // name label: its rest becomes the value
    EXPECT_FALSE(Load(lines));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Wrong format - missing [GRAPHICNAME]"});
}

}  // namespace
}  // namespace pelor::display
