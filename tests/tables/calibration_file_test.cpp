#include "tables/calibration_file.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

TEST(WriteCalibrationFile, FieldWidthsAndRoundTrip) {
    ScratchDir dir;
    CalibrationRows rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r] = {std::to_string(r), "A", "raw " + std::to_string(r)};
    }
    rows[1] = {"1234567", "12", "cut to six"};
    rows[2] = {"12.5", "7", "short value"};
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal.txt", "8000", rows));
    EXPECT_TRUE(prompt.shown.empty());
    const std::string file = dir.Read("cal.txt");
    EXPECT_EQ(file.substr(0, 44), "[TABLE][8000][8][256]\r\ndb '     0 A' raw 0\r\n");
    EXPECT_NE(file.find("db '12345612' cut to six\r\n"), std::string::npos);
    EXPECT_NE(file.find("db '  12.5 7' short value\r\n"), std::string::npos);
    EXPECT_TRUE(file.ends_with("db '   255 A' raw 255\r\n"));

    CalibrationTables tables{};
    EXPECT_EQ(LoadTableFile(prompt, dir.Dir(), "cal.txt", tables[3], false), "cal.txt");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(CalibrationText(tables, 3, 2), "  12.5");
    EXPECT_EQ(CalibrationText(tables, 3, 255), "   255");
    EXPECT_EQ(CalibrationText(tables, 12, 0), "");
    EXPECT_EQ(CalibrationText(tables, 0, 256), "");

    auto back = RowsFromTable(tables[3], "");
    for (std::size_t r = 0; r < rows.size(); ++r) back[r].comment = rows[r].comment;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal2.txt", "8000", back));
    EXPECT_EQ(dir.Read("cal2.txt"), file);
}

TEST(WriteCalibrationFile, OpenFailureNamesTheFile) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    CalibrationRows rows;
    EXPECT_FALSE(WriteCalibrationFile(prompt, dir.Path("none/"), "cal.txt", "8000", rows));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Could not Open cal.txt"});
}

TEST(ReadCalibrationFile, RowsForTheEditor) {
    ScratchDir dir;
    CalibrationRows rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r] = {std::to_string(r), "B", "c " + std::to_string(r)};
    }
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal.txt", "9A00", rows));
    auto read = ReadCalibrationFile(prompt, dir.Dir(), "cal.txt");
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(read.address, "9A00");
    EXPECT_EQ(read.rowsShown, 256);
    EXPECT_EQ(read.rows[40].value, "    40");
    EXPECT_EQ(read.rows[40].index, " B");
    EXPECT_EQ(read.rows[40].comment, "c 40") << "the comment reads back unchanged";

    const struct {
        const char* legend;
        std::string file;
        bool ok;
        int rowsShown;
        std::vector<std::string> messages;
    } cases[] = {
        {"early end: the last line fills the rest",
         "[TABLE][8000][8][256]\r\ndb '  12.5 7' x\r\n",
         true,
         256,
         {}},
        {"header only",
         "[TABLE][8000][8][256]\r\n",
         false,
         1,
         {"Error Format must be db '########' c.txt"}},
        {"byte entry",
         "[TABLE][8000][8][256]\r\ndb '     0 A'\r\ndb %01\r\n",
         false,
         2,
         {"Error Format must be db '########' c.txt"}},
        {"no header", "TABLE\r\n", false, 0, {"Wrong File Format - [TABLE] c.txt"}},
        {"empty", "", false, 0, {"Error Reading from file"}},
    };
    for (const auto& c : cases) {
        dir.Write("c.txt", c.file);
        ScriptedPrompt p;
        auto r = ReadCalibrationFile(p, dir.Dir(), "c.txt");
        EXPECT_EQ(r.ok, c.ok) << c.legend;
        EXPECT_EQ(r.rowsShown, c.rowsShown) << c.legend;
        EXPECT_EQ(p.MessageTexts(), c.messages) << c.legend;
    }
    dir.Write("c.txt", cases[0].file);
    auto early = ReadCalibrationFile(prompt, dir.Dir(), "c.txt");
    EXPECT_EQ(early.rows[255].value, "  12.5");
    EXPECT_EQ(early.rows[255].comment, "x");
    ScriptedPrompt missing;
    EXPECT_FALSE(ReadCalibrationFile(missing, dir.Dir(), "none.txt").ok);
    EXPECT_EQ(missing.MessageTexts(), std::vector<std::string>{"Could not Open none.txt"});
}

// A row goes to the unit only when its value is a number (or the no-reading dashes) and its
// index a level in upper-case hexadecimal; every row of the shipped tables passes.
TEST(CheckCalibrationRow, NumbersAndHexLevelsOnly) {
    const struct {
        const char* legend;
        CalibrationRow row;
        bool ok;
    } cases[] = {
        {"right-aligned decimal", {"  85.3", "A5", ""}, true},
        {"left-aligned, short", {"7", "0", ""}, true},
        {"one digit with the writer's blank", {"   100", " F", ""}, true},
        {"negative", {"-12", "00", ""}, true},
        {"signed, point first", {"+.5", "01", ""}, true},
        {"no-reading mark", {"  ----", "FF", ""}, true},
        {"letters", {"   abc", "00", ""}, false},
        {"two points", {"1.2.3", "00", ""}, false},
        {"blank inside", {"1 2", "00", ""}, false},
        {"sign only", {"  -.", "00", ""}, false},
        {"empty entry", {"      ", "  ", ""}, true},
        {"value cleared", {"", "", ""}, true},
        {"longer than six", {"1234567", "00", ""}, false},
        {"index not hex", {"1", "ZZ", ""}, false},
        {"index lower case (read as 0 by the unit)", {"1", "fe", ""}, false},
        {"index blank after the digit", {"1", "5 ", ""}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckCalibrationRow(12, c.row).empty(), c.ok) << c.legend;
    }
    EXPECT_EQ(CheckCalibrationRow(12, {"x", "00", ""}),
              "Row 012: the Value must be a number of at most 6 characters, for example 85.3 or "
              "-12 (or ---- for no reading), not 'x'");
    EXPECT_EQ(CheckCalibrationRow(255, {"1", "G", ""}),
              "Row 255: the Index must be one or two hexadecimal digits 0-9 A-F, for example 5A, "
              "not 'G'");

    int tablesRead = 0;
    for (const char* example : {"demo", "demo-n2k"}) {
        const std::string folder = std::string(PELOR_SOURCE_DIR) + "/examples/" + example + "/";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find("Cal") == std::string::npos) continue;
            ScriptedPrompt prompt;
            const auto read = ReadCalibrationFile(prompt, folder, name);
            ASSERT_TRUE(read.ok) << name;
            ++tablesRead;
            for (std::size_t r = 0; r < read.rows.size(); ++r)
                EXPECT_EQ(CheckCalibrationRow(static_cast<int>(r), read.rows[r]), "") << name;
        }
    }
    EXPECT_GE(tablesRead, 24);
}

}  // namespace
}  // namespace pelor::tables
