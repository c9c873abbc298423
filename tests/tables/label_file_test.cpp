#include "tables/label_file.h"

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

LabelSettings SampleSettings() {
    LabelSettings s;
    for (std::size_t i = 0; i < s.KanteloLabels.size(); ++i) {
        s.KanteloLabels[i] = "SW" + std::to_string(i);
    }
    s.KanteloLabels[0] = "NAVIGATION LIGHTS";  // cut at 8
    s.switchPowerOn[1] = true;
    s.switchPowerOn[9] = true;
    s.powerOnReset = true;
    s.symbolCodes[3] = 70;
    s.symbolCodes[11] = 127;
    s.time.utcOffset = 22;
    s.time.tachometers[0] = {{1, 2, 3, 4, 5, 6}, 'c'};
    s.time.seconds = 30;
    s.time.minute = 45;
    s.time.hour = 13;
    s.time.day = 7;
    s.time.month = 3;
    s.time.year = 24;
    s.time.dateFlag = 'F';
    s.httpPostAddress = "abcdefghij";
    return s;
}

TEST(WriteLabelFile, EncodesEveryEntryAndReadsBack) {
    ScratchDir dir;
    LabelTable labels{};
    SetLabelEntry(labels, 0, "ENG TEMP");
    SetLabelEntry(labels, 1, "OIL");
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLabelFile(prompt, dir.Dir(), "L.txt", labels, SampleSettings()));
    EXPECT_TRUE(prompt.shown.empty());

    const std::string file = dir.Read("L.txt");
    const struct {
        const char* legend;
        std::string line;
    } lines[] = {
        {"header", "[TABLE][6800][8][128]\r\n"},
        {"short label padded", "db 'OIL     ' ; 1 \r\n"},
        {"entry with NUL bytes written as blanks", "db '        ' ; 2 \r\n"},
        {"long switch label cut at 8", "db 'NAVIGATI' ; 16 \r\n"},
        {"constant", "db 'DISABLED' ; 32 \r\n"},
        {"sentence head", "db '$GPRMC, ' ; 47 \r\n"},
        {"hour table starts at UTC offset 22", "db '22230001' ; 48 \r\n"},
        {"last hour entry", "db '18192021' ; 53 \r\n"},
        {"tachometer 1234 h 56 min, flag c", "db '0123456c' ; 54 \r\n"},
        {"date: seconds minute hour day", "db '30451307' ; 58 \r\n"},
        {"date: month 00 year flag flag", "db '030024FF' ; 59 \r\n"},
        {"power-on flags 0..7", "db '01000000' ; 60 \r\n"},
        {"power-on flags 8..11, reset", "db '01001100' ; 61 \r\n"},
        {"symbol code 70 sets the mode flag of switch 3", "db '00010000' ; 62 \r\n"},
        {"switch 11 code 127; 12..15 from zero codes", "db '00010000' ; 63 \r\n"},
        {"codes of switches 2, 3 modulo 64", "db '00000006' ; 65 \r\n"},
        {"codes of switches 10, 11", "db '00000063' ; 69 \r\n"},
        {"HTTP field", "db 'abcdefgh' ; 80 \r\ndb 'ij:80###' ; 81 \r\ndb '########' ; 82 \r\n"},
        {"last entry", "db '########' ; 87 \r\n"},
    };
    for (const auto& l : lines) EXPECT_NE(file.find(l.line), std::string::npos) << l.legend;
    EXPECT_TRUE(file.ends_with("db '########' ; 87 \r\n")) << "87 is the last line";

    LabelTable back{};
    EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "L.txt", back, false), "L.txt");
    EXPECT_TRUE(prompt.shown.empty());
    const LabelSettings s = DecodeLabelSettings(back);
    EXPECT_EQ(s.time.utcOffset, 22);
    EXPECT_EQ(s.symbolCodes[3], 70);
    EXPECT_EQ(s.symbolCodes[11], 127);
    EXPECT_EQ(s.symbolCodes[12], 0);
    EXPECT_TRUE(s.switchPowerOn[1]);
    EXPECT_TRUE(s.switchPowerOn[9]);
    EXPECT_FALSE(s.switchPowerOn[8]);
    EXPECT_TRUE(s.powerOnReset);
    EXPECT_EQ(s.time.tachometers[0].digits, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s.time.tachometers[0].flag, 'c');
    EXPECT_EQ(s.time.day, 7);
    EXPECT_EQ(s.time.month, 3);
    EXPECT_EQ(s.time.year, 24);
    EXPECT_EQ(s.time.dateFlag, 'F');
    EXPECT_EQ(s.httpPostAddress, "abcdefghij");
    EXPECT_EQ(s.LabelStrings[0], "ENG TEMP");
    EXPECT_EQ(s.KanteloLabels[0], "NAVIGATI");
    EXPECT_EQ(s.KanteloLabels[5], "SW5     ");

    // Written again from what was read: the same bytes.
    ASSERT_TRUE(WriteLabelFile(prompt, dir.Dir(), "L2.txt", back, s));
    EXPECT_EQ(dir.Read("L2.txt"), file);
}

