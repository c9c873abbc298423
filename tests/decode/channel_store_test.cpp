#include "decode/channel_store.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;

TEST(GlyphCode, MapsEveryCharacterClass) {
    struct Case {
        char in;
        int want;
    };
    const Case kCases[] = {{'\0', 0}, {' ', 0},  {'#', 13},   {'-', 13}, {'.', 11},
                           {'0', 1},  {'9', 10}, {'A', 14},   {'Z', 39}, {'a', 40},
                           {'z', 65}, {'*', 0},  {'\x80', 0}, {'/', 0},  {':', 0}};
    for (const auto& c : kCases) EXPECT_EQ(GlyphCode(c.in), c.want) << "char " << int(c.in);
}

// Value text shapes against display modes: what is shown, the frame and the raw level.
TEST(UpdateChannel, ValueTextShapesAndModes) {
    struct Case {
        const char* legend;
        std::string value;
        int mode;
        std::string shown;  // all 8 characters of m_PosValueText after one update
        int frame;
    };
    // Frame counts of the fixture: S(0)=30, S(1)=49, S(2)=20, S(3)=11, S(4)=8, S(8)=40.
    const Case kCases[] = {
        {"short text pads with spaces, level FF", "12.5", 2, std::string("12.5  \0\0", 8),
         255 * 30 / 256},
        {"hash marks shown as spaces", "  73##A0", 1, std::string("  73\0\0\0\0", 8), 0},
        {"bar graph frame from level A0", "  73##A0", 4, std::string("  73\0\0\0\0", 8),
         160 * 11 / 256},
        {"six characters in large ramp", "-12.3 3F", 9, std::string("-12.3 \0\0", 8),
         63 * 30 / 256},
        {"lower-case level digits count as 0", "  73##a0", 4, std::string("  73\0\0\0\0", 8), 0},
        {"one lower-case digit", "  73##Aa", 6, std::string("  73\0\0\0\0", 8), 160 * 49 / 256},
        {"seven characters keep F in position 7", "1234##A", 13, std::string("1234\0\0\0\0", 8),
         0xAF * 8 / 256},
        {"indicator level below 128", "  ON##7F", 5, std::string("  ON\0\0\0\0", 8), 0},
        {"indicator level 128 and above", "  ON##80", 5, std::string("  ON\0\0\0\0", 8), 1},
        {"large dial", "123456C0", 8, std::string("123456\0\0", 8), 0xC0 * 40 / 256},
        {"bar text", "  50##80", 11, std::string("  50\0\0\0\0", 8), 128 * 20 / 256},
        {"longer text uses its first 8", "  12##40xyz", 2, std::string("  12  \0\0", 8),
         64 * 30 / 256},
        {"empty text", "", 2, std::string("      \0\0", 8), 255 * 30 / 256},
        {"large text", "  12##40", 10, std::string("  12\0\0\0\0", 8), 0},
        {"small text", "  12##40", 12, std::string("  12\0\0\0\0", 8), 0},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Show(3, c.mode, 7);
        UpdateChannel(f->store, f->context, 3, c.value);
        EXPECT_EQ(f->Shown(3), c.shown) << c.legend;
        EXPECT_EQ(f->store.m_PosFrame[3], c.frame) << c.legend;
        EXPECT_EQ(f->store.m_PosMode[3], c.mode) << c.legend;
        EXPECT_EQ(f->store.m_PosX[3], 107) << c.legend;
        EXPECT_EQ(f->store.m_PosY[3], 207) << c.legend;
    }
}

TEST(UpdateChannel, GlyphsOfShownTextAndLabel) {
    auto f = MakeFixture();
    f->Show(0, 1);
    f->SetLabel(0, "DEPTH#Ft");
    UpdateChannel(f->store, f->context, 0, "  73##A0");
    EXPECT_EQ(f->store.TextGlyphs[0], (std::array<int32_t, 8>{0, 0, 8, 4, 0, 0, 0, 0}));
    // '#' in the label leaves that glyph as it was (0 here).
    EXPECT_EQ(f->store.LabelGlyphs[0], (std::array<int32_t, 8>{17, 18, 29, 33, 21, 0, 19, 59}));
    EXPECT_EQ(f->store.m_PosLabel[0], "DEPTH#Ft");
}

TEST(UpdateChannel, UnshownModesKeepDisplayButCopyLabel) {
    for (int mode : {0, 3, 7, 14, 15}) {
        auto f = MakeFixture();
        f->Show(2, 1, 4);
        UpdateChannel(f->store, f->context, 2, "  11##10");
        f->Show(2, mode, 9);
        f->SetLabel(2, "NEWLABEL");
        UpdateChannel(f->store, f->context, 2, "  99##FF");
        EXPECT_EQ(f->Shown(2).substr(0, 4), "  11") << "mode " << mode;
        EXPECT_EQ(f->store.m_PosMode[2], 1) << "mode " << mode;
        EXPECT_EQ(f->store.m_PosX[2], 104) << "mode " << mode;
        EXPECT_EQ(f->store.m_PosLabel[2], "NEWLABEL") << "mode " << mode;
    }
}

