#include "tables/options_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

std::vector<std::string> Lines(const std::string& file) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at = file.find("\r\n"); at != std::string::npos;
         start = at + 2, at = file.find("\r\n", start)) {
        out.push_back(file.substr(start, at - start));
    }
    EXPECT_EQ(start, file.size()) << "every line ends in CR LF";
    return out;
}

OptionsTable SampleOptions() {
    OptionsTable o{};
    for (std::size_t b = 0; b < o.size(); ++b) o[b] = static_cast<std::uint8_t>((b * 13 + 5) % 256);
    return o;
}

TEST(WriteOptionsFile, WritesEveryTemplateAndReadsBackByteForByte) {
    ScratchDir dir;
    const OptionsTable options = SampleOptions();
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteOptionsFile(prompt, dir.Dir(), "O.txt", options));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "File Saved");
    EXPECT_EQ(prompt.shown[0].caption, "Status");

    const auto lines = Lines(dir.Read("O.txt"));
    ASSERT_EQ(lines.size(), 1537u) << "1536 entries under a header that names 512";
    EXPECT_EQ(lines[0], "[TABLE][7800][1][512]");
    const struct {
        std::size_t byte;
        std::string comment;
    } cases[] = {
        {0, "; NumOfPages                             00 "},
        {31, "; Pulse1 Dial Scale facor                31 "},
        {32, "; Channels                           00  32 "},
        {64, "; Alarm Values                       00  64 "},
        {128, "; Invert Flag                        00  128 "},
        {175, "; Alarm Mode                         15  175 "},
        {191, "; Alarm Map                          15  191 "},
        {192, ";OPTIONS USB AUTODET                     192 "},
        {223, ";OPTIONS                                 223 "},
        {255, ";OPTIONS                                 255 "},
        {256, ";N2K PGN INDEX                       00  256 "},
        {257, ";N2K PARAMS  INDEX                   00  257 "},
        {289, ";N2K CAPACITY LB                     00  289 "},
        {335, ";N2K PGN ENABLE  IN/OUT              15  335 "},
        {336, ";N2K PGN 127488 Engine Param, Rapid  00  336 "},
        {367, ";N2K PGN Init N2K Adapter if 0xFF    31  367 "},
        {368, ";HTTP POST ADDRESS                   00  368 "},
        {511, ";Unassigned Option                   79  511 "},
        {1023, ";Fuel Flow Calibration 0             511  1023 "},
        {1535, ";Fuel Flow Calibration 1             511  1535 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lines[c.byte + 1], ByteEntryLine(options[c.byte], c.comment)) << c.byte;
    }
    for (std::size_t b = 0; b < 1536; ++b) {
        ASSERT_LT(lines[b + 1].size() + 2, core::kTableLineBuffer) << "line " << b;
    }

    OptionsTable back{};
    EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "O.txt", back, false), "O.txt");
    EXPECT_EQ(back, options);
    ASSERT_TRUE(WriteOptionsFile(prompt, dir.Dir(), "O2.txt", back));
    EXPECT_EQ(dir.Read("O2.txt"), dir.Read("O.txt"));
}

TEST(UpdateOptionsSection, RewritesOnlyTheSection) {
    ScratchDir dir;
    OptionsTable options = SampleOptions();
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteOptionsFile(prompt, dir.Dir(), "O.txt", options));
    const std::string before = dir.Read("O.txt");
    OptionsTable edited = options;
    for (std::size_t b = 256; b < 336; ++b) edited[b] = 0x42;
    edited[340] = 0x99;  // PGN slots are not part of the NMEA 2000 section
    ASSERT_TRUE(UpdateOptionsSection(prompt, dir.Dir(), "O.txt", edited, 256, 80));
    EXPECT_EQ(prompt.shown.back().text, "File Saved");
    OptionsTable back{};
    LoadTableFile(prompt, dir.Dir(), "O.txt", back, false);
    OptionsTable want = options;
    for (std::size_t b = 256; b < 336; ++b) want[b] = 0x42;
    EXPECT_EQ(back, want);
    EXPECT_EQ(dir.Read("O.txt").size(), before.size());

    // A hand-edited file (one line shorter) is refused and left alone.
    std::string damaged = before;
    damaged.erase(damaged.find("; NumOfPages") + 2, 1);
    dir.Write("O.txt", damaged);
    EXPECT_FALSE(UpdateOptionsSection(prompt, dir.Dir(), "O.txt", edited, 32, 32));
    EXPECT_EQ(dir.Read("O.txt"), damaged);
    EXPECT_EQ(prompt.shown.back().caption, "Error");

    ScriptedPrompt missing;
    EXPECT_FALSE(UpdateOptionsSection(missing, dir.Dir(), "none.txt", edited, 32, 32));
    EXPECT_EQ(missing.MessageTexts(), std::vector<std::string>{"Could not Open File"});
}

