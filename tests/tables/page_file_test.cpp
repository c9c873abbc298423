#include "tables/page_file.h"

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

std::string Format2X(int v) {
    static const char* digits = "0123456789ABCDEF";
    return {digits[(v >> 4) & 15], digits[v & 15]};
}

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

PageTable SamplePages() {
    PageTable pages{};
    for (std::size_t b = 0; b < 528; ++b) pages[b] = static_cast<std::uint8_t>((b * 7) % 256);
    return pages;
}

TEST(WritePageFile, SingleDisplayLayoutAndGeneratedDemoData) {
    ScratchDir dir;
    PageTable pages = SamplePages();
    LabelMode(pages, 1, 2) = 0x39;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P.txt", pages, 9, false));
    EXPECT_TRUE(prompt.shown.empty());
    const auto lines = Lines(dir.Read("P.txt"));
    ASSERT_EQ(lines.size(), 1617u);
    EXPECT_EQ(lines[0], "[TABLE][7000][1][512]");
    EXPECT_EQ(lines[1], "db %00;DISPLAY  00-PAGE 00 ");
    EXPECT_EQ(lines[1 + 18], "db %09;DISPLAY  02-PAGE 01 ") << "0x39 keeps only the low bits";
    EXPECT_EQ(lines[256], "db %" + Format2X(255 * 7 % 256 & 0x0F) + ";DISPLAY  15-PAGE 15 ");
    EXPECT_EQ(lines[257], "db %00;POSITION 00 - PPOS0  ");
    EXPECT_EQ(lines[257 + 16 * 15 + 3],
              "db %" + Format2X((256 + 16 * 15 + 3) * 7 % 256) + ";POSITION 03 - PPOS15 ");
    EXPECT_EQ(lines[513], "db %" + Format2X(512 * 7 % 256) + ";POSITION 00 - NMEA  ");
    EXPECT_EQ(lines[529], "db %00;DEMO DATA 00 - CHAN 0 ");
    EXPECT_EQ(lines[1616], "db %FC;DEMO DATA 16 - CHAN 16 ");

    PageTable back{};
    EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "P.txt", back, false), "P.txt");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 528, pages.begin()));
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P2.txt", back, 9, false));
    EXPECT_EQ(dir.Read("P2.txt"), dir.Read("P.txt"));
}

TEST(WritePageFile, DisplayTypeFourSetsBitFourOnEveryModeByte) {
    ScratchDir dir;
    PageTable pages{};
    LabelMode(pages, 0, 0) = 6;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P.txt", pages, 4, false));
    const auto lines = Lines(dir.Read("P.txt"));
    EXPECT_EQ(lines[1], "db %16;DISPLAY  00-PAGE 00 ");
    EXPECT_EQ(lines[2], "db %10;DISPLAY  01-PAGE 00 ");
    PageTable back{};
    LoadTableFile(prompt, dir.Dir(), "P.txt", back, false);
    EXPECT_EQ(back[0], 0x16);
    EXPECT_EQ(back[0] & 0x0F, 6) << "the display mode is the low four bits";
    EXPECT_EQ(NormalisedModeByte(0x16, 9), 6);
}

TEST(WritePageFile, DualDisplayKeepsEachDisplaysOwnPages) {
    ScratchDir dir;
    PageTable pages{};
    LabelMode(pages, 8, 0) = 5;   // display 1, page 0
    LabelCell(pages, 9, 1) = 17;  // display 1, page 1 (row 9)
    ScriptedPrompt prompt;
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P.txt", pages, 9, true));
    const auto lines = Lines(dir.Read("P.txt"));
    EXPECT_EQ(lines[1], "db %00;DISPLAY 0 00-PAGE 00 ");
    EXPECT_EQ(lines[128], "db %00;DISPLAY 0 15-PAGE 07 ");
    EXPECT_EQ(lines[129], "db %05;DISPLAY 1 00-PAGE 00 ");
    EXPECT_EQ(lines[257], "db %00;POSITION 0 00 - PPOS0  ");
    EXPECT_EQ(lines[257 + 16 * 9 + 1], "db %11;POSITION 1 01 - PPOS1  ");
    EXPECT_EQ(lines[513], "db %00;POSITION 1 00 - NMEA  ");
    PageTable back{};
    LoadTableFile(prompt, dir.Dir(), "P.txt", back, false);
    EXPECT_EQ(LabelMode(back, 8, 0), 5);
    EXPECT_EQ(LabelCell(back, 9, 1), 17);
}

TEST(WritePageFile, DemoDataFileIsCopiedAndAShortOneReported) {
    ScratchDir dir;
    std::string demo = "first line is skipped\r\n";
    for (int k = 0; k < 1088; ++k) demo += "db %2A; mine " + std::to_string(k) + "\r\n";
    dir.Write("DemoData.txt", demo);
    PageTable pages{};
    ScriptedPrompt prompt;
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P.txt", pages, 9, false));
    EXPECT_TRUE(prompt.shown.empty());
    auto lines = Lines(dir.Read("P.txt"));
    ASSERT_EQ(lines.size(), 1617u);
    EXPECT_EQ(lines[529], "db %2A; mine 0");
    EXPECT_EQ(lines[1616], "db %2A; mine 1087");

    dir.Write("DemoData.txt", "skip\r\ndb %01; a\r\ndb %02; b");
    ASSERT_TRUE(WritePageFile(prompt, dir.Dir(), "P.txt", pages, 9, false));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error Reading from Demo Data file"});
    lines = Lines(dir.Read("P.txt"));
    ASSERT_EQ(lines.size(), 531u);
    EXPECT_EQ(lines[530], "db %02; b");
}

TEST(WritePageFile, EmptyNameHasItsOwnCaption) {
    ScriptedPrompt prompt;
    PageTable pages{};
    EXPECT_FALSE(WritePageFile(prompt, "/tmp/", "", pages, 9, false));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Not a valid file name");
    EXPECT_EQ(prompt.shown[0].caption, "Error8");
}

}  // namespace
}  // namespace pelor::tables
