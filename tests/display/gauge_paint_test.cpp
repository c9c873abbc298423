#include "display/gauge_paint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/display.h"

namespace pelor::display {
namespace {

std::array<char, 8> Text(const char* s) {
    std::array<char, 8> t{};
    std::memcpy(t.data(), s, std::min<std::size_t>(std::strlen(s), 8));
    return t;
}

TEST(FormatScaledValue, Cases) {
    struct Case {
        const char* text;
        int multiplier;
        int divisor;
        const char* want;
        const char* legend;
    };
    const Case kCases[] = {
        {"1234", 1, 10, " 123", "divisor 10"},
        {"1234", 3, 1, "3702", "multiplier 3"},
        {"  99", 100, 1, "9900", "multiplier 100"},
        {"12.5", 1, 1, "12.5", "both 1: unchanged text"},
        {"12.5", 2, 1, "  24", "atoi stops at the point"},
        {"9999", 1000, 1, "9999", "longer results keep their first four characters"},
        {"-120", 1, 10, " -12", "negative values"},
        {"1234", 1, 0, "1234", "divisor 0 is ignored"},
        {"ABCD", 5, 1, "   0", "no digits reads as 0"},
        {"50FF", 2, 5, "  20", "divide first, then multiply"},
    };
    for (const auto& c : kCases) {
        const auto got = FormatScaledValue(Text(c.text), c.multiplier, c.divisor);
        EXPECT_EQ(std::string(got.data(), 4), c.want) << c.legend;
    }
}

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override { display.ApplyLayout(store, 9, 100, false); }

    void Put(int slot, int mode, int frame, int x, int y, const char* value, const char* label) {
        store.m_PosMode[slot] = mode;
        store.m_PosFrame[slot] = frame;
        store.m_PosX[slot] = x;
        store.m_PosY[slot] = y;
        store.m_PosValueText[slot] = Text(value);
        store.m_PosLabel[slot] = label;
    }

    std::vector<std::string> PaintGauges(bool showGrid = false) {
        core::RecordingCanvas canvas;
        store.m_bRedrawAll = 0;
        display.Paint(canvas, store, showGrid);
        EXPECT_EQ(store.m_bRedrawAll, 1);
        return canvas.operations;
    }

