#include "tables/table_file.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

struct LoadCase {
    const char* legend;
    std::string file;
    std::vector<std::uint8_t> want;  // first bytes of an 8-byte destination
    std::vector<std::string> messages;
};

TEST(LoadTableFile, ReadsEntriesAndReportsEachFault) {
    const std::string longLine = "db '" + std::string(96, 'X');  // 100 characters
    const std::vector<LoadCase> cases = {
        {"header found anywhere in the line",
         "xx [TABLE][7800][1][512] yy\r\ndb %1F; a \r\n",
         {0x1F, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"lower-case digits: only upper case counts",
         "[TABLE]\r\ndb %1f; a \r\n",
         {0x10, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"an invalid digit counts as 0",
         "[TABLE]\r\ndb %G0; a \r\ndb %0G; b \r\n",
         {0x00, 0x00, 0, 0, 0, 0, 0, 0},
         {}},
        {"bare line feeds read the same",
         "[TABLE]\ndb %12; a \ndb %34; b \n",
         {0x12, 0x34, 0, 0, 0, 0, 0, 0},
         {}},
        {"header only: nothing stored, no message",
         "[TABLE][7000][1][512]\r\n",
         {0, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"header without [TABLE]: nothing stored",
         "[TABEL]\r\ndb %12; a \r\n",
         {0, 0, 0, 0, 0, 0, 0, 0},
         {"Wrong File Format - [TABLE] t.txt"}},
        {"empty file", "", {0, 0, 0, 0, 0, 0, 0, 0}, {"Error Reading from file"}},
        {"text entry at 8 i",
         "[TABLE]\r\ndb 'ABCDEFGH' ; 0 \r\n",
         {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'},
         {}},
        {"short text entry padded with blanks",
         "[TABLE]\r\ndb 'AB\r\n",
         {'A', 'B', ' ', ' ', ' ', ' ', ' ', ' '},
         {}},
        {"bad line stops with entries before it kept",
         "[TABLE]\r\ndb %01; a \r\ndb %02; b \r\nDB %03\r\ndb %04\r\n",
         {1, 2, 0, 0, 0, 0, 0, 0},
         {"Error Format must be db '########' t.txt  Line 2 \n\r DB %03\n"}},
        {"100-character line: 79 characters form an entry, the rest fails",
         "[TABLE]\r\n" + longLine + "\r\n",
         {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'},
         {"Error Format must be db '########' t.txt  Line 1 \n\r " + std::string(21, 'X') + "\n"}},
        {"mixed kinds: a text entry past the end is ignored, byte entry 2 lands at 2",
         "[TABLE]\r\ndb 'AAAAAAAA'\r\ndb 'BBBBBBBB'\r\ndb %01\r\n",
         {'A', 'A', 0x01, 'A', 'A', 'A', 'A', 'A'},
         {}},
        {"byte entries past the end are ignored",
         "[TABLE]\r\ndb %01\r\ndb %02\r\ndb %03\r\ndb %04\r\ndb %05\r\ndb %06\r\ndb %07\r\ndb "
         "%08\r\ndb %09\r\ndb %0A\r\n",
         {1, 2, 3, 4, 5, 6, 7, 8},
         {}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("t.txt", c.file);
        ScriptedPrompt prompt;
        std::array<std::uint8_t, 8> dest{};
        EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "t.txt", dest, false), "t.txt") << c.legend;
        EXPECT_EQ(std::vector<std::uint8_t>(dest.begin(), dest.end()), c.want) << c.legend;
        EXPECT_EQ(prompt.MessageTexts(), c.messages) << c.legend;
        for (const auto& s : prompt.shown) EXPECT_EQ(s.caption, "Error") << c.legend;
    }
}

TEST(LoadTableFile, MissingFileOffersTheDialogThenReportsTheName) {
    ScratchDir dir;
    dir.Write("other.txt", "[TABLE]\r\ndb %2A\r\n");
    {
        ScriptedPrompt prompt;  // cancel
        std::array<std::uint8_t, 4> dest{};
        EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "gone.txt", dest, false), "gone.txt");
        ASSERT_EQ(prompt.shown.size(), 1u);
        const auto& d = prompt.shown[0].dialog;
        EXPECT_TRUE(prompt.shown[0].isFileDialog);
        EXPECT_TRUE(d.open);
        EXPECT_EQ(d.defaultExtension, "txt");
        EXPECT_EQ(d.initialName, "gone.txt");
        EXPECT_EQ(d.filter,
                  "Text Files (*.txt)|*.txt|CSV Files (*.csv)|*.csv|HTM Web Log Files "
                  "(*.htm)|*.htm|N2K Log Files (*.ebl)|*.ebl||");
        EXPECT_TRUE(d.pathMustExist);
    }
    {
        ScriptedPrompt prompt;
        prompt.files.push_back("/somewhere/else/other.txt");  // bare name taken
        std::array<std::uint8_t, 4> dest{};
        EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "gone.txt", dest, false), "other.txt");
        EXPECT_EQ(dest[0], 0x2A);
        EXPECT_TRUE(prompt.MessageTexts().empty());
    }
    {
        ScriptedPrompt prompt;
        prompt.files.push_back("/x/still-gone.txt");
        std::array<std::uint8_t, 4> dest{};
        EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "gone.txt", dest, false), "still-gone.txt");
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"still-gone.txt"});
    }
    {
        ScriptedPrompt prompt;  // asked first, cancelled: the name comes back unread
        std::array<std::uint8_t, 4> dest{};
        EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "other.txt", dest, true), "other.txt");
        EXPECT_EQ(dest[0], 0);
        EXPECT_EQ(prompt.FileDialogCount(), 1u);
    }
}