TEST(UpdateChannel, ModeUsesLowFourBitsAndCurrentPage) {
    auto f = MakeFixture();
    f->labelMode[5][1] = 0xF4;  // high bits ignored: BARGRAPH
    f->labelCell[5][1] = 2;
    f->context.currentPage = 5;
    UpdateChannel(f->store, f->context, 1, "  10##FF");
    EXPECT_EQ(f->store.m_PosMode[1], 4);
    EXPECT_EQ(f->store.m_PosX[1], 102);
}

TEST(UpdateChannel, CellOutsideTheGridPlacesAtOrigin) {
    auto f = MakeFixture();
    f->Show(1, 1, 200);
    UpdateChannel(f->store, f->context, 1, "  10##FF");
    EXPECT_EQ(f->store.m_PosMode[1], 1);
    EXPECT_EQ(f->store.m_PosX[1], 0);
    EXPECT_EQ(f->store.m_PosY[1], 0);
}

TEST(UpdateChannel, ModesAndCellsTheDisplayCannotShowAreNotPlaced) {
    auto f = MakeFixture();
    f->context.modeHidden[6] = true;    // DIAL
    f->context.cellMissing[20] = true;  // a cell the display type lacks
    f->Show(1, 6, 2);
    f->Show(2, 1, 20);
    f->Show(3, 1, 2);
    f->store.m_PosMode[1] = 6;  // drawn before: no longer
    for (int channel : {1, 2, 3}) UpdateChannel(f->store, f->context, channel, "  10##FF");
    EXPECT_EQ(f->store.m_PosMode[1], 0) << "hidden mode";
    EXPECT_EQ(f->store.m_PosMode[2], 0) << "missing cell";
    EXPECT_EQ(f->store.m_PosMode[3], 1) << "shown";
    EXPECT_EQ(f->store.m_PosX[3], 102);
}

TEST(UpdateChannel, CalibrationLookupWithClamps) {
    struct Case {
        const char* legend;
        std::string value;
        int entry;
    };
    const Case kCases[] = {
        {"plain number", "17", 17},
        {"leading blanks and plus", "  +42xyz", 42},
        {"above range clamps to 255", "300", 255},
        {"negative clamps to 0", "-5", 0},
        {"no digits gives entry 0", "ABCD##FF", 0},
        {"huge number", "99999999999", 255},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->options[48 + 4] = 0x80;
        f->Show(4, 2);
        for (int e = 0; e < 256; ++e) {
            char text[24];  // 8 characters; room for what the compiler thinks e may print
            std::snprintf(text, sizeof text, "E%03d  %02X", e, e);
            for (std::size_t i = 0; i < 8; ++i) {
                f->calibration[4][static_cast<std::size_t>(e) * 8 + i] =
                    static_cast<std::uint8_t>(text[i]);
            }
        }
        UpdateChannel(f->store, f->context, 4, c.value);
        char want[8];
        std::snprintf(want, sizeof want, "E%03d  ", c.entry);
        EXPECT_EQ(f->Shown(4).substr(0, 6), std::string(want)) << c.legend;
        EXPECT_EQ(f->store.m_PosFrame[4], c.entry * 30 / 256) << c.legend;
    }
}

TEST(UpdateChannel, CalibrationChannelsAboveElevenShowDashes) {
    auto f = MakeFixture();
    f->options[48 + 12] = 0x80;
    f->Show(12, 2);
    UpdateChannel(f->store, f->context, 12, "  50##FF");
    EXPECT_EQ(f->Shown(12), std::string("------\0\0", 8));
    EXPECT_EQ(f->store.m_PosFrame[12], 0);  // level 0
}

TEST(UpdateChannel, LastSentenceTakesShownTextAndLabel) {
    auto f = MakeFixture();
    f->Show(10, 1);
    f->SetLabel(10, "BOOMVANG");
    f->store.LastSentence[10] = "$IIXDR,C,12.3##7F,C,OLDLABELA*00\r";
    UpdateChannel(f->store, f->context, 10, "  44##20,");
    EXPECT_EQ(f->store.LastSentence[10], "$IIXDR,C,  44##20,C,BOOMVANGA*00\r");
    // A short stored text is only overwritten where it has characters.
    f->store.LastSentence[10] = "$IIXDR,C,12";
    UpdateChannel(f->store, f->context, 10, "  44##20,");
    EXPECT_EQ(f->store.LastSentence[10], "$IIXDR,C,  ");
}

struct AlarmCase {
    const char* legend;
    int low, high, inverted;
    std::string value;
    bool alarm;
};