TEST(LabelSettings, DecodesTheTimeDigitsAndTheUtcOffset) {
    LabelTable labels{};
    SetLabelEntry(labels, 48, "05060708");
    SetLabelEntry(labels, 55, "0987654x");
    SetLabelEntry(labels, 59, "12993100");
    const auto s = DecodeLabelSettings(labels);
    EXPECT_EQ(s.time.utcOffset, 5);
    EXPECT_EQ(s.time.tachometers[1].digits, (std::array<std::uint8_t, 6>{9, 8, 7, 6, 5, 4}));
    EXPECT_EQ(s.time.tachometers[1].flag, 'x');
    EXPECT_EQ(s.time.middle, 99);
    EXPECT_EQ(s.time.year, 31);
    // Non-digits decode modulo 256 and are written back in range.
    LabelTable blank{};
    const auto z = DecodeLabelSettings(blank);
    EXPECT_EQ(z.time.utcOffset, static_cast<std::uint8_t>(10 * (0 - '0') + (0 - '0')));
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLabelFile(prompt, dir.Dir(), "L.txt", blank, z));
    LabelTable back{};
    LoadTableFile(prompt, dir.Dir(), "L.txt", back, false);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_LT(DecodeLabelSettings(back).time.utcOffset, 100);
}

TEST(LabelFile, SymbolNamesAndHttpField) {
    EXPECT_EQ(SymbolName(0), "Button");
    EXPECT_EQ(SymbolName(19), "Fan");
    EXPECT_EQ(SymbolName(20), "Sym 20");
    EXPECT_EQ(SymbolName(70), "LowBeam");
    const auto choices = SymbolChoices();
    ASSERT_EQ(choices.size(), 128u);
    EXPECT_EQ(choices[0], "T:Button");
    EXPECT_EQ(choices[63], "T:Sym 63");
    EXPECT_EQ(choices[64], "M:Button");
    EXPECT_EQ(choices[127], "M:Sym 63");

    const auto ten = HttpField("0123456789");
    EXPECT_EQ(std::string(ten.begin(), ten.end()), "0123456789:80" + std::string(51, '#'));
    const auto longest = HttpField(std::string(70, 'a'));
    EXPECT_EQ(std::string(longest.begin(), longest.end()), std::string(61, 'a') + ":80");
    EXPECT_EQ(HttpAddressFromField(std::string(longest.begin(), longest.end())),
              std::string(61, 'a'));
}

TEST(WriteLabelFile, KeepsEntries88To127AsTheReplacedFileHeldThem) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    LabelTable labels{};
    SetLabelEntry(labels, 0, "ENG TEMP");
    ASSERT_TRUE(WriteLabelFile(prompt, dir.Dir(), "L.txt", labels, SampleSettings()));
    // The unit's own entries after 87, as a file from the field holds them: other texts,
    // other comments, one line without the usual blank.
    std::string file = dir.Read("L.txt");
    for (int e = 88; e < 128; ++e) {
        file += "db 'U" + std::to_string(e * 7) + "xyz'" + (e == 100 ? ";" : " ; unit ") +
                std::to_string(e) + "\r\n";
    }
    dir.Write("L.txt", file);

    // Loaded, edited on the page and saved under the same name: only entry 1 changes.
    LabelTable loaded{};
    ASSERT_EQ(LoadTableFile(prompt, dir.Dir(), "L.txt", loaded, false), "L.txt");
    const LabelSettings settings = DecodeLabelSettings(loaded);
    SetLabelEntry(loaded, 1, "OIL");
    ASSERT_TRUE(WriteLabelFile(prompt, dir.Dir(), "L.txt", loaded, settings));
    EXPECT_TRUE(prompt.shown.empty());
    std::string expected = file;
    const std::string entry1 = "db '        ' ; 1 \r\n";
    const auto at = expected.find(entry1);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, entry1.size(), "db 'OIL     ' ; 1 \r\n");
    EXPECT_EQ(dir.Read("L.txt"), expected);
}

TEST(WriteLabelFile, EmptyNameWritesNothing) {
    ScriptedPrompt prompt;
    LabelTable labels{};
    EXPECT_FALSE(WriteLabelFile(prompt, "/tmp/", "", labels, LabelSettings{}));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Not a valid file name");
    EXPECT_EQ(prompt.shown[0].caption, "Error");
}

}  // namespace
}  // namespace pelor::tables