struct EntriesCase {
    const char* legend;
    std::string file;
    int skip;
    int count;
    std::vector<std::uint8_t> want;
    bool ok;
    std::vector<std::string> messages;
};

TEST(ReadByteEntries, ReadsBothCasesAndRepeatsTheLastLine) {
    const std::vector<EntriesCase> cases = {
        {"lower-case digits accepted",
         "[TABLE]\r\ndb %1f\r\ndb %Ab\r\n",
         0,
         2,
         {0x1F, 0xAB},
         true,
         {}},
        {"G0 gives 0", "[TABLE]\r\ndb %G0\r\n", 0, 1, {0x00}, true, {}},
        {"skip lines first", "[TABLE]\r\ndb %01\r\ndb %02\r\ndb %03\r\n", 2, 1, {0x03}, true, {}},
        {"early end repeats the last line",
         "[TABLE]\r\ndb %01\r\ndb %7E\r\n",
         0,
         4,
         {0x01, 0x7E, 0x7E, 0x7E},
         true,
         {}},
        {"header only: the header stands for the entries",
         "[TABLE]\r\n",
         0,
         1,
         {0x00},
         false,
         {"Error Format must be db ' PATH"}},
        {"text entry refused",
         "[TABLE]\r\ndb 'ABCDEFGH'\r\n",
         0,
         1,
         {0x00},
         false,
         {"Error Format must be db ' PATH"}},
        {"no header mark",
         "TABLE\r\ndb %01\r\n",
         0,
         1,
         {0x00},
         false,
         {"Wrong File Format - [TABLE] PATH"}},
        {"empty file", "", 0, 1, {0x00}, false, {"Error Reading from file"}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("o.txt", c.file);
        ScriptedPrompt prompt;
        std::vector<std::uint8_t> dest(c.want.size());
        EXPECT_EQ(ReadByteEntries(prompt, dir.Path("o.txt"), c.skip, c.count, dest), c.ok)
            << c.legend;
        if (c.ok) {
            EXPECT_EQ(dest, c.want) << c.legend;
        }
        auto texts = prompt.MessageTexts();
        for (auto& t : texts) {
            const auto at = t.find(dir.Path("o.txt"));
            if (at != std::string::npos) t.replace(at, dir.Path("o.txt").size(), "PATH");
        }
        EXPECT_EQ(texts, c.messages) << c.legend;
    }
    ScriptedPrompt prompt;
    std::array<std::uint8_t, 1> dest{};
    EXPECT_FALSE(ReadByteEntries(prompt, "/nonexistent/o.txt", 0, 1, dest));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Could not Open /nonexistent/o.txt"});
}

// A small layout: the header and lines of 13 characters + "\n".
std::size_t SmallLayout(int entry) {
    return entry < 0 ? 8 : 14;
}

TEST(UpdateByteSection, OverlaysTheSectionAndLeavesTheRest) {
    ScratchDir dir;
    const std::string before = "[TABLE]\r\ndb %01; one  \r\ndb %02; two  \r\ndb %03; three\r\n";
    dir.Write("o.txt", before);
    ScriptedPrompt prompt;
    const std::vector<std::string> lines = {"db %AA; two  \n"};
    EXPECT_TRUE(UpdateByteSection(prompt, dir.Dir(), "o.txt", 1, lines, SmallLayout));
    EXPECT_EQ(dir.Read("o.txt"), "[TABLE]\r\ndb %01; one  \r\ndb %AA; two  \r\ndb %03; three\r\n");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "File Saved");
    EXPECT_EQ(prompt.shown[0].caption, "Status");
}