TEST(UpdateChannel, AlarmLimitsNormalAndInverted) {
    const AlarmCase kCases[] = {
        {"normal below low", 10, 200, 0, "  10##05", true},
        {"normal above high", 10, 200, 0, "  10##D0", true},
        {"normal inside", 10, 200, 0, "  10##64", false},
        {"normal at the limits", 10, 200, 0, "  10##0A", false},
        {"inverted 250", 10, 200, 1, "  10##FA", true},
        {"inverted 40", 10, 200, 1, "  10##28", true},
        {"inverted 100", 10, 200, 1, "  10##64", false},
        {"invert flag 2 counts as normal", 10, 200, 2, "  10##FA", true},
        {"short text has level FF", 10, 200, 0, "12", true},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Show(5, 1);
        f->options[24] = 0x80;
        f->options[64 + 10] = static_cast<std::uint8_t>(c.low);
        f->options[65 + 10] = static_cast<std::uint8_t>(c.high);
        f->options[128 + 10] = static_cast<std::uint8_t>(c.inverted);
        f->options[160 + 5] = 1;
        UpdateChannel(f->store, f->context, 5, c.value);
        EXPECT_EQ(f->store.AlarmBlink[5], c.alarm ? 1 : 0) << c.legend;
    }
}

TEST(UpdateChannel, AlarmBlinksEveryOtherUpdateAndBeepsEveryTime) {
    auto f = MakeFixture();
    f->Show(5, 1);
    f->options[24] = 0x80;
    f->options[64 + 10] = 10;
    f->options[65 + 10] = 200;
    f->options[160 + 5] = 2;
    const char* kShown[] = {"  99", "    ", "  99", "    "};
    for (int i = 0; i < 4; ++i) {
        UpdateChannel(f->store, f->context, 5, "  99##FF");
        EXPECT_EQ(f->Shown(5).substr(0, 4), kShown[i]) << "update " << i;
        EXPECT_EQ(f->view.BeepCount(), i + 1);
    }
    // Back in range: the blink state stays as it was, no beep.
    UpdateChannel(f->store, f->context, 5, "  99##64");
    EXPECT_EQ(f->store.AlarmBlink[5], 0);
    EXPECT_EQ(f->view.BeepCount(), 4);
}

TEST(UpdateChannel, AlarmOffWhenDisabledOrLevelZero) {
    auto f = MakeFixture();
    f->Show(5, 1);
    f->options[64 + 10] = 10;
    f->options[160 + 5] = 2;
    UpdateChannel(f->store, f->context, 5, "  99##00");  // alarms not enabled
    EXPECT_EQ(f->store.AlarmBlink[5], 0);
    f->options[24] = 0x80;
    f->options[160 + 5] = 0;
    UpdateChannel(f->store, f->context, 5, "  99##00");  // channel alarm disabled
    EXPECT_EQ(f->store.AlarmBlink[5], 0);
    EXPECT_EQ(f->view.BeepCount(), 0);
}

TEST(UpdateChannel, AlarmRunsInUnshownModeAndBlanksText) {
    auto f = MakeFixture();
    f->Show(6, 1);
    UpdateChannel(f->store, f->context, 6, "  55##80");
    f->Show(6, 3);
    f->options[24] = 0x80;
    f->options[64 + 12] = 200;
    f->options[65 + 12] = 255;
    f->options[160 + 6] = 1;
    f->store.AlarmBlink[6] = 1;
    UpdateChannel(f->store, f->context, 6, "  77##10");
    EXPECT_EQ(f->store.AlarmBlink[6], 0);
    // The blink refresh writes the blanked work text even though the mode shows nothing new.
    EXPECT_EQ(f->Shown(6).substr(0, 6), "      ");  // "##" is shown as spaces
    EXPECT_EQ(f->store.m_PosMode[6], 1);
}

TEST(UpdateChannel, IgnoresChannelsOutsideRange) {
    auto f = MakeFixture();
    UpdateChannel(f->store, f->context, -1, "  10##FF");
    UpdateChannel(f->store, f->context, 16, "  10##FF");
    for (int c = 0; c < kChannelCount; ++c)
        EXPECT_EQ(f->store.m_PosMode[static_cast<std::size_t>(c)], 0);
}

TEST(UpdateChannel, WorksWithoutTables) {
    ChannelStore store;
    ChannelContext context;
    UpdateChannel(store, context, 0, "  10##FF");
    EXPECT_EQ(store.m_PosMode[0], 0);
    EXPECT_TRUE(store.m_PosLabel[0].empty());
}

TEST(ResetPositions, ClearsPlacementAndAsksForBackground) {
    auto f = MakeFixture();
    f->Show(3, 4, 5);
    UpdateChannel(f->store, f->context, 3, "  10##FF");
    f->store.m_bRedrawAll = 0;
    ResetPositions(f->store, &f->view);
    EXPECT_EQ(f->store.m_PosMode[3], 0);
    EXPECT_EQ(f->store.m_PosFrame[3], 0);
    EXPECT_EQ(f->store.m_PosX[3], 0);
    EXPECT_EQ(f->store.m_PosY[3], 0);
    EXPECT_EQ(f->store.m_bRedrawAll, 1);
    EXPECT_EQ(f->view.RepaintCount(), 1);
    EXPECT_EQ(f->Shown(3).substr(0, 4), "  10");  // text stays
}

}  // namespace
}  // namespace pelor::decode