TEST(OptionsRules, BaudSerialInputAndTimers) {
    const std::uint8_t codes[] = {240, 120, 60, 30, 20, 10};
    for (int choice = 0; choice < 6; ++choice) {
        EXPECT_EQ(BaudCodeFromChoice(choice), codes[choice]);
        EXPECT_EQ(BaudChoiceFromCode(codes[choice]), choice);
    }
    EXPECT_EQ(BaudChoiceFromCode(90), 0) << "unknown code selects 4800";
    EXPECT_EQ(BaudCodeFromChoice(BaudChoiceFromCode(90)), 240);

    EXPECT_EQ(SerialInputByte(false, false), 1);
    EXPECT_EQ(SerialInputByte(true, false), 1);
    EXPECT_EQ(SerialInputByte(false, true), 2);
    EXPECT_EQ(SerialInputByte(true, true), 3);

    struct TimerCase {
        const char* legend;
        int p0, p1, rpm2;
        std::uint8_t hb, lb, base;
    };
    const TimerCase timers[] = {
        {"Enabled 4X does not force timer 2", 3, 0, 0, 0, 77, 0x00},
        {"TimeBase 0.455 on byte 202", 0, 0, 4, 255, 255, 0x02},
        {"PulseBase 0.455 on byte 202", 0, 0, 7, 255, 255, 0x04},
        {"choice 4 on byte 10", 4, 0, 0, 255, 255, 0x00},
        {"TimeBase 0.33", 0, 0, 5, 187, 128, 0x02},
        {"choice 5 on byte 14", 0, 5, 0, 187, 128, 0x00},
        {"PulseBase 0.33", 0, 0, 8, 187, 128, 0x04},
        {"TimeBase 0.25", 0, 0, 6, 140, 160, 0x02},
        {"PulseBase 0.25", 0, 0, 9, 140, 160, 0x04},
        {"4 wins over 5", 5, 4, 0, 255, 255, 0x00},
    };
    for (const auto& t : timers) {
        const auto [hb, lb] = Timer2Bytes(t.p0, t.p1, t.rpm2, 77);
        EXPECT_EQ(hb, t.hb) << t.legend;
        EXPECT_EQ(lb, t.lb) << t.legend;
        EXPECT_EQ(BaseTimerByte(false, t.rpm2), t.base) << t.legend;
    }
    EXPECT_EQ(BaseTimerByte(true, 0), 0x08);
}

TEST(OptionsValues, TakenFromTheTable) {
    OptionsTable o{};
    o[0] = 4;
    o[5] = 0xB7;
    o[6] = 9;
    o[21] = 0x80;
    o[23] = 0x21;
    o[30] = 11;
    o[31] = 12;
    o[197] = 0x13;
    o[199] = 1;
    o[204] = 14;
    o[367] = 0xFF;
    o[32] = 0x85;
    o[191] = 7;
    const auto v = DeriveOptionsValues(o);
    EXPECT_EQ(v.pageCount, 4);
    EXPECT_EQ(v.displayType, 9);
    EXPECT_EQ(v.kanteloMode, 0x30);
    EXPECT_EQ(v.kanteloCountLow, 1);
    EXPECT_EQ(v.kanteloCountHigh, 2);
    EXPECT_EQ(v.serialCommandMode, 0x80);
    EXPECT_EQ(v.ioChoice, 0x13);
    EXPECT_TRUE(v.dualDisplay);
    EXPECT_EQ(v.dialScale0, 11);
    EXPECT_EQ(v.dialScale1, 12);
    EXPECT_EQ(v.dialScale2, 14);
    EXPECT_EQ(v.adapterInit, 0xFF);
    EXPECT_EQ(v.channels[0], 0x85);
    EXPECT_EQ(v.alarms[127], 7);
    o[199] = 2;
    EXPECT_FALSE(DeriveOptionsValues(o).dualDisplay);
}

TEST(OptionsHttp, FieldInBytes368To431) {
    OptionsTable o{};
    SetHttpPostAddress(o, "10.0.0.5/post");
    const std::string field(o.begin() + 368, o.begin() + 432);
    EXPECT_EQ(field, "10.0.0.5/post:80" + std::string(48, '#'));
    EXPECT_EQ(o[432], 0);
}

}  // namespace
}  // namespace pelor::tables