TEST(UpdateByteSection, RefusesAFileNotInTheSavedLayout) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"a shorter line before the section", "[TABLE]\r\ndb %01; one\r\ndb %02; two  \r\n"},
        {"bare line feeds", "[TABLE]\ndb %01; one  \ndb %02; two  \n"},
        {"the section is missing", "[TABLE]\r\ndb %01; one  \r\n"},
        {"a longer line in the section", "[TABLE]\r\ndb %01; one  \r\ndb %02; two    \r\n"},
    };
    for (const auto& [legend, file] : cases) {
        ScratchDir dir;
        dir.Write("o.txt", file);
        ScriptedPrompt prompt;
        const std::vector<std::string> lines = {"db %AA; two  \n"};
        EXPECT_FALSE(UpdateByteSection(prompt, dir.Dir(), "o.txt", 1, lines, SmallLayout))
            << legend;
        EXPECT_EQ(dir.Read("o.txt"), file) << legend;
        ASSERT_EQ(prompt.shown.size(), 1u) << legend;
        EXPECT_EQ(prompt.shown[0].text,
                  "Cannot update o.txt in place: its lines are not in the saved layout. Save the "
                  "whole options file first.")
            << legend;
    }
    ScratchDir dir;
    ScriptedPrompt prompt;
    const std::vector<std::string> lines = {"db %AA; two  \n"};
    EXPECT_FALSE(UpdateByteSection(prompt, dir.Dir(), "", 1, lines, SmallLayout));
    EXPECT_FALSE(UpdateByteSection(prompt, dir.Dir(), "missing.txt", 1, lines, SmallLayout));
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Not a valid file name", "Could not Open File"}));
}

TEST(TableWriter, ReportsEmptyNamesAndUnopenableFilesAndKeepsTheOldFileOnAbandon) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    {
        TableWriter writer(prompt);
        EXPECT_FALSE(writer.Begin(dir.Dir(), "", "[TABLE]\n"));
        EXPECT_FALSE(writer.Begin(dir.Dir() + "no/such/dir/", "t.txt", "[TABLE]\n"));
    }
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Not a valid file name", "Could not Open File"}));

    dir.Write("t.txt", "old");
    {
        TableWriter writer(prompt);
        ASSERT_TRUE(writer.Begin(dir.Dir(), "t.txt", "[TABLE]\n"));
        writer.Line("db %01;\n");
        writer.Abandon();
    }
    EXPECT_EQ(dir.Read("t.txt"), "old");
    {
        TableWriter writer(prompt);
        ASSERT_TRUE(writer.Begin(dir.Dir(), "t.txt", "[TABLE]\n"));
        writer.Line("db %01;\n");
        EXPECT_TRUE(writer.Finish(true));
    }
    EXPECT_EQ(dir.Read("t.txt"), "[TABLE]\r\ndb %01;\r\n");
    EXPECT_EQ(prompt.MessageTexts().back(), "File Saved");
}

}  // namespace
}  // namespace pelor::tables