    Display display;
    decode::ChannelStore store;
};

TEST_F(PaintTest, EveryModeDrawsItsFrameValueAndLabel) {
    Put(0, kModeData, 5, 100, 10, "12.5", "DEPTH");
    Put(1, kModeHistogram, 4, 0, 100, "0042", "HIST");
    Put(2, kModeBargraph, 7, 0, 200, "0075", "FUEL");
    Put(3, kModeIndicator, 1, 300, 0, "    ", "PUMP");
    Put(4, kModeDial, 13, 200, 0, " 850", "RPM");
    Put(5, kModeLargeDial, 9, 10, 10, "1500", "BOOST");
    Put(6, kModeLargeRamp, 14, 20, 20, "  35", "SPEED");
    Put(7, kModeLargeText, 3, 30, 30, "14.2", "VOLTS");
    Put(8, kModeBarText, 10, 40, 40, "  88", "TEMP");
    Put(9, kModeSmallText, 2, 50, 50, "  12", "AMPS");
    Put(10, kModeHugeText, 0, 60, 60, "1013", "BARO");
    Put(11, kModeIndicator, 0, 70, 70, "    ", "BILGE");
    Put(12, 3, 0, 0, 0, "XXXX", "SKIP3");
    Put(13, 7, 0, 0, 0, "XXXX", "SKIP7");
    Put(14, kModeDial, -24, 0, 0, "    ", "");
    const std::vector<std::string> want = {
        "copy STRIP6 0,0 350x40 -> 120,40",
        "text 350,50 \"12.5\" Arial 24 rgb(70,199,131)",
        "text 160,50 \"DEPTH\" Arial 24 rgb(70,199,131)",
        "copy STRIP9 1280,0 320x100 -> 40,130",
        "text 230,142 \"0042\" Arial 40 rgb(70,199,131)",
        "text 52,142 \"HIST\" Arial 20 rgb(70,199,131)",
        "copy STRIP3 5320,0 760x60 -> 0,230",
        "text 590,240 \"0075\" Arial 36 rgb(70,199,131)",
        "text 40,240 \"FUEL\" Arial 24 rgb(70,199,131)",
        "copy STRIP10 0,0 180x32 -> 340,30",
        "fill 424,38 16x16 rgb(70,199,131)",
        "fill 428,42 8x8 rgb(162,227,193)",
        "text 450,39 \"PUMP\" Arial 14 rgb(70,199,131)",
        "copy STRIP1 1664,0 128x128 -> 240,20",
        "text 274,74 \" 850\" Arial 24 rgb(70,199,131)",
        "text 275,128 \"RPM\" Arial 16 rgb(70,199,131)",
        "copy STRIP8 2304,0 256x230 -> 50,30",
        "text 130,80 \"1500\" Arial 48 rgb(70,199,131)",
        "text 145,130 \"BOOST\" Arial 24 rgb(70,199,131)",
        "copy STRIP0 3584,0 256x230 -> 60,40",
        "text 120,140 \"  35\" Arial 64 rgb(70,199,131)",
        "text 145,240 \"SPEED\" Arial 24 rgb(70,199,131)",
        "copy STRIP5 0,0 350x90 -> 50,60",
        "text 240,80 \"14.2\" Arial 40 rgb(70,199,131)",
        "text 80,80 \"VOLTS\" Arial 24 rgb(70,199,131)",
        "copy STRIP2 3200,0 320x128 -> 80,70",
        "text 160,78 \"  88\" Arial 64 rgb(70,199,131)",
        "text 165,170 \"TEMP\" Arial 24 rgb(70,199,131)",
        "copy STRIP7 0,0 180x32 -> 75,80",
        "text 190,88 \"  12\" Arial 20 rgb(70,199,131)",
        "text 90,90 \"AMPS\" Arial 16 rgb(70,199,131)",
        "copy STRIP4 0,0 600x150 -> 100,90",
        "text 400,90 \"1013\" Arial 136 rgb(70,199,131)",
        "text 135,110 \"BARO\" Arial 46 rgb(70,199,131)",
        "copy STRIP10 0,0 180x32 -> 110,100",
        "text 120,109 \"BILGE\" Arial 14 rgb(70,199,131)",
        "copy STRIP1 0,0 128x128 -> 40,20",
        "text 74,74 \"    \" Arial 24 rgb(70,199,131)",
        "stretch 20,20 640x500 -> 20,20 640x500",
    };
    EXPECT_EQ(PaintGauges(), want);
}

TEST_F(PaintTest, StaleGaugesShowDashesDimmedAndAFrozenPictureSaysWhatItIs) {
    Put(0, kModeDial, 13, 200, 0, " 850", "RPM");
    Put(1, kModeIndicator, 1, 300, 0, "    ", "PUMP");
    Put(2, kModeData, 0, 100, 10, "12.5", "DEPTH");
    PaintOptions options;
    options.clearFirst = true;
    options.staleMask = 0b011;
    options.banner = "PLAYBACK";
    core::RecordingCanvas canvas;
    store.m_bRedrawAll = 0;
    display.Paint(canvas, store, options);
    const std::vector<std::string> want = {
        "copy BACKGROUND4 20,20 640x500 -> 20,20",
        "copy STRIP1 1664,0 128x128 -> 240,20",
        "text 274,74 \"----\" Arial 24 rgb(70,199,131)",
        "text 275,128 \"RPM\" Arial 16 rgb(70,199,131)",
        "dim 240,20 128x128",
        "copy STRIP10 0,0 180x32 -> 340,30",
        "text 350,39 \"PUMP\" Arial 14 rgb(70,199,131)",
        "dim 340,30 180x32",
        "copy STRIP6 0,0 350x40 -> 120,40",
        "text 350,50 \"12.5\" Arial 24 rgb(70,199,131)",
        "text 160,50 \"DEPTH\" Arial 24 rgb(70,199,131)",
        "text 28,26 \"PLAYBACK\" Arial 24 rgb(255,176,0)",
        "stretch 20,20 640x500 -> 20,20 640x500",
    };
    EXPECT_EQ(canvas.operations, want);
    EXPECT_EQ(store.m_bRedrawAll, 1);
}

TEST_F(PaintTest, FullRedrawShowsTheBareBackgroundOrBlack) {
    Put(0, kModeDial, 1, 0, 0, "1234", "RPM");
    core::RecordingCanvas canvas;
    display.Paint(canvas, store, true);  // m_bRedrawAll is 1 after ApplyLayout
    EXPECT_EQ(canvas.operations,
              (std::vector<std::string>{"copy BACKGROUND4 20,20 640x500 -> 20,20",
                                        "stretch 20,20 640x500 -> 20,20 640x500"}));
    display.ApplyLayout(store, 8, 100, false);
    core::RecordingCanvas black;
    display.Paint(black, store, false);
    EXPECT_EQ(black.operations.front(), "fill 20,20 592x760 rgb(0,0,0)");
}

TEST_F(PaintTest, ScaleStretchesTheGaugeAreaOnly) {
    display.ApplyLayout(store, 6, 50, false);
    core::RecordingCanvas canvas;
    display.Paint(canvas, store, false);
    EXPECT_EQ(canvas.operations.back(), "stretch 20,20 640x500 -> 20,20 320x250");
}

TEST_F(PaintTest, ThemeScalingAppliesToTheDrawnTextOnlyAndRepaintsStay) {
    GaugeStyles styles = DefaultGaugeStyles();
    styles[kStyleData].valueMultiplier = 3;
    const PaintResources res = MakePaintResources(styles, 0);
    Put(0, kModeData, 0, 0, 0, "1234", "");
    for (int paint = 0; paint < 2; ++paint) {
        core::RecordingCanvas canvas;
        store.m_bRedrawAll = 0;
        PaintGaugeArea(canvas, store, display.Layout(), styles, res, {});
        EXPECT_EQ(canvas.operations[1], "text 250,40 \"3702\" Arial 24 rgb(70,199,131)");
        EXPECT_EQ(canvas.operations.size(), 3u) << "an empty label writes nothing";
    }
    EXPECT_EQ(std::string(store.m_PosValueText[0].data(), 4), "1234");
}

TEST_F(PaintTest, GridLinesFollowTheActiveGrid) {
    GaugeStyles styles = DefaultGaugeStyles();
    const PaintResources res = MakePaintResources(styles, Rgb(255, 0, 0));
    core::RecordingCanvas canvas;
    DrawGrid(canvas, display.Layout(), 640, 500, res.gridColor);
    // Row 0: five segments between the columns, one to the right edge, and six verticals.
    EXPECT_EQ(canvas.operations[0], "fill 20,18 160x4 rgb(255,0,0)");
    EXPECT_EQ(canvas.operations[1], "fill 18,20 4x80 rgb(255,0,0)");
    EXPECT_EQ(canvas.operations[10], "fill 490,18 170x4 rgb(255,0,0)");
    // The last row's verticals run down to the given height: none below 500 here.
    core::RecordingCanvas taller;
    DrawGrid(taller, display.Layout(), 640, 540, res.gridColor);
    EXPECT_EQ(taller.operations.back(), "fill 488,520 4x40 rgb(255,0,0)");
    EXPECT_EQ(taller.operations.size(), 90u);
    EXPECT_EQ(canvas.operations.size(), 84u);
}

TEST_F(PaintTest, GridOfTheFixedBlockAndOfTypesWithoutGrid) {
    display.ApplyLayout(store, 1, 100, false);
    core::RecordingCanvas block;
    DrawGrid(block, display.Layout(), 640, 680, core::Color{1, 2, 3});
    ASSERT_EQ(block.operations.size(), 64u);
    EXPECT_EQ(block.operations[0], "fill 20,18 160x4 rgb(1,2,3)");
    display.ApplyLayout(store, 5, 100, false);
    core::RecordingCanvas none;
    DrawGrid(none, display.Layout(), 640, 500, core::Color{1, 2, 3});
    EXPECT_TRUE(none.operations.empty());
}

TEST_F(PaintTest, GridOverBackgroundForPortraitModels) {
    display.ApplyLayout(store, 10, 100, false);
    const auto ops = PaintGauges(true);
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops[0], "copy BACKGROUND5 20,20 592x760 -> 20,20 or");
    EXPECT_NE(ops[1].find("fill"), std::string::npos);
}

}  // namespace
}  // namespace pelor::display
